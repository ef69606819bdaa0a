// Thin functions over the controls of the module's dialogs: addressing a
// control by identifier or command, values, visibility, focus, properties,
// handlers, text by control kind, pop-up menus, tab pages, walking the
// controls of a window and localising all of its titles.
//
// A window and a control are the same handle here (see ui_types.h), so the
// "window" and "control" variants of a function are one function. Where a
// function takes a window and a number, the control is the first one below
// the window, in walking order (depth first, creation order), whose
// identifier or command code equals the number.
//
// Values of list-like controls follow the module's 1-based convention: a
// pop-up button's, combo box's, list box's or tab control's value is the
// 1-based number of its current item, 0 for none (the window manager itself
// counts from 0). Everything else passes its value through, cut to 16 bits.
//
// Properties carry the module's creator: value properties are named "HAVV"
// and text properties "HAVS", each followed by the four characters of the
// tag, so they are the same properties the dialog builder stores.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string>

#include "ui/ui_types.h"

namespace lumbrel {

// A point in screen coordinates, vertical first.
struct Point {
    std::int16_t v = 0;
    std::int16_t h = 0;
};

// A rectangle as top, left, bottom, right.
struct Rect {
    std::int16_t top = 0;
    std::int16_t left = 0;
    std::int16_t bottom = 0;
    std::int16_t right = 0;
};

// A menu is a window holding items: a pop-up button's or combo box's menu is
// the control itself; createMenu() makes a free-standing one (a hidden list
// window whose selected items are the checked ones).
using OpaqueMenuRef = platform::NativeWindow;
using MenuRef = OpaqueMenuRef*;

// A control's handler: control, its window, the user value given with it.
using ControlProc = bool (*)(ControlRef control, WindowPtr window, std::intptr_t user);
// Walk callback: control, its kind, the caller's value; false stops.
using EnumControlsProc = bool (*)(ControlRef control, std::uint32_t kind, std::intptr_t value);
// Key filter of an edit field: answers 0 to swallow the key, anything else to
// let it through (possibly changed).
using KeyFilterProc = std::int16_t (*)(ControlRef control, std::int16_t* keyCode, std::int16_t* charCode,
                                       std::uint16_t* modifiers);

// Property tags of the dialog toolkit.
inline constexpr std::uint32_t kTagCommand = fourCC("ccmd");
inline constexpr std::uint32_t kTagControlProc = fourCC("cprc");
inline constexpr std::uint32_t kTagUser = fourCC("user");
inline constexpr std::uint32_t kTagTimerProc = fourCC("timp");
inline constexpr std::uint32_t kTagClose = fourCC("clos");
inline constexpr std::uint32_t kTagEmpty = fourCC("empt");
inline constexpr std::uint32_t kTagType = fourCC("type");
inline constexpr std::uint32_t kTagKeyFilter = fourCC("kflt");

// "HAVV"/"HAVS" and the tag's four characters.
std::string valuePropertyName(std::uint32_t tag);
std::string textPropertyName(std::uint32_t tag);

// ---- Identifiers, commands, kinds, tree ---------------------------------------
int getControlID(ControlRef control) noexcept;
std::uint32_t getControlCommandID(ControlRef control) noexcept;
void setControlCommandID(ControlRef control, std::uint32_t command) noexcept;
// The first control below `window` (not the window itself) whose identifier
// or command equals `idOrCommand`; null when none.
ControlRef getControl(WindowPtr window, unsigned long idOrCommand) noexcept;
// The kind: a user pane reports the kind kept in its `type` property when it
// has one; a handle that is no live window reports 0.
std::uint32_t getControlKind(ControlRef control);
// The pane that holds all controls of a dialog (its first child).
ControlRef getRootControl(WindowPtr window) noexcept;
// The dialog window a control belongs to.
WindowPtr getControlOwner(ControlRef control) noexcept;
// The sub-control at a 1-based position; null when there is none.
ControlRef getSubControl(ControlRef control, long position) noexcept;
std::int32_t countSubControls(ControlRef control) noexcept;

// ---- Values ---------------------------------------------------------------------
std::int16_t getControlValue(ControlRef control) noexcept;
// Takes an int so that an unqualified call with an int is ambiguous with the
// window manager's 0-based setControlValue (found by argument-dependent
// lookup) instead of silently reaching it: call these as lumbrel::….
void setControlValue(ControlRef control, int value) noexcept;
std::int16_t getControlMaximum(ControlRef control) noexcept;
// A progress bar's range becomes 0 to `maximum`.
void setControlMaximum(ControlRef control, long maximum) noexcept;
std::int16_t getControlValue(WindowPtr window, unsigned long idOrCommand) noexcept;
void setControlValue(WindowPtr window, unsigned long idOrCommand, long value) noexcept;

// ---- Geometry and fonts -----------------------------------------------------------
// The control's rectangle in its parent's client coordinates.
Rect getControlBounds(ControlRef control) noexcept;
// The dialog font, bold when asked.
void setSmallSystemFont(ControlRef control, bool bold) noexcept;
// A font of that face and size (pixels), normal weight.
void setControlFont(ControlRef control, const char* face, std::int16_t size) noexcept;

// ---- Visibility, enabling, focus -------------------------------------------------
void showControl(ControlRef control, bool show) noexcept;
void showControl(WindowPtr window, unsigned long idOrCommand, bool show) noexcept;
void enableControl(ControlRef control, bool enable) noexcept;
void enableControl(WindowPtr window, unsigned long idOrCommand, bool enable) noexcept;
// True when the user could press the control: it is visible, and neither it
// nor a control it lies in is disabled.
bool canBePressed(ControlRef control) noexcept;
void setFocus(ControlRef control) noexcept;
void clearFocus(WindowPtr window) noexcept;  // only when the focus lies in that window

// ---- Properties ----------------------------------------------------------------------
void setControlProperty(ControlRef control, std::uint32_t tag, std::intptr_t value) noexcept;
std::intptr_t getControlProperty(ControlRef control, std::uint32_t tag) noexcept;  // 0 when absent
// Text properties: the text is copied. Reading copies at most outSize - 1
// bytes; false (out untouched) when there is no such property.
void setControlProperty(ControlRef control, std::uint32_t tag, const char* text) noexcept;
bool getControlProperty(ControlRef control, std::uint32_t tag, char* out, std::size_t outSize) noexcept;
void removeControlProperty(ControlRef control, std::uint32_t tag) noexcept;
inline void setWindowProperty(WindowPtr window, std::uint32_t tag, std::intptr_t value) noexcept {
    setControlProperty(window, tag, value);
}
inline std::intptr_t getWindowProperty(WindowPtr window, std::uint32_t tag) noexcept {
    return getControlProperty(window, tag);
}
inline void setWindowProperty(WindowPtr window, std::uint32_t tag, const char* text) noexcept {
    setControlProperty(window, tag, text);
}
inline bool getWindowProperty(WindowPtr window, std::uint32_t tag, char* out, std::size_t outSize) noexcept {
    return getControlProperty(window, tag, out, outSize);
}

// ---- Handler and user value ----------------------------------------------------------
void setControlProc(ControlRef control, ControlProc proc) noexcept;
ControlProc getControlProc(ControlRef control) noexcept;
void setControlUserData(ControlRef control, std::intptr_t user) noexcept;
std::intptr_t getControlUserData(ControlRef control) noexcept;

// ---- Text by kind ----------------------------------------------------------------------
// Static and edit texts: the text; combo box: its first sub-control's text,
// or its own text when it has none; pop-up button: writing selects the item
// with that text (the first item when the text is empty or no item has it),
// reading gives the selected item's text; every other kind: the title.
// Writing redraws the control. Texts are UTF-8.
void setControlText(ControlRef control, const char* text) noexcept;
// A length-prefixed Mac OS Roman text.
void setControlText(ControlRef control, const unsigned char* pascalText) noexcept;
void setControlText(ControlRef control, long number) noexcept;
// Formats into 4096 bytes (a longer result is cut at a character boundary).
void setControlTextWithFormat(ControlRef control, const char* format, ...) noexcept
    __attribute__((format(printf, 2, 3)));
void setControlTextWithFormatV(ControlRef control, const char* format, va_list args) noexcept
    __attribute__((format(printf, 2, 0)));
// At most size - 1 bytes (cut before a character it would split); answers the
// bytes written. Nothing is written when size is below 1.
long getControlText(ControlRef control, char* out, long size) noexcept;
// The whole text, for callers that need no fixed buffer.
std::string getControlText(ControlRef control);
void setControlText(WindowPtr window, unsigned long idOrCommand, const char* text) noexcept;
long getControlText(WindowPtr window, unsigned long idOrCommand, char* out, long size) noexcept;

// ---- Edit fields -------------------------------------------------------------------
// Selection in bytes; end -1 means the end of the text.
void setEditSelection(ControlRef control, std::int16_t start, std::int16_t end) noexcept;
// Installs a filter that sees every key and typed character that reaches the
// edit field; null removes it.
void setKeyFilter(ControlRef control, KeyFilterProc filter) noexcept;

// ---- Menus ------------------------------------------------------------------------------
MenuRef getMenu(ControlRef control) noexcept;  // the control's menu; null for kinds without one
MenuRef createMenu() noexcept;                 // a new empty free-standing menu
void disposeMenu(MenuRef menu) noexcept;
std::int16_t getMenuItemCnt(MenuRef menu) noexcept;
// Item `item` (1-based) within outSize bytes; false (out empty) when absent.
bool getMenuItemText(MenuRef menu, std::int16_t item, char* out, std::size_t outSize) noexcept;
// Selects the first item whose text is `text`; when there is none, the item
// at `fallbackPosition` (1-based; nothing when that is no item either).
void setMenuItemText(ControlRef popup, const char* text, std::int16_t fallbackPosition) noexcept;
// The number of the first item whose text equals `text`; 0 when none.
std::int16_t getMenuItemPos(MenuRef menu, const char* text) noexcept;
// Appends an item with the localised text of the key (or the text itself);
// the command is kept with items of free-standing menus. Answers the new
// number of items.
std::int16_t addMenuItemText(MenuRef menu, const char* keyOrText, std::uint32_t command = 0) noexcept;
// Removes the items from number `from` on.
void deleteMenuItems(MenuRef menu, std::int16_t from) noexcept;
// Checks the item whose text equals `text` and unchecks all others (on a
// pop-up button: selects it).
void checkMenu(MenuRef menu, const char* text) noexcept;
// Whether item `item` (1-based) is checked.
bool isMenuItemChecked(MenuRef menu, std::int16_t item) noexcept;
// Shows the menu at a screen point with item `preselected` (1-based, 0 none)
// marked. Answers the chosen item's command, or its number when it has
// none; 0 when the menu was dismissed. The chosen item's text goes into
// `chosenText` (256 bytes) when it is not null.
long trackPopUpMenu(MenuRef menu, Point where, long preselected, char* chosenText) noexcept;

// This build has no bevel buttons: a pop-up button's menu, null for every
// other kind.
MenuRef getBevelButtonMenu(ControlRef control) noexcept;

// A point of a control's client area in screen coordinates (where menus are
// shown), held to the 16-bit range of a Point.
Point controlToScreen(ControlRef control, int x, int y) noexcept;

// ---- Context menus ------------------------------------------------------------------------
// The caller's procedures of a list view's context menu: one makes the menu
// (a free-standing menu from createMenu, disposed by the toolkit), the other
// gets the chosen command and the chosen item's text.
using ContextMenuMakeProc = MenuRef (*)(ControlRef view);
using ContextMenuDoProc = void (*)(ControlRef view, std::uint32_t command, char* itemText);

inline constexpr std::uint32_t kTagContextMakeMenu = fourCC("getm");
inline constexpr std::uint32_t kTagContextDoMenu = fourCC("domn");

// Keeps the two procedures with the list view (null removes them).
void setupContextClickHandler(ControlRef view, ContextMenuMakeProc makeMenu, ContextMenuDoProc doMenu) noexcept;
// A context click at (x, y) in the view's client coordinates; dialogs of this
// toolkit call it when the window system reports one on such a view
// (Message::ContextMenu). With fewer than two items selected the row under
// the click becomes the selection (a click below the last row leaves it as it
// is); with at least one item then selected the menu is made and shown 8
// points left of the click, and a choice goes to the do-menu procedure. True
// when a menu was shown.
bool contextClick(ControlRef view, int x, int y) noexcept;

// ---- Combo boxes and focusable pop-ups --------------------------------------------------
// Gives every "comb" below the window the module's click handling:
// clicking opens its list with the item equal to the current text marked;
// a choice becomes the edit text and the combo's handler is called.
void setupControls(WindowPtr window);
// The walk procedure setupControls runs (control, kind, caller's value):
// prepares a "comb", leaves every other kind; always true.
bool setupComboProc(ControlRef control, std::uint32_t kind, std::intptr_t value);

inline constexpr std::uint32_t kTagPopupFocus = fourCC("focu");

// Lets a pop-up button take the keyboard focus, kept in its `focu` property
// (1 while focused). While it has the focus, the down-arrow key opens its
// menu at the button with the current item marked; a choice selects the item
// and notifies the dialog as a choice with the mouse does.
void setupPopupFocus(ControlRef popup) noexcept;
void setupPopupFocus(WindowPtr window, std::int16_t idOrCommand) noexcept;

// ---- Tabs --------------------------------------------------------------------------------
// The pages of a tab control are its sub-controls in order.
// Shows the page whose position equals the tab value (1-based), hides the others.
void showTabs(ControlRef tabs) noexcept;
void setTabValue(ControlRef tabs, long value) noexcept;
// Page n is the control of the dialog whose identifier (or command) is 100 + n.
void showTab(ControlRef tabs) noexcept;
// The page of the tab labelled `label` (the current tab when null or empty);
// null when none.
ControlRef getTabUserPane(ControlRef tabs, const char* label) noexcept;

// ---- Walking ----------------------------------------------------------------------------
// The control, then each sub-control in order, depth first, with its kind. A
// top-level window is no control: for a dialog window the walk covers its
// controls only. A false answer stops; answers false when stopped.
bool EnumControls(ControlRef control, EnumControlsProc proc, std::intptr_t value);
// The first control whose `empt` property is 1 and whose text is empty.
ControlRef getEmptyControl(WindowPtr window);

// ---- Localising ---------------------------------------------------------------------------
// Localises one control by kind: titles and texts of "push", "cbox", "grpb"
// and "stxt", the items of a "popb", the tab labels of a "tabs" (whose pages
// are then shown) are taken as keys of the string table; a text that is no
// key stays. Edit fields keep their text. Always true.
bool setupTitleProc(ControlRef control, std::uint32_t kind, std::intptr_t value);
// The window title (through MyStr) and every control of the window.
void localiseWindow(WindowPtr window);

}  // namespace lumbrel

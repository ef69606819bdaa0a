// Windows and child controls, as the operating system's window manager offers
// them to the module's dialog toolkit. The model is Win32's on purpose: the
// Windows build implements this header almost one to one over user32
// (CreateWindowExW, SetPropW, SetWindowLongPtrW(GWLP_WNDPROC), SendMessageW,
// SetTimer, DialogBoxIndirectParamW); the POSIX build gets it from the desktop
// stand-in, whose modal loops take every user action from an agent.
//
// - A window is a handle (WindowRef). Dialog shells are top-level windows;
//   controls are child windows with a class name, styles, an identifier, a
//   text, a value, items, properties and a window procedure. Handles of
//   destroyed windows stay invalid (never reused during a run): every
//   function takes them and answers "none".
// - Standard classes the window manager implements: "Button", "Static",
//   "Edit", "ListBox", "ComboBox", "msctls_progress32", "SysTabControl32".
//   Further classes are registered by the module with their procedure.
// - Texts are NUL-free UTF-8.
// - Notifications reach the parent window as Message::Command (and
//   Message::Notify for tab controls), like WM_COMMAND and WM_NOTIFY.
//
// Single-threaded: everything runs on the user-interface thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform_traits.h"

namespace lumbrel::platform {

struct NativeWindow;  // never defined: handles are opaque
using WindowRef = NativeWindow*;

struct NativeFont;
using FontRef = NativeFont*;

// A rectangle as left, top, width, height in pixels; for a child window,
// relative to the client area of its parent.
struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct WindowPoint {
    int x = 0;
    int y = 0;
};

// ---- Styles (the Win32 values, so the Windows build passes them through) ----
namespace style {
inline constexpr std::uint32_t kChild = 0x40000000;
inline constexpr std::uint32_t kVisible = 0x10000000;
inline constexpr std::uint32_t kDisabled = 0x08000000;
inline constexpr std::uint32_t kVScroll = 0x00200000;
inline constexpr std::uint32_t kGroup = 0x00020000;
inline constexpr std::uint32_t kTabStop = 0x00010000;

inline constexpr std::uint32_t kButtonTypeMask = 0x0000000F;
inline constexpr std::uint32_t kPushButton = 0x0;
inline constexpr std::uint32_t kDefPushButton = 0x1;
inline constexpr std::uint32_t kAutoCheckBox = 0x3;
inline constexpr std::uint32_t kGroupBox = 0x7;
inline constexpr std::uint32_t kAutoRadioButton = 0x9;

inline constexpr std::uint32_t kStaticCenter = 0x1;
inline constexpr std::uint32_t kStaticRight = 0x2;
inline constexpr std::uint32_t kStaticLeftNoWordWrap = 0xC;

inline constexpr std::uint32_t kEditCenter = 0x1;
inline constexpr std::uint32_t kEditRight = 0x2;
inline constexpr std::uint32_t kEditMultiLine = 0x4;
inline constexpr std::uint32_t kEditPassword = 0x20;
inline constexpr std::uint32_t kEditAutoHScroll = 0x80;
inline constexpr std::uint32_t kEditWantReturn = 0x1000;

inline constexpr std::uint32_t kListNotify = 0x1;
inline constexpr std::uint32_t kListOwnerDrawFixed = 0x10;
inline constexpr std::uint32_t kListHasStrings = 0x40;
inline constexpr std::uint32_t kListNoIntegralHeight = 0x100;

inline constexpr std::uint32_t kComboDropDown = 0x2;
inline constexpr std::uint32_t kComboDropDownList = 0x3;
inline constexpr std::uint32_t kComboTypeMask = 0x3;

inline constexpr std::uint32_t kProgressSmooth = 0x1;
inline constexpr std::uint32_t kTabButtons = 0x100;

// Top-level windows.
inline constexpr std::uint32_t kPopup = 0x80000000;
inline constexpr std::uint32_t kCaption = 0x00C00000;
inline constexpr std::uint32_t kSystemMenu = 0x00080000;
// The styles of the dialog shells runModalDialog and createModelessDialog make.
inline constexpr std::uint32_t kDialogShell = kPopup | kCaption | kSystemMenu;

// Extended styles.
inline constexpr std::uint32_t kExDialogModalFrame = 0x1;  // the modal dialog shell
inline constexpr std::uint32_t kExToolWindow = 0x80;       // the modeless one: a lower caption
inline constexpr std::uint32_t kExClientEdge = 0x200;
// A container whose children take part in the dialog's Tab order: the dialog
// manager descends only into visible, enabled children carrying it.
inline constexpr std::uint32_t kExControlParent = 0x10000;
}  // namespace style

inline constexpr const char* kButtonClass = "Button";
inline constexpr const char* kStaticClass = "Static";
inline constexpr const char* kEditClass = "Edit";
inline constexpr const char* kListBoxClass = "ListBox";
inline constexpr const char* kComboBoxClass = "ComboBox";
inline constexpr const char* kProgressClass = "msctls_progress32";
inline constexpr const char* kTabControlClass = "SysTabControl32";

// ---- Messages -----------------------------------------------------------------
// The Win32 numbers. wParam/lParam meanings are given per message.
enum class Message : std::uint32_t {
    Create = 0x0001,       // sent once after creation, before the window is shown
    Destroy = 0x0002,      // sent before the window goes, to the window first, then to its children
                           // (they are still alive while the parent handles it)
    SetFocus = 0x0007,     // the window got the keyboard focus; wParam: the window that lost it
    KillFocus = 0x0008,    // the window loses the focus; wParam: the window that gets it
    Paint = 0x000F,        // lParam: Canvas* in the window's client coordinates
    Close = 0x0010,        // the close box (Escape in a dialog is Command with id 2, IDCANCEL)
    NextDialogControl = 0x0028,  // to a dialog: focus the next tab stop, within kExControlParent children
                                 // too; wParam 0 next, 1 previous
    DrawItem = 0x002B,     // to the parent of an owner-drawn list box; lParam: DrawItem*
    Notify = 0x004E,       // wParam: control id; lParam: NotifyInfo* (an NMHDR)
    NcDestroy = 0x0082,    // the last message of a window, after its children got theirs
    GetDialogCode = 0x0087,  // answer kWantAllKeys to get every key
    KeyDown = 0x0100,      // wParam: a Key value
    Char = 0x0102,         // wParam: a typed character (a code point)
    InitDialog = 0x0110,   // to a dialog procedure once its shell exists; lParam: the param given
    Command = 0x0111,      // wParam: low 16 bits the control id, high 16 bits the Notification;
                           // lParam: the control (WindowRef as intptr); 0 from a menu or keyboard
    Timer = 0x0113,        // wParam: the timer id
    ContextMenu = 0x007B,  // a context click (right button, menu key); wParam: the window clicked;
                           // lParam: pointParam of the screen point. Unhandled, a child passes it
                           // to its parent, so the dialog sees clicks on any of its controls
    LeftButtonDown = 0x0201,  // lParam: x in the low 16 bits, y in the high 16 bits (client)
    User = 0x0400,         // first message of the window class's own range
};

// Notification codes carried in the high word of Message::Command.
enum class Notification : std::uint16_t {
    Clicked = 0,          // button clicked (BN_CLICKED)
    SelectionChange = 1,  // list or combo box selection changed (LBN_SELCHANGE, CBN_SELCHANGE)
    EditChange = 0x300,   // edit text changed (EN_CHANGE)
    CloseUp = 8,          // a combo box's list closed (CBN_CLOSEUP)
};

// Notify code of a tab control whose page changed (TCN_SELCHANGE, an
// unsigned code as NMHDR carries it).
inline constexpr std::uint32_t kTabSelectionChanged = 0U - 551U;

inline constexpr std::intptr_t kWantAllKeys = 0x0004;

// Keys delivered with Message::KeyDown (the Win32 virtual-key numbers).
enum class Key : std::uint32_t {
    Tab = 0x09,
    Return = 0x0D,
    Escape = 0x1B,
    Space = 0x20,
    Down = 0x28,
    Up = 0x26,
};

// Laid out as Win32's NMHDR (hwndFrom, idFrom, code), so a notification a
// native control sends is read by the same code.
struct NotifyInfo {
    WindowRef from = nullptr;
    std::uintptr_t id = 0;
    std::uint32_t code = 0;
};

struct Canvas;  // the paint target handed with Message::Paint and DrawItem

struct DrawItem {
    WindowRef control = nullptr;  // the list box
    int controlId = 0;
    int item = 0;                 // 0-based row
    WindowRect rect;              // the row, in the list box's client coordinates
    bool selected = false;
    Canvas* canvas = nullptr;
};

// A window procedure. Define every one with LUMBREL_CALLBACK: the Windows
// build calls them with the system's convention.
using WindowProc = std::intptr_t(LUMBREL_CALLBACK*)(WindowRef window, Message message, std::uintptr_t wParam,
                                                    std::intptr_t lParam);

// ---- Classes and windows ----------------------------------------------------------
// Registers a window class of the module. False when the name is taken by
// another procedure or empty.
bool registerWindowClass(const char* className, WindowProc procedure) noexcept;

// Creates a child window (or a top-level window with a null parent) of a
// standard or registered class, hidden unless style::kVisible is given.
// Null when the class is unknown or the parent is not a live window.
WindowRef createWindow(const char* className, std::string_view text, std::uint32_t style,
                       std::uint32_t exStyle, const WindowRect& rect, WindowRef parent, int id) noexcept;
// Destroys the window and its children, their timers and properties:
// Message::Destroy goes to the window, then to its children (depth first in
// creation order); Message::NcDestroy to each window once its children got
// theirs, so the window itself gets it last.
void destroyWindow(WindowRef window) noexcept;
bool isWindow(WindowRef window) noexcept;

// The class name; "" for a handle that is no live window.
std::string className(WindowRef window);
std::uint32_t windowStyle(WindowRef window) noexcept;
std::uint32_t windowExStyle(WindowRef window) noexcept;
// The identifier given at creation; -1 for a handle that is no live window.
int controlId(WindowRef window) noexcept;

// ---- Tree ------------------------------------------------------------------------
WindowRef parentWindow(WindowRef window) noexcept;    // null for a top-level window
WindowRef topLevelWindow(WindowRef window) noexcept;  // the window itself when top-level
WindowRef firstChild(WindowRef window) noexcept;      // in creation order
WindowRef nextSibling(WindowRef window) noexcept;
// The first descendant, depth first in creation order, with that identifier.
WindowRef findChild(WindowRef window, int id) noexcept;

// ---- Geometry ------------------------------------------------------------------------
WindowRect windowRect(WindowRef window) noexcept;  // outer rectangle, in parent client coordinates
void setWindowRect(WindowRef window, const WindowRect& rect) noexcept;
// The client size of a window (a dialog shell's outer size minus its frame).
WindowRect clientRect(WindowRef window) noexcept;
// The outer rectangle a window of these styles needs around a client area
// (AdjustWindowRectEx): a captioned top-level window adds its border and
// title bar, lower for a tool window (the modeless shell); a client edge
// adds its width. The defaults are the modal dialog shell's.
WindowRect outerRectForClient(const WindowRect& client, std::uint32_t windowStyle = style::kDialogShell,
                              std::uint32_t exStyle = style::kExDialogModalFrame) noexcept;
// The usable screen area, for placing dialogs.
WindowRect screenRect() noexcept;
// A point of the window's client area on the screen and back (ClientToScreen,
// ScreenToClient); a dead window leaves the point as it is.
WindowPoint clientToScreen(WindowRef window, WindowPoint point) noexcept;
WindowPoint screenToClient(WindowRef window, WindowPoint point) noexcept;

// ---- State -------------------------------------------------------------------------
// A single-line edit field then sends its parent Command EditChange (as
// WM_SETTEXT raises EN_CHANGE); other windows notify nobody.
void setWindowText(WindowRef window, std::string_view utf8) noexcept;
std::string windowText(WindowRef window);
void showWindow(WindowRef window, bool visible) noexcept;
// The window's own visible flag.
bool isWindowShown(WindowRef window) noexcept;
// Shown, and every ancestor shown too.
bool isWindowVisible(WindowRef window) noexcept;
void enableWindow(WindowRef window, bool enabled) noexcept;
bool isWindowEnabled(WindowRef window) noexcept;
// Marks the window for repainting (counted; pictures are drawn on request).
void invalidateWindow(WindowRef window) noexcept;

// The value of a control by class:
// - "Button": the check state (0, 1);
// - "msctls_progress32": the position;
// - "ComboBox", "ListBox", "SysTabControl32": the current item, 0-based, -1 for none;
// - others: a plain number kept with the window.
// Setting it notifies nobody (as BM_SETCHECK, CB_SETCURSEL, PBM_SETPOS do not).
void setControlValue(WindowRef window, int value) noexcept;
int controlValue(WindowRef window) noexcept;
// Range of a progress bar (defaults 0..100).
void setControlRange(WindowRef window, int minimum, int maximum) noexcept;
int controlMinimum(WindowRef window) noexcept;
int controlMaximum(WindowRef window) noexcept;

// Items of a ComboBox, ListBox or SysTabControl32 (tab labels), 0-based.
// addItem answers the new item's index, -1 on failure.
int addItem(WindowRef window, std::string_view utf8) noexcept;
int itemCount(WindowRef window) noexcept;
std::string itemText(WindowRef window, int index);
void setItemText(WindowRef window, int index, std::string_view utf8) noexcept;
void deleteItem(WindowRef window, int index) noexcept;
void clearItems(WindowRef window) noexcept;
// Per-item data of a list box (a pointer-sized value, like LB_SETITEMDATA).
void setItemData(WindowRef window, int index, std::intptr_t data) noexcept;
std::intptr_t itemData(WindowRef window, int index) noexcept;
// Multiple selection in a list box (a single-selection list keeps one).
void setItemSelected(WindowRef window, int index, bool selected) noexcept;
bool isItemSelected(WindowRef window, int index) noexcept;

// Selection in an edit field, in UTF-8 bytes; end -1 means the end of the text.
void setEditSelection(WindowRef window, int start, int end) noexcept;
void editSelection(WindowRef window, int& start, int& end) noexcept;

// ---- Fonts ------------------------------------------------------------------------
FontRef createFont(const char* face, int heightPixels, int weight) noexcept;
void setWindowFont(WindowRef window, FontRef font) noexcept;
FontRef windowFont(WindowRef window) noexcept;

// ---- Properties --------------------------------------------------------------------
// Named per-window values (SetProp). Names are the module's eight-character
// tags; any NUL-free text is accepted. A text property owns its copy; both
// kinds go with the window.
void setProperty(WindowRef window, std::string_view name, std::intptr_t value) noexcept;
// 0 when absent.
std::intptr_t property(WindowRef window, std::string_view name) noexcept;
// True for a stored 0 as well (GetPropW alone cannot tell that from absent).
bool hasProperty(WindowRef window, std::string_view name) noexcept;
void setTextProperty(WindowRef window, std::string_view name, std::string_view utf8) noexcept;
// Null when absent; valid until the property is replaced or removed or the
// window goes.
const std::string* textProperty(WindowRef window, std::string_view name) noexcept;
void removeProperty(WindowRef window, std::string_view name) noexcept;

// ---- Procedures and messages ------------------------------------------------------
// Replaces the window's procedure (subclassing) and answers the one it had.
WindowProc setWindowProc(WindowRef window, WindowProc procedure) noexcept;
WindowProc windowProc(WindowRef window) noexcept;
// Runs `procedure` for the window (CallWindowProc): the way a subclass hands
// a message to the procedure it replaced.
std::intptr_t callWindowProc(WindowProc procedure, WindowRef window, Message message, std::uintptr_t wParam,
                             std::intptr_t lParam);
// What the window manager does with a message nobody handled (the class's
// standard behaviour for standard classes).
std::intptr_t defWindowProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam);
// Calls the window's procedure now and answers its result; 0 for a dead window.
std::intptr_t sendMessage(WindowRef window, Message message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
// Queues the message; it is delivered by the running modal loop (or the next
// one) in order. False for a dead window.
bool postMessage(WindowRef window, Message message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) noexcept;

// A Message::Command wParam from a control id and a notification.
constexpr std::uintptr_t commandParam(int id, Notification code) noexcept {
    return (static_cast<std::uintptr_t>(static_cast<std::uint16_t>(code)) << 16) |
           static_cast<std::uint16_t>(id);
}
constexpr int commandId(std::uintptr_t wParam) noexcept {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(wParam & 0xFFFF));
}
constexpr Notification commandNotification(std::uintptr_t wParam) noexcept {
    return static_cast<Notification>(static_cast<std::uint16_t>((wParam >> 16) & 0xFFFF));
}

// A point packed into an lParam as the mouse messages carry it: x in the low,
// y in the high 16 bits, each signed (screen points left of or above the
// screen's origin are negative).
constexpr std::intptr_t pointParam(WindowPoint point) noexcept {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(point.y)) << 16) |
                                      static_cast<std::uint16_t>(point.x));
}
constexpr WindowPoint pointFromParam(std::intptr_t lParam) noexcept {
    const auto bits = static_cast<std::uint32_t>(lParam);
    return {static_cast<std::int16_t>(static_cast<std::uint16_t>(bits & 0xFFFF)),
            static_cast<std::int16_t>(static_cast<std::uint16_t>(bits >> 16))};
}

// ---- Focus -------------------------------------------------------------------------
// Gives the keyboard focus (KillFocus to the old window, SetFocus to the new);
// null clears it. Answers the window that had it.
WindowRef setFocus(WindowRef window) noexcept;
WindowRef focusedWindow() noexcept;

// ---- Timers ------------------------------------------------------------------------
// A repeating timer delivering Message::Timer with `id` to the window every
// `periodMs` milliseconds of the modal loop's clock; setting an existing id
// restarts it. False for a dead window.
bool setTimer(WindowRef window, std::uintptr_t id, unsigned periodMs) noexcept;
void killTimer(WindowRef window, std::uintptr_t id) noexcept;

// ---- Dialogs and loops --------------------------------------------------------------
// Makes an empty, hidden dialog shell (a captioned pop-up window) whose
// procedure is `dialogProc`, sends it Message::InitDialog with `param`, shows
// it and runs a modal loop until endDialog; then destroys it and answers the
// value given to endDialog. -1 when the shell could not be made. The loop
// delivers posted messages and timers and asks the user (the agent) for
// every action; the host's windows do not get input meanwhile.
std::intptr_t runModalDialog(WindowProc dialogProc, std::intptr_t param);
// Ends the dialog with a result (EndDialog): a later call replaces the result;
// the modal loop ends once the current message is handled, then destroys the
// shell. A modeless shell is hidden instead. False for a window that is no
// dialog shell.
bool endDialog(WindowRef dialog, std::intptr_t result) noexcept;
// The dialog's default button as DM_GETDEFID answers it: the identifier of
// the first descendant push button styled style::kDefPushButton; 0 for none.
// The keyboard rules every dialog follows (IsDialogMessage): Return clicks a
// focused push button; else it sends Command with the default id when that
// button is enabled, else Command IDOK (1). Escape sends Command IDCANCEL (2),
// never Close. lParam: the control of that id, null when there is none.
int defaultButtonId(WindowRef dialog) noexcept;
// Makes a modeless dialog shell (a tool window with a caption, owned by the
// active window) with `dialogProc`, sends it Message::InitDialog with `param`
// and answers it, hidden; the caller shows it. Null on failure.
// Its keyboard rules (Tab, Return, Escape) come from the loop that runs it:
// on Windows the host's message loop must hand each message to
// IsDialogMessageW with the message's top-level window when that window's
// class is "ModelessDialog", and translate and dispatch it only when that
// answers FALSE.
WindowRef createModelessDialog(WindowProc dialogProc, std::intptr_t param) noexcept;

// A pop-up menu at a point of the screen with the item `preselected`
// (0-based, -1: none) marked, owned by `owner` (TrackPopupMenuEx's window:
// it receives the menu's messages and stays active meanwhile; null: the
// active window). Answers the chosen item, or -1 when the user dismissed it
// or `owner` is no window.
int trackPopupMenu(WindowRef owner, const std::vector<std::string>& items, int screenX, int screenY,
                   int preselected);

// ---- Painting ----------------------------------------------------------------------
// Colours as 0xRRGGBB.
void fillRect(Canvas* canvas, const WindowRect& rect, std::uint32_t rgb) noexcept;
void frameRect(Canvas* canvas, const WindowRect& rect, std::uint32_t rgb) noexcept;
void drawLine(Canvas* canvas, int x1, int y1, int x2, int y2, std::uint32_t rgb) noexcept;
// Text on one line, vertically centred in the rectangle; align 0 left, 1
// centre, 2 right.
void drawText(Canvas* canvas, const WindowRect& rect, std::string_view utf8, int align, std::uint32_t rgb,
              FontRef font) noexcept;
void invertRect(Canvas* canvas, const WindowRect& rect) noexcept;

}  // namespace lumbrel::platform

// The window manager's own state: every live window in a table keyed by a
// handle number that is never reused during a run, the class registry, fonts,
// timers on a virtual clock, posted messages and the running modal loops.
//
// Procedures may destroy windows, open nested dialogs or post messages while
// a message is being handled, so code here looks a window up again after every
// call into a procedure and never keeps a reference into the table across one.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/window_system.h"

namespace desktop::windows {

using lumbrel::platform::FontRef;
using lumbrel::platform::Message;
using lumbrel::platform::WindowProc;
using lumbrel::platform::WindowRect;
using lumbrel::platform::WindowRef;

// Styles of the shells the window manager makes itself (Win32 values).
inline constexpr std::uint32_t kStylePopup = lumbrel::platform::style::kPopup;
inline constexpr std::uint32_t kStyleCaption = lumbrel::platform::style::kCaption;
inline constexpr std::uint32_t kStyleSystemMenu = lumbrel::platform::style::kSystemMenu;
inline constexpr std::uint32_t kExStyleToolWindow = lumbrel::platform::style::kExToolWindow;
inline constexpr std::uint32_t kListMultipleSelection = 0x0008;
inline constexpr std::uint32_t kListExtendedSelection = 0x0800;

inline constexpr const char* kDialogClass = "#32770";

// Frame of a captioned top-level window: border on every side, title bar above.
inline constexpr int kFrameBorder = 3;
inline constexpr int kTitleBarHeight = 22;
inline constexpr int kToolTitleBarHeight = 16;  // a tool window's caption
inline constexpr int kClientEdge = 2;

inline constexpr int kScreenWidth = 1280;
inline constexpr int kScreenHeight = 1024;

// The result a dialog gets when it is closed for the user (IDCANCEL).
inline constexpr std::intptr_t kCloseResult = 2;

struct Item {
    std::string text;
    std::intptr_t data = 0;
    bool selected = false;  // multiple-selection lists only
};

struct Property {
    bool isText = false;
    std::intptr_t value = 0;
    std::unique_ptr<std::string> text;  // stable address for textProperty()
};

struct Window {
    std::uint64_t number = 0;
    std::string className;
    std::string text;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    WindowRect rect;
    std::uint64_t parent = 0;  // 0: top-level
    std::vector<std::uint64_t> children;  // creation order
    int id = 0;
    int value = 0;
    int minimum = 0;
    int maximum = 100;
    std::vector<Item> items;
    int selectionStart = 0;
    int selectionEnd = 0;
    FontRef font = nullptr;
    std::map<std::string, Property, std::less<>> properties;
    WindowProc procedure = nullptr;
    bool destroying = false;
    bool isDialog = false;  // a shell made by runModalDialog or createModelessDialog
    std::size_t invalidations = 0;
};

struct Font {
    std::string face;
    int height = 0;
    int weight = 0;
};

struct Timer {
    std::uint64_t window = 0;
    std::uintptr_t id = 0;
    unsigned period = 0;
    std::uint64_t due = 0;
    std::uint64_t order = 0;  // ties on `due` go by when the timer was set
};

struct Posted {
    std::uint64_t window = 0;
    Message message = Message::Create;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// One running modal loop.
struct ModalLoop {
    std::uint64_t dialog = 0;
    bool ended = false;
    std::intptr_t result = 0;
};

struct State {
    std::unordered_map<std::uint64_t, std::unique_ptr<Window>> windows;
    std::uint64_t lastNumber = 0;  // runs on across resets: handles are never reused
    std::map<std::string, WindowProc, std::less<>> classes;  // the module's registered classes
    std::vector<Font> fonts;                                 // a FontRef is an index + 1, never freed
    std::vector<Timer> timers;
    std::uint64_t timerOrder = 0;
    std::uint64_t clock = 0;  // virtual milliseconds
    std::deque<Posted> posted;
    std::deque<ModalLoop> loops;  // innermost last (a deque: entries stay put as loops nest)
    std::uint64_t focus = 0;
    std::uint64_t modalTurnLimit = 1000000;
};

State& state() noexcept;
// Forgets every window, timer and posted message (classes and fonts stay valid).
void resetWindows() noexcept;

WindowRef toRef(std::uint64_t number) noexcept;
std::uint64_t toNumber(WindowRef window) noexcept;
// The live window of a handle; null for anything else. The pointer is valid
// until the next call into a procedure.
Window* find(WindowRef window) noexcept;
Window* find(std::uint64_t number) noexcept;
const Font* findFont(FontRef font) noexcept;

bool isStandardClass(std::string_view name) noexcept;
bool isButtonClass(const Window& window) noexcept;
bool isComboClass(const Window& window) noexcept;
bool isListClass(const Window& window) noexcept;
bool isTabClass(const Window& window) noexcept;
bool isEditClass(const Window& window) noexcept;
bool isProgressClass(const Window& window) noexcept;
bool hasItems(const Window& window) noexcept;
// Button type of a "Button" window (style & kButtonTypeMask).
std::uint32_t buttonType(const Window& window) noexcept;
bool isCheckBox(const Window& window) noexcept;
bool isRadioButton(const Window& window) noexcept;
bool isMultipleSelection(const Window& window) noexcept;
// A captioned top-level window: framed, with a title bar.
bool hasFrame(const Window& window) noexcept;
// Height of a window's title bar by its styles (0 without a caption).
int titleBarHeight(std::uint32_t style, std::uint32_t exStyle) noexcept;
int titleBarHeight(const Window& window) noexcept;
// Offset of the client area inside the window's outer rectangle.
void clientOrigin(const Window& window, int& x, int& y) noexcept;

// Calls into procedures without letting an exception out of a noexcept
// function of the interface (a throwing procedure counts as answering 0).
std::intptr_t sendQuietly(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) noexcept;
// Message::Command with a notification to the window's parent.
void notifyParent(WindowRef control, lumbrel::platform::Notification code) noexcept;

// The dialog manager's move of the focus to the next (or previous) tab stop.
void moveDialogFocus(WindowRef dialog, bool previous) noexcept;
// Every window below `root`, depth first in creation order (numbers, not references).
std::vector<std::uint64_t> descendants(std::uint64_t root);
// True while a modal loop runs for this window.
ModalLoop* findLoop(std::uint64_t dialog) noexcept;

// Selects an item of a pop-up, list or tab control as a user would and sends
// the class's notifications. False when the control has no such item.
bool chooseItem(WindowRef control, int index) noexcept;
// Width of a tab's label in a tab control (hit testing and pictures agree on it).
int tabLabelWidth(std::string_view label) noexcept;
// A user's click on a button: toggles or checks auto buttons and notifies the parent.
void clickButton(WindowRef button) noexcept;

}  // namespace desktop::windows

#include "ui/own_window_classes.h"

#include <new>

#include "ui/property_names.h"
#include "ui/ui_types.h"

namespace lumbrel {

namespace {

using platform::Message;
using platform::WindowRef;

platform::FontRef gNormalFont = nullptr;
platform::FontRef gBoldFont = nullptr;

std::intptr_t windowAsParam(WindowRef window) noexcept {
    return reinterpret_cast<std::intptr_t>(window);
}

WindowRef paramAsWindow(std::intptr_t value) noexcept {
    return reinterpret_cast<WindowRef>(value);
}

// The dialog a container's notifications belong to; null when the window is
// itself top-level (handing the message on would come back to it).
WindowRef dialogAbove(WindowRef window) noexcept {
    WindowRef top = platform::topLevelWindow(window);
    return top == window ? nullptr : top;
}

// ---- Separator ------------------------------------------------------------------

void paintSeparator(WindowRef window, platform::Canvas* canvas) noexcept {
    if (canvas == nullptr) return;
    const platform::WindowRect size = platform::clientRect(window);
    if (size.width <= 0 || size.height <= 0) return;
    // One pixel from the top-left corner along the longer side; a square
    // counts as vertical.
    if (size.width > size.height)
        platform::drawLine(canvas, 0, 0, size.width - 1, 0, kSeparatorColour);
    else
        platform::drawLine(canvas, 0, 0, 0, size.height - 1, kSeparatorColour);
}

// ---- RadioGroup -------------------------------------------------------------------

// Checks the child at `position` (1-based) and unchecks every other one.
// Answers whether the position named a child.
bool checkOnly(WindowRef group, std::uintptr_t position) noexcept {
    bool found = false;
    std::uintptr_t index = 1;
    for (WindowRef child = platform::firstChild(group); child != nullptr;
         child = platform::nextSibling(child), ++index) {
        const bool chosen = index == position;
        found = found || chosen;
        platform::setControlValue(child, chosen ? 1 : 0);
    }
    return found;
}

std::intptr_t checkedPosition(WindowRef group) noexcept {
    std::intptr_t index = 1;
    for (WindowRef child = platform::firstChild(group); child != nullptr;
         child = platform::nextSibling(child), ++index) {
        if (platform::controlValue(child) != 0) return index;
    }
    return 0;
}

std::uintptr_t childPosition(WindowRef group, WindowRef child) noexcept {
    std::uintptr_t index = 1;
    for (WindowRef c = platform::firstChild(group); c != nullptr; c = platform::nextSibling(c), ++index) {
        if (c == child) return index;
    }
    return 0;
}

// ---- FontMenu ------------------------------------------------------------------------

constexpr int kTriangleWidth = 7;   // base of the triangle, in pixels
constexpr int kTriangleMargin = 5;  // from the right edge
constexpr int kTextMargin = 4;

struct FontMenuState {
    std::vector<std::string> items;
    WindowRef owner = nullptr;
};

FontMenuState* fontMenuState(WindowRef window, bool create) noexcept {
    auto* state = reinterpret_cast<FontMenuState*>(platform::property(window, kPropFontMenuState));
    if (state == nullptr && create && platform::isWindow(window)) {
        state = new (std::nothrow) FontMenuState;
        if (state != nullptr) platform::setProperty(window, kPropFontMenuState, reinterpret_cast<std::intptr_t>(state));
    }
    return state;
}

void dropFontMenuState(WindowRef window) noexcept {
    delete fontMenuState(window, false);
    platform::removeProperty(window, kPropFontMenuState);
}

void paintFontMenu(WindowRef window, platform::Canvas* canvas) {
    if (canvas == nullptr) return;
    const platform::WindowRect size = platform::clientRect(window);
    const platform::WindowRect frame{0, 0, size.width, size.height};
    const bool enabled = platform::isWindowEnabled(window);
    const std::uint32_t ink = enabled ? 0x000000 : kSeparatorColour;
    platform::fillRect(canvas, frame, 0xFFFFFF);
    platform::frameRect(canvas, frame, ink);
    const int textWidth = size.width - 2 * kTextMargin - kTriangleWidth - kTriangleMargin;
    if (textWidth > 0) {
        platform::drawText(canvas, {kTextMargin, 0, textWidth, size.height}, platform::windowText(window), 0, ink,
                           dialogFont());
    }
    // A downward triangle, one shorter row at a time.
    const int left = size.width - kTriangleMargin - kTriangleWidth;
    const int top = (size.height - (kTriangleWidth + 1) / 2) / 2;
    for (int row = 0; row < (kTriangleWidth + 1) / 2; ++row)
        platform::drawLine(canvas, left + row, top + row, left + kTriangleWidth - 1 - row, top + row, ink);
}

// Where the window's client area starts on the screen.
void screenOrigin(WindowRef window, int& x, int& y) noexcept {
    x = 0;
    y = 0;
    WindowRef w = window;
    for (WindowRef parent = platform::parentWindow(w); parent != nullptr; parent = platform::parentWindow(w)) {
        const platform::WindowRect r = platform::windowRect(w);
        x += r.left;
        y += r.top;
        w = parent;
    }
    // The top-level window's rectangle is its outer one: add its frame.
    const platform::WindowRect outer = platform::windowRect(w);
    const platform::WindowRect client = platform::clientRect(w);
    const platform::WindowRect framed = platform::outerRectForClient({0, 0, client.width, client.height},
                                                                     platform::windowStyle(w), platform::windowExStyle(w));
    const int border = (framed.width - client.width) / 2;
    const int caption = framed.height - client.height - border;
    x += outer.left + border;
    y += outer.top + caption;
}

void openFontMenu(WindowRef window) {
    if (!platform::isWindowEnabled(window)) return;
    FontMenuState* state = fontMenuState(window, true);
    if (state == nullptr) return;
    int x = 0;
    int y = 0;
    screenOrigin(window, x, y);
    const platform::WindowRect size = platform::clientRect(window);
    const int chosen = platform::trackPopupMenu(platform::topLevelWindow(window), state->items, x, y + size.height,
                                                 platform::controlValue(window) - 1);
    // The menu may have taken the window with it (a modal loop ran meanwhile).
    if (!platform::isWindow(window)) return;
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= state->items.size()) return;
    platform::setControlValue(window, chosen + 1);
    platform::invalidateWindow(window);
    WindowRef target = platform::isWindow(state->owner) ? state->owner : platform::topLevelWindow(window);
    platform::postMessage(target, Message::Command,
                          platform::commandParam(platform::controlId(window), platform::Notification::Clicked),
                          windowAsParam(window));
}

std::intptr_t setFontMenuItems(WindowRef window, std::intptr_t lParam) {
    FontMenuState* state = fontMenuState(window, true);
    if (state == nullptr) return 0;
    const auto* items = reinterpret_cast<const std::vector<std::string>*>(lParam);
    try {
        if (items == nullptr)
            state->items.clear();
        else
            state->items = *items;
    } catch (const std::bad_alloc&) {
        state->items.clear();
    }
    platform::invalidateWindow(window);
    return static_cast<std::intptr_t>(state->items.size());
}

}  // namespace

platform::FontRef dialogFont() noexcept {
    return gNormalFont;
}

platform::FontRef dialogBoldFont() noexcept {
    return gBoldFont;
}

bool setupDialogs() noexcept {
    // Registering again with the same procedure succeeds, so a window manager
    // that was started afresh gets the classes back.
    bool ok = platform::registerWindowClass(kSeparatorClass, separatorProc);
    ok = platform::registerWindowClass(kUserPaneClass, userPaneProc) && ok;
    ok = platform::registerWindowClass(kRadioGroupClass, radioGroupProc) && ok;
    ok = platform::registerWindowClass(kFontMenuClass, fontMenuProc) && ok;
    if (gNormalFont == nullptr)
        gNormalFont = platform::createFont(kDialogFontFace, kDialogFontHeight, kDialogFontWeightNormal);
    if (gBoldFont == nullptr)
        gBoldFont = platform::createFont(kDialogFontFace, kDialogFontHeight, kDialogFontWeightBold);
    return ok;
}

std::intptr_t LUMBREL_CALLBACK separatorProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == Message::Paint) {
        paintSeparator(window, reinterpret_cast<platform::Canvas*>(lParam));
        return 0;
    }
    return platform::defWindowProc(window, message, wParam, lParam);
}

std::intptr_t LUMBREL_CALLBACK userPaneProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    bool handOn = false;
    switch (message) {
        case Message::Command:
        case Message::DrawItem:
        case Message::SetFocus:
        case Message::KillFocus:
            handOn = true;
            break;
        case Message::Notify: {
            const auto* info = reinterpret_cast<const platform::NotifyInfo*>(lParam);
            handOn = info != nullptr && info->code == platform::kTabSelectionChanged;
            break;
        }
        default:
            break;
    }
    if (handOn) {
        if (WindowRef dialog = dialogAbove(window)) return platform::sendMessage(dialog, message, wParam, lParam);
    }
    return platform::defWindowProc(window, message, wParam, lParam);
}

std::intptr_t LUMBREL_CALLBACK radioGroupProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == kRadioGroupGetChecked) return checkedPosition(window);
    if (message == kRadioGroupSetChecked) return checkOnly(window, wParam) ? static_cast<std::intptr_t>(wParam) : 0;
    if (message == Message::Command && platform::commandNotification(wParam) == platform::Notification::Clicked) {
        const WindowRef child = paramAsWindow(lParam);
        const std::uintptr_t position = child != nullptr ? childPosition(window, child) : 0;
        if (position != 0) {
            checkOnly(window, position);
            if (WindowRef dialog = dialogAbove(window)) {
                platform::sendMessage(
                    dialog, Message::Command,
                    platform::commandParam(platform::controlId(window), platform::Notification::Clicked),
                    windowAsParam(window));
            }
            return 0;
        }
    }
    return platform::defWindowProc(window, message, wParam, lParam);
}

std::intptr_t LUMBREL_CALLBACK fontMenuProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case Message::Paint:
            paintFontMenu(window, reinterpret_cast<platform::Canvas*>(lParam));
            return 0;
        case Message::LeftButtonDown:
            openFontMenu(window);
            return 0;
        case Message::Destroy:
            dropFontMenuState(window);
            break;
        default:
            if (message == kFontMenuSetItems) return setFontMenuItems(window, lParam);
            if (message == kFontMenuSetOwner) {
                if (FontMenuState* state = fontMenuState(window, true)) state->owner = paramAsWindow(lParam);
                return 0;
            }
            if (message == kFontMenuGetItems) {
                const FontMenuState* state = fontMenuState(window, true);
                return state != nullptr ? reinterpret_cast<std::intptr_t>(&state->items) : 0;
            }
            if (message == kFontMenuGetValue) return platform::controlValue(window);
            if (message == kFontMenuSetValue) {
                platform::setControlValue(window, static_cast<int>(wParam));
                platform::invalidateWindow(window);
                return 0;
            }
            if (message == kFontMenuGetOwner) {
                const FontMenuState* state = fontMenuState(window, false);
                return state != nullptr ? windowAsParam(state->owner) : 0;
            }
            break;
    }
    return platform::defWindowProc(window, message, wParam, lParam);
}

}  // namespace lumbrel

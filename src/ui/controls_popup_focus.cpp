// Combo boxes that open their list through the module, and pop-up buttons
// that open their menu from the keyboard. Both wrap the control's window
// procedure; the wrapped one is kept as a property of the control.
#include <string>

#include "ui/controls.h"
#include "util/bounded.h"

namespace lumbrel {

namespace {

using platform::Message;

constexpr std::string_view kPropKeptComboProc = "HAVVcbpr";
constexpr std::string_view kPropKeptPopupProc = "HAVVpfpr";

std::intptr_t passOn(std::string_view kept, platform::WindowRef window, Message message, std::uintptr_t wParam,
                     std::intptr_t lParam) {
    const auto proc = reinterpret_cast<platform::WindowProc>(platform::property(window, kept));
    return proc != nullptr ? platform::callWindowProc(proc, window, message, wParam, lParam)
                           : platform::defWindowProc(window, message, wParam, lParam);
}

// Tells the control's parent that an item was chosen, as the window manager
// does after a choice with the mouse.
void notifyChoice(ControlRef control) {
    const platform::WindowRef parent = platform::parentWindow(control);
    const int id = platform::controlId(control);
    const auto from = reinterpret_cast<std::intptr_t>(control);
    platform::sendMessage(parent, Message::Command, platform::commandParam(id, platform::Notification::SelectionChange),
                          from);
    if (platform::isWindow(control)) {
        platform::sendMessage(parent, Message::Command, platform::commandParam(id, platform::Notification::CloseUp),
                              from);
    }
}

void onComboClick(ControlRef combo) {
    platform::setFocus(combo);
    const std::string current = getControlText(combo);
    std::int16_t marked = getMenuItemPos(combo, current.c_str());
    if (marked == 0) marked = getControlValue(combo);
    const Rect bounds = getControlBounds(combo);
    const Point where = controlToScreen(combo, 0, bounds.bottom - bounds.top);
    char chosen[kShortTextSize] = "";
    const long item = trackPopUpMenu(combo, where, marked, chosen);
    if (item <= 0 || !platform::isWindow(combo)) return;
    platform::setControlValue(combo, static_cast<int>(item - 1));
    setControlText(combo, chosen);
    const ControlProc handler = getControlProc(combo);
    if (handler != nullptr) handler(combo, getControlOwner(combo), getControlUserData(combo));
}

std::intptr_t comboProc(platform::WindowRef combo, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == Message::LeftButtonDown && platform::isWindowEnabled(combo)) {
        try {
            onComboClick(combo);
        } catch (...) {
        }
        return 0;
    }
    return passOn(kPropKeptComboProc, combo, message, wParam, lParam);
}

void openPopupFromKeyboard(ControlRef popup) {
    const Point where = controlToScreen(popup, 0, 0);
    const long item = trackPopUpMenu(popup, where, getControlValue(popup), nullptr);
    if (item <= 0 || !platform::isWindow(popup)) return;
    platform::setControlValue(popup, static_cast<int>(item - 1));
    platform::invalidateWindow(popup);
    notifyChoice(popup);
}

std::intptr_t popupProc(platform::WindowRef popup, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case Message::SetFocus: setControlProperty(popup, kTagPopupFocus, std::intptr_t{1}); break;
        case Message::KillFocus: setControlProperty(popup, kTagPopupFocus, std::intptr_t{0}); break;
        case Message::KeyDown:
            if (wParam == static_cast<std::uintptr_t>(platform::Key::Down) &&
                getControlProperty(popup, kTagPopupFocus) == 1) {
                try {
                    openPopupFromKeyboard(popup);
                } catch (...) {
                }
                return 0;
            }
            break;
        default: break;
    }
    return passOn(kPropKeptPopupProc, popup, message, wParam, lParam);
}

void wrap(ControlRef control, platform::WindowProc proc, std::string_view kept) {
    if (platform::windowProc(control) == proc) return;
    platform::setProperty(control, kept, reinterpret_cast<std::intptr_t>(platform::setWindowProc(control, proc)));
}

}  // namespace

MenuRef getBevelButtonMenu(ControlRef control) noexcept {
    try {
        return getControlKind(control) == kKindPopup ? getMenu(control) : nullptr;
    } catch (...) {
        return nullptr;
    }
}

bool setupComboProc(ControlRef control, std::uint32_t kind, std::intptr_t) {
    if (kind == kKindCombo) wrap(control, comboProc, kPropKeptComboProc);
    return true;
}

void setupControls(WindowPtr window) { EnumControls(window, setupComboProc, 0); }

void setupPopupFocus(ControlRef popup) noexcept {
    try {
        if (getControlKind(popup) != kKindPopup) return;
    } catch (...) {
        return;
    }
    setControlProperty(popup, kTagPopupFocus, std::intptr_t{platform::focusedWindow() == popup ? 1 : 0});
    wrap(popup, popupProc, kPropKeptPopupProc);
}

void setupPopupFocus(WindowPtr window, std::int16_t idOrCommand) noexcept {
    if (idOrCommand < 0) return;
    setupPopupFocus(getControl(window, static_cast<unsigned long>(idOrCommand)));
}

}  // namespace lumbrel

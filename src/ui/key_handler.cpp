#include "ui/key_handler.h"

#include <string>

#include "platform/keyboard.h"
#include "ui/property_names.h"
#include "ui/ui_types.h"

namespace lumbrel {

namespace {

using platform::Key;
using platform::Message;
using platform::WindowRef;

bool shiftHeld() noexcept {
    platform::KeyMap keys{};
    platform::getKeys(keys);
    return platform::keyMapHolds(keys, platform::kKeyCodeShift) ||
           platform::keyMapHolds(keys, platform::kKeyCodeRightShift);
}

bool isMultiLineEdit(WindowRef window) {
    return platform::className(window) == platform::kEditClass &&
           (platform::windowStyle(window) & platform::style::kEditMultiLine) != 0;
}

platform::WindowProc keptProc(WindowRef window) noexcept {
    return reinterpret_cast<platform::WindowProc>(platform::property(window, kPropKeptProc));
}

std::intptr_t passOn(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    const platform::WindowProc kept = keptProc(window);
    if (kept != nullptr && kept != keyHandlerProc)
        return platform::callWindowProc(kept, window, message, wParam, lParam);
    return platform::defWindowProc(window, message, wParam, lParam);
}

// The dialog the control belongs to; null for a top-level window.
WindowRef dialogOf(WindowRef window) noexcept {
    WindowRef top = platform::topLevelWindow(window);
    return top == window ? nullptr : top;
}

bool fromOwnChild(WindowRef window, WindowRef sender) noexcept {
    return sender != nullptr && sender != window && platform::parentWindow(sender) == window;
}

WindowRef senderOf(Message message, std::intptr_t lParam) noexcept {
    switch (message) {
        case Message::Command:
            return reinterpret_cast<WindowRef>(lParam);
        case Message::DrawItem: {
            const auto* item = reinterpret_cast<const platform::DrawItem*>(lParam);
            return item != nullptr ? item->control : nullptr;
        }
        case Message::Notify: {
            const auto* info = reinterpret_cast<const platform::NotifyInfo*>(lParam);
            return info != nullptr ? info->from : nullptr;
        }
        default:
            return nullptr;
    }
}

}  // namespace

std::intptr_t LUMBREL_CALLBACK keyHandlerProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case Message::GetDialogCode:
            return platform::kWantAllKeys;
        case Message::KeyDown: {
            WindowRef dialog = dialogOf(window);
            if (dialog == nullptr) break;
            const auto key = static_cast<Key>(wParam);
            if (key == Key::Tab) {
                platform::sendMessage(dialog, Message::NextDialogControl, shiftHeld() ? 1U : 0U, 0);
                return 0;
            }
            // The dialog manager's rules, as the control took the keys from it.
            if (key == Key::Return && !isMultiLineEdit(window)) {
                int id = platform::defaultButtonId(dialog);
                WindowRef button = id != 0 ? platform::findChild(dialog, id) : nullptr;
                if (button == nullptr || !platform::isWindowEnabled(button)) {
                    id = kItemOK;
                    button = platform::findChild(dialog, id);
                }
                platform::sendMessage(dialog, Message::Command,
                                      platform::commandParam(id, platform::Notification::Clicked),
                                      reinterpret_cast<std::intptr_t>(button));
                return 0;
            }
            if (key == Key::Escape) {
                platform::sendMessage(dialog, Message::Command,
                                      platform::commandParam(kItemCancel, platform::Notification::Clicked),
                                      reinterpret_cast<std::intptr_t>(platform::findChild(dialog, kItemCancel)));
                return 0;
            }
            break;
        }
        case Message::Char: {
            if (dialogOf(window) == nullptr) break;
            if (wParam == static_cast<std::uintptr_t>(Key::Tab) || wParam == static_cast<std::uintptr_t>(Key::Escape))
                return 0;
            if (wParam == static_cast<std::uintptr_t>(Key::Return) && !isMultiLineEdit(window)) return 0;
            break;
        }
        case Message::Command:
        case Message::DrawItem:
        case Message::Notify:
            if (fromOwnChild(window, senderOf(message, lParam))) {
                if (WindowRef dialog = dialogOf(window)) return platform::sendMessage(dialog, message, wParam, lParam);
            }
            break;
        default:
            break;
    }
    return passOn(window, message, wParam, lParam);
}

void installKeyHandler(WindowRef control) noexcept {
    if (!platform::isWindow(control) || platform::windowProc(control) == keyHandlerProc) return;
    const platform::WindowProc old = platform::setWindowProc(control, keyHandlerProc);
    platform::setProperty(control, kPropKeptProc, reinterpret_cast<std::intptr_t>(old));
}

}  // namespace lumbrel

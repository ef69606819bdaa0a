#include "dialog_actions.h"

#include <vector>

#include "desktop/desktop.h"
#include "desktop/transcript.h"
#include "dialog_view.h"

namespace desktop::windows {

namespace ps = lumbrel::platform::style;
using lumbrel::platform::Key;
using lumbrel::platform::Notification;

namespace {

constexpr int kShiftKeyCode = 56;

// Code points of UTF-8 text; false on a malformed sequence.
bool decodeUtf8(const std::string& text, std::vector<char32_t>& out) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t c = lead;
        if (lead >= 0xF0 && lead < 0xF5) {
            length = 4;
            c = lead & 0x07U;
        } else if (lead >= 0xE0) {
            length = 3;
            c = lead & 0x0FU;
        } else if (lead >= 0xC2 && lead < 0xE0) {
            length = 2;
            c = lead & 0x1FU;
        } else if (lead >= 0x80) {
            return false;
        }
        if (lead >= 0xF5 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3FU);
        }
        out.push_back(c);
        i += length;
    }
    return true;
}

std::uintptr_t virtualKeyOf(char32_t c) noexcept {
    if (c >= U'a' && c <= U'z') return c - U'a' + U'A';
    return c;
}

void keyToControl(WindowRef target, Key key, char32_t character, bool withCharacter) {
    sendQuietly(target, Message::KeyDown, static_cast<std::uintptr_t>(key), 0);
    if (withCharacter) sendQuietly(target, Message::Char, character, 0);
}

std::string describeControl(const Window& w) {
    std::string out = std::to_string(w.id);
    if (!w.text.empty() && !(isEditClass(w) && (w.style & ps::kEditPassword) != 0)) {
        out += ' ';
        out += quoteForTranscript(w.text);
    }
    return out;
}

std::string masked(const Window& w, const std::string& text) {
    if (!isEditClass(w) || (w.style & ps::kEditPassword) == 0) return quoteForTranscript(text);
    std::vector<char32_t> points;
    decodeUtf8(text, points);
    return quoteForTranscript(std::string(points.size(), '*'));
}

ActionOutcome refuse(std::string line) { return {true, "refused " + line}; }

const char* verbOf(DialogAction::Kind kind) noexcept {
    switch (kind) {
        case DialogAction::Kind::SetText: return "set text";
        case DialogAction::Kind::Check: return "check";
        case DialogAction::Kind::Uncheck: return "uncheck";
        case DialogAction::Kind::Choose: return "choose";
        case DialogAction::Kind::Click: return "click";
        case DialogAction::Kind::ContextClick: return "context click";
        case DialogAction::Kind::Key: return "key";
        case DialogAction::Kind::Wait: return "wait";
        case DialogAction::Kind::CloseBox: return "close box";
        case DialogAction::Kind::None: break;
    }
    return "nothing";
}

// The control an action names: by title when one is given, else by identifier.
std::uint64_t targetOf(WindowRef dialog, const DialogAction& action) {
    const std::vector<std::uint64_t> all = descendants(toNumber(dialog));
    if (!action.title.empty()) {
        // A visible control with that title first, as the user sees only those.
        std::uint64_t hidden = 0;
        for (const std::uint64_t number : all) {
            const Window* w = find(number);
            if (w == nullptr || w->text != action.title) continue;
            if (lumbrel::platform::isWindowVisible(toRef(number))) return number;
            if (hidden == 0) hidden = number;
        }
        return hidden;
    }
    for (const std::uint64_t number : all) {
        const Window* w = find(number);
        if (w != nullptr && w->id == action.id) return number;
    }
    return 0;
}

std::string targetName(const DialogAction& action) {
    return action.title.empty() ? std::to_string(action.id) : "titled " + quoteForTranscript(action.title);
}

std::intptr_t pointInside(const Window& w) noexcept {
    const auto x = static_cast<std::uint32_t>(std::max(0, w.rect.width / 2)) & 0xFFFF;
    const auto y = static_cast<std::uint32_t>(std::max(0, w.rect.height / 2)) & 0xFFFF;
    return static_cast<std::intptr_t>((y << 16) | x);
}

bool isPushButton(const Window& w) noexcept {
    return isButtonClass(w) && (buttonType(w) == ps::kPushButton || buttonType(w) == ps::kDefPushButton);
}

// Return as the dialog manager takes it: a focused push button, else the
// default button if enabled, else IDOK.
void sendReturn(WindowRef dialog, WindowRef focused) {
    if (const Window* w = find(focused);
        w != nullptr && isPushButton(*w) && lumbrel::platform::topLevelWindow(focused) == dialog) {
        sendQuietly(dialog, Message::Command, lumbrel::platform::commandParam(w->id, Notification::Clicked),
                    reinterpret_cast<std::intptr_t>(focused));
        return;
    }
    int id = lumbrel::platform::defaultButtonId(dialog);
    WindowRef button = id != 0 ? lumbrel::platform::findChild(dialog, id) : nullptr;
    if (button == nullptr || !isEffectivelyEnabled(button)) {
        id = 1;
        button = lumbrel::platform::findChild(dialog, id);
    }
    sendQuietly(dialog, Message::Command, lumbrel::platform::commandParam(id, Notification::Clicked),
                reinterpret_cast<std::intptr_t>(button));
}

}  // namespace

void pressKey(WindowRef dialog, DialogKey key, const std::string& text) {
    const WindowRef focused = lumbrel::platform::focusedWindow();
    const bool inDialog = focused != nullptr && lumbrel::platform::topLevelWindow(focused) == dialog;
    const WindowRef target = inDialog ? focused : dialog;
    const auto code = [&](Key k) {
        if (target == dialog) return std::intptr_t{0};
        return sendQuietly(target, Message::GetDialogCode, static_cast<std::uintptr_t>(k), 0);
    };
    switch (key) {
        case DialogKey::Tab:
        case DialogKey::ShiftTab: {
            const bool shift = key == DialogKey::ShiftTab;
            if ((code(Key::Tab) & lumbrel::platform::kWantAllKeys) != 0) {
                Desktop& desk = Desktop::instance();
                const bool wasHeld = (desk.keyMap()[kShiftKeyCode / 8] & (1U << (kShiftKeyCode % 8))) != 0;
                if (shift) desk.setKeyHeld(kShiftKeyCode, true);
                keyToControl(target, Key::Tab, U'\t', true);
                if (shift && !wasHeld) desk.setKeyHeld(kShiftKeyCode, false);
            } else {
                sendQuietly(dialog, Message::NextDialogControl, shift ? 1 : 0, 0);
            }
            return;
        }
        case DialogKey::Return: {
            if ((code(Key::Return) & lumbrel::platform::kWantAllKeys) != 0) {
                keyToControl(target, Key::Return, U'\r', true);
                return;
            }
            sendReturn(dialog, focused);
            return;
        }
        case DialogKey::Escape:
            if ((code(Key::Escape) & lumbrel::platform::kWantAllKeys) != 0) {
                keyToControl(target, Key::Escape, 0x1B, true);
            } else {
                const WindowRef cancel = lumbrel::platform::findChild(dialog, static_cast<int>(kCloseResult));
                sendQuietly(dialog, Message::Command,
                            lumbrel::platform::commandParam(static_cast<int>(kCloseResult), Notification::Clicked),
                            reinterpret_cast<std::intptr_t>(cancel));
            }
            return;
        case DialogKey::Space: keyToControl(target, Key::Space, U' ', true); return;
        case DialogKey::Up: keyToControl(target, Key::Up, 0, false); return;
        case DialogKey::Down: keyToControl(target, Key::Down, 0, false); return;
        case DialogKey::Backspace:
            sendQuietly(target, Message::KeyDown, 0x08, 0);
            sendQuietly(target, Message::Char, 0x08, 0);
            return;
        case DialogKey::Character: {
            std::vector<char32_t> points;
            if (!decodeUtf8(text, points)) return;
            for (const char32_t c : points) {
                // Each key goes to whichever window has the focus by then.
                const WindowRef now = lumbrel::platform::focusedWindow();
                const WindowRef to =
                    now != nullptr && lumbrel::platform::topLevelWindow(now) == dialog ? now : dialog;
                sendQuietly(to, Message::KeyDown, virtualKeyOf(c), 0);
                sendQuietly(to, Message::Char, c, 0);
            }
            return;
        }
    }
}

ActionOutcome performAction(WindowRef dialog, const DialogAction& action) {
    using Kind = DialogAction::Kind;
    const std::string verb = verbOf(action.kind);
    switch (action.kind) {
        case Kind::None: return {};
        case Kind::Key: {
            if (action.key == DialogKey::Character) {
                std::vector<char32_t> points;
                if (action.text.empty() || !decodeUtf8(action.text, points)) {
                    return refuse("type " + quoteForTranscript(action.text) + ": no valid characters");
                }
                // What is typed into a password field stays unseen in the transcript too.
                const Window* focused = find(lumbrel::platform::focusedWindow());
                const std::string shown = focused != nullptr ? masked(*focused, action.text)
                                                             : quoteForTranscript(action.text);
                pressKey(dialog, action.key, action.text);
                return {false, "type " + shown};
            }
            pressKey(dialog, action.key, action.text);
            return {false, std::string("key ") + dialogKeyName(action.key)};
        }
        case Kind::Wait: {
            const long long passed = deliverNextTimer(0);
            if (passed < 0) return refuse("wait: no timer is running");
            return {false, "wait " + std::to_string(passed) + " ms"};
        }
        case Kind::CloseBox:
            sendQuietly(dialog, Message::Close, 0, 0);
            return {false, "close box"};
        default: break;
    }

    // Actions on one control.
    const std::uint64_t number = targetOf(dialog, action);
    const Window* w = find(number);
    if (w == nullptr) return refuse(verb + ' ' + targetName(action) + ": no such control");
    const WindowRef control = toRef(number);
    const std::string name = describeControl(*w);
    if (!lumbrel::platform::isWindowVisible(control)) return refuse(verb + ' ' + name + ": the control is hidden");
    if (!isEffectivelyEnabled(control)) return refuse(verb + ' ' + name + ": the control is disabled");

    switch (action.kind) {
        case Kind::Click:
            sendQuietly(control, Message::LeftButtonDown, 0, pointInside(*w));
            return {false, "click " + name};
        case Kind::ContextClick: {
            const WindowRect client = lumbrel::platform::clientRect(control);
            const lumbrel::platform::WindowPoint at{action.x >= 0 ? action.x : client.width / 2,
                                                    action.y >= 0 ? action.y : client.height / 2};
            if (at.x >= client.width || at.y >= client.height) {
                return refuse(verb + ' ' + name + " at " + std::to_string(at.x) + ',' + std::to_string(at.y) +
                              ": outside the control");
            }
            const std::string line = verb + ' ' + name + " at " + std::to_string(at.x) + ',' + std::to_string(at.y);
            sendQuietly(control, Message::ContextMenu, reinterpret_cast<std::uintptr_t>(control),
                        lumbrel::platform::pointParam(lumbrel::platform::clientToScreen(control, at)));
            return {false, line};
        }
        case Kind::SetText: {
            const bool editable = isEditClass(*w) ||
                                  (isComboClass(*w) && (w->style & ps::kComboTypeMask) == ps::kComboDropDown);
            if (!editable) return refuse(verb + ' ' + name + ": the control takes no typing");
            const std::string line = "set text " + std::to_string(w->id) + ' ' + masked(*w, action.text);
            // An edit field reports its new text itself.
            const bool reportsItself = isEditClass(*w) && (w->style & ps::kEditMultiLine) == 0;
            lumbrel::platform::setFocus(control);
            if (find(number) == nullptr) return {false, line};
            lumbrel::platform::setWindowText(control, action.text);
            lumbrel::platform::setEditSelection(control, -1, -1);
            if (!reportsItself) notifyParent(control, Notification::EditChange);
            return {false, line};
        }
        case Kind::Check:
        case Kind::Uncheck: {
            const bool wanted = action.kind == Kind::Check;
            if (!isCheckBox(*w) && !isRadioButton(*w)) return refuse(verb + ' ' + name + ": not a check box or radio button");
            if (!wanted && isRadioButton(*w)) {
                return refuse(verb + ' ' + name + ": a radio button is unchecked by choosing another");
            }
            if ((w->value != 0) == wanted) return {false, verb + ' ' + name + " (already)"};
            sendQuietly(control, Message::LeftButtonDown, 0, pointInside(*w));
            return {false, verb + ' ' + name};
        }
        case Kind::Choose: {
            if (!hasItems(*w)) return refuse(verb + ' ' + name + ": the control has no items");
            int index = -1;
            if (!action.text.empty()) {
                for (std::size_t i = 0; i < w->items.size(); ++i) {
                    if (w->items[i].text == action.text) {
                        index = static_cast<int>(i);
                        break;
                    }
                }
                if (index < 0) return refuse(verb + ' ' + name + ": no item " + quoteForTranscript(action.text));
            } else {
                index = action.index;
                if (index < 0 || static_cast<std::size_t>(index) >= w->items.size()) {
                    return refuse(verb + ' ' + name + ": no item " + std::to_string(index));
                }
            }
            const std::string line = verb + ' ' + std::to_string(w->id) + ' ' +
                                     quoteForTranscript(w->items[static_cast<std::size_t>(index)].text);
            if (!isTabClass(*w)) lumbrel::platform::setFocus(control);
            chooseItem(control, index);
            return {false, line};
        }
        default: break;
    }
    return refuse(verb);
}

}  // namespace desktop::windows

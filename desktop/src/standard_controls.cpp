// The standard classes' own behaviour, as defWindowProc gives it to windows
// whose procedure does not handle a message: buttons, edit fields, lists,
// pop-ups, tab controls and the dialog shells.
#include <algorithm>
#include <vector>

#include "desktop/utf8.h"
#include "windows_state.h"

namespace desktop::windows {

namespace ps = lumbrel::platform::style;
using lumbrel::platform::Key;
using lumbrel::platform::Notification;

namespace {

constexpr int kListRowHeight = 16;


bool acceptsTyping(const Window& w) noexcept {
    return isEditClass(w) || (isComboClass(w) && (w.style & ps::kComboTypeMask) == ps::kComboDropDown);
}

// Typing into an edit field (or the field of an editable combo box).
void typeCharacter(WindowRef window, std::uintptr_t code) noexcept {
    Window* w = find(window);
    if (w == nullptr || !acceptsTyping(*w)) return;
    const auto c = static_cast<char32_t>(code);
    const bool multiLine = isEditClass(*w) && (w->style & ps::kEditMultiLine) != 0;
    std::string inserted;
    bool backspace = false;
    try {
        if (c == 0x08) {
            backspace = true;
        } else if (c == U'\r' || c == U'\n') {
            if (!multiLine || (w->style & ps::kEditWantReturn) == 0) return;
            inserted = "\r\n";
        } else if (c < 0x20 || c == 0x7F || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
            return;
        } else {
            desktop::appendUtf8(inserted, c);
        }
        const auto size = static_cast<int>(std::min<std::size_t>(w->text.size(), 0x7FFFFFFF));
        int start = std::clamp(w->selectionStart, 0, size);
        const int end = std::clamp(w->selectionEnd, start, size);
        if (backspace && start == end) {
            if (start == 0) return;
            // One whole character back, and a line break as one.
            --start;
            while (start > 0 && (static_cast<unsigned char>(w->text[static_cast<std::size_t>(start)]) & 0xC0) == 0x80) {
                --start;
            }
            if (start > 0 && w->text[static_cast<std::size_t>(start)] == '\n' &&
                w->text[static_cast<std::size_t>(start - 1)] == '\r') {
                --start;
            }
        }
        w->text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), inserted);
        w->selectionStart = w->selectionEnd = start + static_cast<int>(inserted.size());
        ++w->invalidations;
    } catch (...) {
        return;
    }
    notifyParent(window, Notification::EditChange);
}

int tabAt(const Window& w, int x) noexcept {
    int left = 0;
    for (std::size_t i = 0; i < w.items.size(); ++i) {
        const int width = tabLabelWidth(w.items[i].text);
        if (x >= left && x < left + width) return static_cast<int>(i);
        left += width;
    }
    return -1;
}

std::intptr_t dialogDefault(WindowRef window, Message message, std::uintptr_t wParam) {
    switch (message) {
        case Message::NextDialogControl:
            moveDialogFocus(window, wParam != 0);
            return 0;
        case Message::Close: {
            // As Windows does: the close box is the Cancel command.
            const WindowRef cancel = lumbrel::platform::findChild(window, static_cast<int>(kCloseResult));
            sendQuietly(window, Message::Command,
                        lumbrel::platform::commandParam(static_cast<int>(kCloseResult), Notification::Clicked),
                        reinterpret_cast<std::intptr_t>(cancel));
            return 0;
        }
        default: return 0;
    }
}

std::intptr_t leftButtonDown(WindowRef window, std::intptr_t lParam) {
    const Window* w = find(window);
    if (w == nullptr || (w->style & ps::kDisabled) != 0) return 0;
    const int x = static_cast<int>(static_cast<std::uint32_t>(lParam) & 0xFFFF);
    const int y = static_cast<int>((static_cast<std::uint32_t>(lParam) >> 16) & 0xFFFF);
    if (isButtonClass(*w)) {
        if (buttonType(*w) == ps::kGroupBox) return 0;
        lumbrel::platform::setFocus(window);
        clickButton(window);
    } else if (isEditClass(*w)) {
        lumbrel::platform::setFocus(window);
        lumbrel::platform::setEditSelection(window, -1, -1);
    } else if (isListClass(*w)) {
        const int row = y / kListRowHeight;
        lumbrel::platform::setFocus(window);
        chooseItem(window, row);
    } else if (isComboClass(*w)) {
        lumbrel::platform::setFocus(window);
        std::vector<std::string> items;
        for (const auto& item : w->items) items.push_back(item.text);
        const int value = w->value;
        const lumbrel::platform::WindowRect at = lumbrel::platform::windowRect(window);
        const int chosen = lumbrel::platform::trackPopupMenu(
            lumbrel::platform::topLevelWindow(window), items, at.left, at.top + at.height, value);
        if (chosen >= 0) {
            chooseItem(window, chosen);
        } else {
            notifyParent(window, Notification::CloseUp);
        }
    } else if (isTabClass(*w)) {
        const int tab = tabAt(*w, x);
        lumbrel::platform::setFocus(window);
        if (tab >= 0) chooseItem(window, tab);
    }
    return 0;
}

std::intptr_t keyDown(WindowRef window, std::uintptr_t key) {
    const Window* w = find(window);
    if (w == nullptr) return 0;
    if (isButtonClass(*w) && key == static_cast<std::uintptr_t>(Key::Space) && buttonType(*w) != ps::kGroupBox) {
        clickButton(window);
    } else if ((isListClass(*w) || isComboClass(*w)) &&
               (key == static_cast<std::uintptr_t>(Key::Up) || key == static_cast<std::uintptr_t>(Key::Down))) {
        const int step = key == static_cast<std::uintptr_t>(Key::Up) ? -1 : 1;
        const int count = static_cast<int>(w->items.size());
        if (count == 0) return 0;
        const int next = std::clamp(w->value < 0 ? 0 : w->value + step, 0, count - 1);
        if (next != w->value) chooseItem(window, next);
    }
    return 0;
}

}  // namespace

int tabLabelWidth(std::string_view label) noexcept {
    int characters = 0;
    for (const char c : label) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    }
    return 16 + 7 * characters;
}

void clickButton(WindowRef button) noexcept {
    Window* w = find(button);
    if (w == nullptr || !isButtonClass(*w)) return;
    const std::uint32_t type = buttonType(*w);
    if (type == ps::kGroupBox) return;
    if (type == ps::kAutoCheckBox) {
        w->value = w->value != 0 ? 0 : 1;
        ++w->invalidations;
    } else if (type == ps::kAutoRadioButton) {
        w->value = 1;
        ++w->invalidations;
        // The group: back to the sibling that starts it (kGroup), on to the next one that does.
        if (const Window* parent = find(w->parent)) {
            const std::vector<std::uint64_t> siblings = parent->children;
            const auto self = std::find(siblings.begin(), siblings.end(), w->number);
            auto first = self;
            while (first != siblings.begin()) {
                const Window* at = find(*first);
                if (at != nullptr && (at->style & ps::kGroup) != 0) break;
                --first;
            }
            for (auto at = first; at != siblings.end(); ++at) {
                Window* other = find(*at);
                if (other == nullptr) continue;
                if (at != first && (other->style & ps::kGroup) != 0) break;
                if (other->number != w->number && isButtonClass(*other) && buttonType(*other) == ps::kAutoRadioButton &&
                    other->value != 0) {
                    other->value = 0;
                    ++other->invalidations;
                }
            }
        }
    }
    notifyParent(button, Notification::Clicked);
}

bool chooseItem(WindowRef control, int index) noexcept {
    Window* w = find(control);
    if (w == nullptr || !hasItems(*w) || index < 0 || static_cast<std::size_t>(index) >= w->items.size()) return false;
    if (isListClass(*w)) {
        if (isMultipleSelection(*w)) {
            for (auto& item : w->items) item.selected = false;
            w->items[static_cast<std::size_t>(index)].selected = true;
        }
        w->value = index;
        ++w->invalidations;
        if ((w->style & ps::kListNotify) != 0) notifyParent(control, Notification::SelectionChange);
    } else if (isComboClass(*w)) {
        w->value = index;
        try {
            w->text = w->items[static_cast<std::size_t>(index)].text;
        } catch (...) {
        }
        ++w->invalidations;
        notifyParent(control, Notification::SelectionChange);
        notifyParent(control, Notification::CloseUp);
    } else {
        w->value = index;
        ++w->invalidations;
        lumbrel::platform::NotifyInfo info{control, static_cast<std::uintptr_t>(w->id), lumbrel::platform::kTabSelectionChanged};
        if (w->parent != 0) {
            sendQuietly(toRef(w->parent), Message::Notify, static_cast<std::uintptr_t>(static_cast<std::uint32_t>(w->id)),
                        reinterpret_cast<std::intptr_t>(&info));
        }
    }
    return true;
}

}  // namespace desktop::windows

namespace lumbrel::platform {

std::intptr_t defWindowProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    namespace dw = desktop::windows;
    const dw::Window* w = dw::find(window);
    if (w == nullptr) return 0;
    if (w->isDialog || w->className == dw::kDialogClass) return dw::dialogDefault(window, message, wParam);
    switch (message) {
        case Message::LeftButtonDown: return dw::leftButtonDown(window, lParam);
        case Message::KeyDown: return dw::keyDown(window, wParam);
        case Message::Char: dw::typeCharacter(window, wParam); return 0;
        // Nobody below took the context click: the parent may (as DefWindowProc does).
        case Message::ContextMenu:
            return w->parent != 0 ? dw::sendQuietly(dw::toRef(w->parent), message, wParam, lParam) : 0;
        default: return 0;
    }
}

}  // namespace lumbrel::platform

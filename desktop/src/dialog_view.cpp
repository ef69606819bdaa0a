#include "dialog_view.h"

#include <algorithm>

namespace desktop::windows {

namespace ps = lumbrel::platform::style;

ControlKind controlKindOf(const Window& w) noexcept {
    using lumbrel::platform::kStaticClass;
    if (isButtonClass(w)) {
        if (isCheckBox(w)) return ControlKind::CheckBox;
        if (isRadioButton(w)) return ControlKind::RadioButton;
        const std::uint32_t type = buttonType(w);
        if (type == ps::kGroupBox) return ControlKind::GroupBox;
        return type == ps::kDefPushButton ? ControlKind::DefaultButton : ControlKind::PushButton;
    }
    if (w.className == kStaticClass) return ControlKind::StaticText;
    if (isEditClass(w)) return ControlKind::EditText;
    if (isListClass(w)) return ControlKind::ListBox;
    if (isComboClass(w)) {
        return (w.style & ps::kComboTypeMask) == ps::kComboDropDown ? ControlKind::ComboBox : ControlKind::PopUp;
    }
    if (isProgressClass(w)) return ControlKind::ProgressBar;
    if (isTabClass(w)) return ControlKind::TabControl;
    return ControlKind::Custom;
}

WindowRect rectIn(std::uint64_t top, std::uint64_t number) noexcept {
    const Window* w = find(number);
    if (w == nullptr) return {};
    WindowRect rect = w->rect;
    rect.left = 0;
    rect.top = 0;
    const Window* at = w;
    while (at != nullptr && at->number != top) {
        rect.left += at->rect.left;
        rect.top += at->rect.top;
        const Window* parent = find(at->parent);
        if (parent == nullptr) break;
        int x = 0;
        int y = 0;
        if (parent->number != top) clientOrigin(*parent, x, y);
        rect.left += x;
        rect.top += y;
        at = parent;
    }
    return rect;
}

bool isEffectivelyEnabled(WindowRef window) noexcept {
    for (const Window* w = find(window); w != nullptr; w = find(w->parent)) {
        if ((w->style & ps::kDisabled) != 0) return false;
    }
    return find(window) != nullptr;
}

bool dialogHasTimer(std::uint64_t dialog) noexcept {
    for (const auto& timer : state().timers) {
        if (lumbrel::platform::topLevelWindow(toRef(timer.window)) == toRef(dialog)) return true;
    }
    return false;
}

long long deliverNextTimer(std::uint64_t dialog) {
    State& s = state();
    const Timer* next = nullptr;
    for (const auto& timer : s.timers) {
        if (dialog != 0 && lumbrel::platform::topLevelWindow(toRef(timer.window)) != toRef(dialog)) continue;
        if (next == nullptr || timer.due < next->due || (timer.due == next->due && timer.order < next->order)) {
            next = &timer;
        }
    }
    if (next == nullptr) return -1;
    const std::uint64_t before = s.clock;
    s.clock = std::max(s.clock, next->due);
    const std::uint64_t window = next->window;
    const std::uintptr_t id = next->id;
    // Rescheduled before the procedure runs: it may kill or reset the timer.
    for (auto& timer : s.timers) {
        if (timer.window == window && timer.id == id) timer.due = s.clock + timer.period;
    }
    sendQuietly(toRef(window), Message::Timer, id, 0);
    return static_cast<long long>(s.clock - before);
}

DialogRequest describeDialog(WindowRef dialog) {
    DialogRequest request;
    const Window* shell = find(dialog);
    if (shell == nullptr) return request;
    request.dialog = dialog;
    request.title = shell->text;
    const std::uint64_t top = shell->number;
    request.timerRunning = dialogHasTimer(top);
    const std::uint64_t focus = state().focus;
    for (const std::uint64_t number : descendants(top)) {
        const Window* w = find(number);
        if (w == nullptr) continue;
        ControlView view;
        view.window = toRef(number);
        view.id = w->id;
        view.className = w->className;
        view.kind = controlKindOf(*w);
        view.style = w->style;
        view.text = w->text;
        view.value = w->value;
        view.minimum = w->minimum;
        view.maximum = w->maximum;
        for (std::size_t i = 0; i < w->items.size(); ++i) {
            view.items.push_back(w->items[i].text);
            const bool selected = isMultipleSelection(*w) ? w->items[i].selected : w->value == static_cast<int>(i);
            if (isListClass(*w) && selected) view.selectedItems.push_back(static_cast<int>(i));
        }
        view.enabled = isEffectivelyEnabled(view.window);
        view.visible = lumbrel::platform::isWindowVisible(view.window);
        view.focused = number == focus;
        view.password = isEditClass(*w) && (w->style & ps::kEditPassword) != 0;
        view.multiLine = isEditClass(*w) && (w->style & ps::kEditMultiLine) != 0;
        int depth = 0;
        for (const Window* up = w; up != nullptr && up->number != top; up = find(up->parent)) ++depth;
        view.depth = depth;
        const Window* parent = find(w->parent);
        view.parentId = parent == nullptr || parent->number == top ? 0 : parent->id;
        const WindowRect rect = rectIn(top, number);
        view.rect = {rect.left, rect.top, rect.width, rect.height};
        if (view.focused) request.focusedId = w->id;
        request.controls.push_back(std::move(view));
    }
    return request;
}

}  // namespace desktop::windows

// Window procedures, sent and posted messages, the keyboard focus and timers.
#include <algorithm>

#include "windows_state.h"

namespace lumbrel::platform {

using desktop::windows::find;
using desktop::windows::sendQuietly;
using desktop::windows::state;
using desktop::windows::toNumber;
using desktop::windows::toRef;
namespace dw = desktop::windows;

WindowProc setWindowProc(WindowRef window, WindowProc procedure) noexcept {
    dw::Window* w = find(window);
    if (w == nullptr || procedure == nullptr) return nullptr;
    const WindowProc old = w->procedure;
    w->procedure = procedure;
    return old;
}

WindowProc windowProc(WindowRef window) noexcept {
    const dw::Window* w = find(window);
    return w != nullptr ? w->procedure : nullptr;
}

std::intptr_t callWindowProc(WindowProc procedure, WindowRef window, Message message, std::uintptr_t wParam,
                             std::intptr_t lParam) {
    if (procedure == nullptr || find(window) == nullptr) return 0;
    return procedure(window, message, wParam, lParam);
}

std::intptr_t sendMessage(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    const dw::Window* w = find(window);
    if (w == nullptr || w->procedure == nullptr) return 0;
    const WindowProc procedure = w->procedure;  // the window may be gone once it returns
    return procedure(window, message, wParam, lParam);
}

bool postMessage(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) noexcept {
    const dw::Window* w = find(window);
    if (w == nullptr) return false;
    try {
        state().posted.push_back({w->number, message, wParam, lParam});
    } catch (...) {
        return false;
    }
    return true;
}

WindowRef setFocus(WindowRef window) noexcept {
    dw::State& s = state();
    const std::uint64_t old = s.focus;
    const std::uint64_t wanted = window == nullptr ? 0 : toNumber(window);
    if (wanted != 0 && find(wanted) == nullptr) return toRef(find(old) != nullptr ? old : 0);
    if (wanted == old) return toRef(old);
    s.focus = wanted;
    if (find(old) != nullptr) sendQuietly(toRef(old), Message::KillFocus, reinterpret_cast<std::uintptr_t>(window), 0);
    // The old window's procedure may have moved the focus elsewhere already.
    if (wanted != 0 && s.focus == wanted && find(wanted) != nullptr) {
        sendQuietly(window, Message::SetFocus, reinterpret_cast<std::uintptr_t>(toRef(old)), 0);
    }
    return toRef(find(old) != nullptr ? old : 0);
}

WindowRef focusedWindow() noexcept {
    const std::uint64_t focus = state().focus;
    return find(focus) != nullptr ? toRef(focus) : nullptr;
}

bool setTimer(WindowRef window, std::uintptr_t id, unsigned periodMs) noexcept {
    const dw::Window* w = find(window);
    if (w == nullptr) return false;
    dw::State& s = state();
    // A period of 0 still lets the clock move, so a timer cannot starve the loop.
    const unsigned period = std::max(periodMs, 1U);
    for (auto& timer : s.timers) {
        if (timer.window == w->number && timer.id == id) {
            timer.period = period;
            timer.due = s.clock + period;
            timer.order = ++s.timerOrder;
            return true;
        }
    }
    try {
        s.timers.push_back({w->number, id, period, s.clock + period, ++s.timerOrder});
    } catch (...) {
        return false;
    }
    return true;
}

void killTimer(WindowRef window, std::uintptr_t id) noexcept {
    const std::uint64_t number = toNumber(window);
    auto& timers = state().timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [&](const dw::Timer& t) { return t.window == number && t.id == id; }),
                 timers.end());
}

int defaultButtonId(WindowRef dialog) noexcept {
    if (find(dialog) == nullptr) return 0;
    try {
        for (const std::uint64_t number : dw::descendants(toNumber(dialog))) {
            const dw::Window* w = find(number);
            if (w != nullptr && dw::isButtonClass(*w) && dw::buttonType(*w) == style::kDefPushButton) return w->id;
        }
    } catch (...) {
    }
    return 0;
}

}  // namespace lumbrel::platform

namespace desktop::windows {

namespace ps = lumbrel::platform::style;

namespace {

// The Tab order of the dialog manager (GetNextDlgTabItem): children in their
// order, a visible, enabled tab stop taken, a visible, enabled child styled
// kExControlParent entered instead of taken. Any other container keeps its
// controls out of the walk.
void collectTabStops(const Window& parent, std::vector<std::uint64_t>& out) {
    for (const std::uint64_t number : parent.children) {
        const Window* w = find(number);
        if (w == nullptr || (w->style & ps::kVisible) == 0 || (w->style & ps::kDisabled) != 0) continue;
        if ((w->exStyle & ps::kExControlParent) != 0) {
            collectTabStops(*w, out);
        } else if ((w->style & ps::kTabStop) != 0) {
            out.push_back(number);
        }
    }
}

}  // namespace

void moveDialogFocus(WindowRef dialog, bool previous) noexcept {
    const Window* top = find(dialog);
    if (top == nullptr) return;
    std::vector<std::uint64_t> candidates;
    try {
        collectTabStops(*top, candidates);
    } catch (...) {
        return;
    }
    if (candidates.empty()) return;
    // The current control: the focused one, or the control holding it.
    std::size_t current = candidates.size();
    for (std::uint64_t at = state().focus; at != 0 && current == candidates.size();) {
        const auto found = std::find(candidates.begin(), candidates.end(), at);
        if (found != candidates.end()) current = static_cast<std::size_t>(found - candidates.begin());
        const Window* w = find(at);
        at = w != nullptr ? w->parent : 0;
    }
    std::size_t next = 0;
    if (current == candidates.size()) {
        next = previous ? candidates.size() - 1 : 0;
    } else if (previous) {
        next = current == 0 ? candidates.size() - 1 : current - 1;
    } else {
        next = current + 1 == candidates.size() ? 0 : current + 1;
    }
    const WindowRef target = toRef(candidates[next]);
    lumbrel::platform::setFocus(target);
    if (const Window* w = find(target); w != nullptr && isEditClass(*w)) {
        lumbrel::platform::setEditSelection(target, 0, -1);
    }
}

}  // namespace desktop::windows

// The simulator's and the tests' view of the window manager.
#include <algorithm>

#include "desktop/desktop.h"
#include "desktop/transcript.h"
#include "dialog_actions.h"
#include "dialog_view.h"
#include "state.h"
#include "windows_state.h"

namespace desktop {

using lumbrel::platform::WindowRef;

WindowRef Desktop::frontDialog() const noexcept {
    const auto& loops = windows::state().loops;
    for (auto loop = loops.rbegin(); loop != loops.rend(); ++loop) {
        if (windows::find(loop->dialog) != nullptr) return windows::toRef(loop->dialog);
    }
    return nullptr;
}

std::vector<WindowRef> Desktop::topLevelWindows() const {
    std::vector<std::uint64_t> numbers;
    for (const auto& entry : windows::state().windows) {
        if (entry.second->parent == 0) numbers.push_back(entry.first);
    }
    std::sort(numbers.begin(), numbers.end());
    std::vector<WindowRef> out;
    out.reserve(numbers.size());
    for (const std::uint64_t number : numbers) out.push_back(windows::toRef(number));
    return out;
}

WindowRef Desktop::windowTitled(std::string_view title) const {
    const std::vector<WindowRef> all = topLevelWindows();
    for (auto at = all.rbegin(); at != all.rend(); ++at) {
        const windows::Window* w = windows::find(*at);
        if (w != nullptr && w->text == title) return *at;
    }
    return nullptr;
}

DialogRequest Desktop::describeDialog(WindowRef dialog) const { return windows::describeDialog(dialog); }

Desktop::WindowActionResult Desktop::actInWindow(WindowRef window, const DialogAction& action) {
    const windows::Window* w = windows::find(window);
    if (w == nullptr || w->parent != 0) return {true, "no such window"};
    if (windows::findLoop(w->number) != nullptr) return {true, "the window runs a modal loop; queue the action instead"};
    const std::string prefix = "dialog " + quoteForTranscript(w->text) + ": ";
    const windows::ActionOutcome outcome = windows::performAction(window, action);
    state().transcript.add(EntryKind::Dialog, prefix + outcome.line);
    deliverPostedMessages();
    return {outcome.refused, outcome.line};
}

std::size_t Desktop::liveWindowCount() const noexcept { return windows::state().windows.size(); }

std::size_t Desktop::modalDepth() const noexcept { return windows::state().loops.size(); }

std::uint64_t Desktop::clockMilliseconds() const noexcept { return windows::state().clock; }

std::size_t Desktop::deliverPostedMessages(std::size_t limit) {
    std::size_t delivered = 0;
    auto& posted = windows::state().posted;
    while (!posted.empty() && delivered < limit) {
        const windows::Posted message = posted.front();
        posted.pop_front();
        windows::sendQuietly(windows::toRef(message.window), message.message, message.wParam, message.lParam);
        ++delivered;
    }
    return delivered;
}

std::size_t Desktop::advanceClock(std::uint64_t milliseconds) {
    windows::State& s = windows::state();
    const std::uint64_t target = s.clock + milliseconds;
    std::size_t fired = 0;
    // Bounded: a timer of 1 ms over a long stretch still ends.
    while (fired < 10000000) {
        const windows::Timer* next = nullptr;
        for (const auto& timer : s.timers) {
            if (timer.due > target) continue;
            if (next == nullptr || timer.due < next->due || (timer.due == next->due && timer.order < next->order)) {
                next = &timer;
            }
        }
        if (next == nullptr) break;
        windows::deliverNextTimer(0);
        ++fired;
    }
    s.clock = std::max(s.clock, target);
    return fired;
}

void Desktop::setModalTurnLimit(std::uint64_t turns) noexcept { windows::state().modalTurnLimit = std::max<std::uint64_t>(turns, 1); }

std::size_t Desktop::invalidationCount(WindowRef window) const noexcept {
    const windows::Window* w = windows::find(window);
    return w != nullptr ? w->invalidations : 0;
}

}  // namespace desktop

// The modal and modeless dialog shells, handlers, timers, progress and
// text-entry dialogs.
#include "ui/dialog_functions.h"

#include <cmath>
#include <string>
#include <vector>

#include "platform/platform_traits.h"
#include "settings/localised_strings.h"
#include "ui/control_kind.h"
#include "ui/controls.h"
#include "ui/description_builder.h"
#include "ui/list_box.h"
#include "util/bounded.h"
#include "util/log.h"
#include "util/my_str.h"

namespace lumbrel {

namespace {

using platform::Message;
using platform::Notification;

constexpr std::uintptr_t kTimerId = 1;
constexpr std::size_t kMaxFocusCandidates = 511;
constexpr unsigned long kStringItem = 3;

// Messages the modeless shell leaves out of the log: WM_SETCURSOR,
// WM_NCHITTEST, WM_NCMOUSEMOVE.
constexpr std::uint32_t kSetCursorMessage = 0x0020;
constexpr std::uint32_t kHitTestMessage = 0x0084;
constexpr std::uint32_t kNonClientMouseMoveMessage = 0x00A0;

struct DialogRun {
    const char* name = nullptr;
    DialogStartProc start = nullptr;
    WindowHandlerProc close = nullptr;
    std::intptr_t user = 0;
    bool made = false;
};

std::intptr_t windowUser(WindowPtr window) noexcept { return static_cast<std::intptr_t>(getWindowProperty(window, kTagUser)); }

// Builds, places and localises the dialog and lets the caller prepare it.
bool prepareDialog(WindowPtr window, DialogRun& run) {
    if (run.name == nullptr || !buildDialog(window, run.name)) return false;
    placeDialog(window);
    localiseWindow(window);
    setWindowProperty(window, kTagUser, run.user);
    if (run.close != nullptr) setWindowHandler(window, kEventWindowClose, run.close);
    if (run.start != nullptr && !run.start(window, run.user)) return false;
    run.made = true;
    return true;
}

void endModal(WindowPtr window, std::uint32_t code) {
    removeTimer(window);
    platform::endDialog(window, static_cast<std::intptr_t>(code));
}

// A modeless dialog "ends" by closing.
void endDialogWindow(WindowPtr window, std::uint32_t code, bool modal) {
    if (modal) {
        endModal(window, code);
    } else {
        removeTimer(window);
        platform::destroyWindow(window);
    }
}

ControlRef commandControl(WindowPtr window, int id, std::intptr_t lParam) {
    if (lParam != 0) return reinterpret_cast<ControlRef>(lParam);
    if (id < 0) return nullptr;
    return getControl(window, static_cast<unsigned long>(id));
}

bool callControlHandler(ControlRef control, WindowPtr window, bool& answer) {
    const ControlProc proc = getControlProc(control);
    if (proc == nullptr) return false;
    answer = proc(control, window, getControlUserData(control));
    return true;
}

void onCommand(WindowPtr window, std::uintptr_t wParam, std::intptr_t lParam, bool modal) {
    const int id = platform::commandId(wParam);
    const Notification notification = platform::commandNotification(wParam);
    ControlRef control = commandControl(window, id, lParam);
    const std::uint32_t command = control != nullptr ? getControlCommandID(control) : 0;
    const bool isOK = id == kItemOK || command == kCmdOK;
    const bool isCancel = !isOK && (id == kItemCancel || command == kCmdCancel);
    if (isOK || isCancel) {
        if (notification != Notification::Clicked) return;
        // Return asks for OK whether or not there is one: a dialog without an
        // OK button the user could press (the progress dialog, or OK disabled
        // or hidden) is not ended by it. Cancel stays open to the keyboard.
        if (isOK && !canBePressed(control)) return;
        bool keep = false;
        if (control != nullptr && callControlHandler(control, window, keep) && keep) return;
        endDialogWindow(window, isOK ? kCmdOK : kCmdCancel, modal);
        return;
    }
    if (control == nullptr) return;
    const std::uint32_t kind = getControlKind(control);
    // A pop-up's choice is made when its list closes, not while it is browsed.
    if ((kind == kKindPopup || kind == kKindCombo) && notification != Notification::CloseUp) return;
    bool ignored = false;
    callControlHandler(control, window, ignored);
}

void onClose(WindowPtr window, bool modal) {
    const auto close = reinterpret_cast<WindowHandlerProc>(getWindowProperty(window, kTagClose));
    if (close != nullptr && close(window, windowUser(window))) return;
    endDialogWindow(window, kCmdCancel, modal);
}

void onTabChange(WindowPtr window, const platform::NotifyInfo& info) {
    ControlRef tabs = info.from;
    if (tabs == nullptr || getControlKind(tabs) != kKindTabs) return;
    bool handled = false;
    if (callControlHandler(tabs, window, handled) && handled) return;
    showTabs(tabs);
}

std::intptr_t modalDialogProc(platform::WindowRef window, Message message, std::uintptr_t wParam,
                              std::intptr_t lParam) {
    switch (message) {
        case Message::InitDialog: {
            auto* run = reinterpret_cast<DialogRun*>(lParam);
            if (run == nullptr || !prepareDialog(window, *run)) {
                platform::endDialog(window, 0);
                return 0;
            }
            // Nonzero asks for the focus on the first control, unless the start function placed it.
            const auto focused = platform::focusedWindow();
            return focused != nullptr && platform::topLevelWindow(focused) == window ? 0 : 1;
        }
        case Message::Command:
            onCommand(window, wParam, lParam, true);
            return 0;
        case Message::Close:
            onClose(window, true);
            return 0;
        case Message::Destroy:
            // The window manager releases the properties (string copies included) with the window.
            removeTimer(window);
            break;
        default:
            if (handleCommonDialogMessage(window, message, wParam, lParam)) return 0;
            break;
    }
    return platform::defWindowProc(window, message, wParam, lParam);
}

std::intptr_t modelessDialogProc(platform::WindowRef window, Message message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    const auto number = static_cast<std::uint32_t>(message);
    if (number != kSetCursorMessage && number != kHitTestMessage && number != kNonClientMouseMoveMessage) {
        dprintf(": msg = %x, wParam = %08x, lParam = %08x\r\n", number, static_cast<std::uint32_t>(wParam),
                static_cast<std::uint32_t>(lParam));
    }
    switch (message) {
        case Message::InitDialog: {
            auto* run = reinterpret_cast<DialogRun*>(lParam);
            if (run != nullptr) prepareDialog(window, *run);
            return 0;
        }
        case Message::Command:
            onCommand(window, wParam, lParam, false);
            return 0;
        case Message::Close:
            onClose(window, false);
            return 0;
        case Message::Destroy:
            removeTimer(window);
            break;
        default:
            if (handleCommonDialogMessage(window, message, wParam, lParam)) return 0;
            break;
    }
    return platform::defWindowProc(window, message, wParam, lParam);
}

void collectFocusCandidates(platform::WindowRef window, std::vector<platform::WindowRef>& out) {
    for (auto child = platform::firstChild(window); child != nullptr; child = platform::nextSibling(child)) {
        if (out.size() >= kMaxFocusCandidates) return;
        if (!platform::isWindowShown(child) || !platform::isWindowEnabled(child)) continue;
        const std::string cls = platform::className(child);
        if ((platform::windowStyle(child) & platform::style::kTabStop) != 0 && cls != kUserPaneClass) {
            out.push_back(child);
        }
        // A combo box's own edit field is no stop of its own.
        if (cls != platform::kComboBoxClass) collectFocusCandidates(child, out);
    }
}

// ---- Progress ---------------------------------------------------------------------

struct ProgressRun {
    const char* title = nullptr;
    ProgressStepProc step = nullptr;
    MyArray* items = nullptr;
    std::intptr_t user = 0;
    std::int32_t next = 0;
    bool done = false;
};

bool progressTick(WindowPtr window, std::intptr_t value) {
    auto* run = reinterpret_cast<ProgressRun*>(value);
    if (run == nullptr || run->done) return false;
    ControlRef bar = getControl(window, kCmdProgressBar);
    const std::int32_t count = run->items->getCount();
    if (run->next >= count) {
        run->done = true;
        quitModalDialog(window, kCmdOK);
        return false;
    }
    const std::int32_t index = run->next++;
    if (bar != nullptr) lumbrel::setControlValue(bar, run->next);
    if (!run->step(window, run->items->getElem(index), run->user)) {
        run->done = true;
        endModal(window, 0);
        return false;
    }
    return true;
}

bool progressStart(WindowPtr window, std::intptr_t value) {
    auto* run = reinterpret_cast<ProgressRun*>(value);
    setWindowTitle(window, run->title);
    ControlRef cancel = getControl(window, kCmdCancel);
    if (cancel == nullptr) cancel = getControl(window, static_cast<unsigned long>(kItemCancel));
    if (cancel != nullptr) {
        char text[kShortTextSize];
        getString("cancel", text);
        setControlText(cancel, text);
    }
    if (ControlRef bar = getControl(window, kCmdProgressBar)) {
        setControlMaximum(bar, run->items->getCount());
        lumbrel::setControlValue(bar, 0);
    }
    return setTimer(window, progressTick, 0.001F);
}

// ---- Text entry ---------------------------------------------------------------------

bool stringStart(WindowPtr window, std::intptr_t value) {
    auto* text = reinterpret_cast<char*>(value);
    ControlRef field = getControl(window, kStringItem);
    if (field == nullptr) return true;
    setControlText(field, text);
    lumbrel::setEditSelection(field, 0, -1);
    lumbrel::setFocus(field);
    return true;
}

bool stringOK(ControlRef, WindowPtr window, std::intptr_t value) {
    auto* text = reinterpret_cast<char*>(value);
    if (ControlRef field = getControl(window, kStringItem)) getControlText(field, text, kShortTextSize);
    return false;  // the dialog ends with OK
}

struct StringRun {
    char* text = nullptr;
};

bool stringStartWithOK(WindowPtr window, std::intptr_t value) {
    auto* run = reinterpret_cast<StringRun*>(value);
    if (!stringStart(window, reinterpret_cast<std::intptr_t>(run->text))) return false;
    ControlRef ok = getControl(window, static_cast<unsigned long>(kItemOK));
    if (ok == nullptr) ok = getControl(window, kCmdOK);
    setControlHandler(ok, stringOK, reinterpret_cast<std::intptr_t>(run->text));
    return true;
}

}  // namespace

void placeDialog(WindowPtr window) {
    if (!platform::isWindow(window)) return;
    const platform::WindowRect screen = platform::screenRect();
    platform::WindowRect rect = platform::windowRect(window);
    rect.left = screen.left + (screen.width - rect.width) / 2;
    rect.top = screen.top + (screen.height - rect.height) / 4;
    platform::setWindowRect(window, rect);
}

bool handleCommonDialogMessage(WindowPtr dialog, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case Message::NextDialogControl:
            moveDialogFocus(dialog, wParam != 0);
            return true;
        case Message::Timer: {
            if (wParam != kTimerId) return false;
            const auto proc = reinterpret_cast<TimerProc>(getWindowProperty(dialog, kTagTimerProc));
            if (proc != nullptr) proc(dialog, windowUser(dialog));
            return true;
        }
        case Message::DrawItem: {
            const auto* item = reinterpret_cast<const platform::DrawItem*>(lParam);
            if (item == nullptr) return false;
            drawListBoxItem(*item);
            return true;
        }
        case Message::Notify: {
            const auto* info = reinterpret_cast<const platform::NotifyInfo*>(lParam);
            if (info == nullptr || info->code != platform::kTabSelectionChanged) return false;
            onTabChange(dialog, *info);
            return true;
        }
        case Message::ContextMenu: {
            // Only list views given a context menu take context clicks; the rest stay unanswered.
            const auto control = reinterpret_cast<platform::WindowRef>(wParam);
            if (!platform::isWindow(control) || platform::topLevelWindow(control) != dialog) return false;
            if (getControlProperty(control, kTagContextMakeMenu) == 0) return false;
            const platform::WindowPoint at = platform::screenToClient(control, platform::pointFromParam(lParam));
            contextClick(control, at.x, at.y);
            return true;
        }
        default:
            return false;
    }
}

void moveDialogFocus(WindowPtr dialog, bool previous) {
    std::vector<platform::WindowRef> candidates;
    collectFocusCandidates(dialog, candidates);
    if (candidates.empty()) return;
    platform::WindowRef current = platform::focusedWindow();
    if (auto parent = platform::parentWindow(current);
        parent != nullptr && platform::className(parent) == platform::kComboBoxClass) {
        current = parent;
    }
    std::size_t index = candidates.size();
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (candidates[i] == current) index = i;
    }
    const std::size_t n = candidates.size();
    std::size_t target = 0;
    if (index == n) {
        target = previous ? n - 1 : 0;
    } else {
        target = previous ? (index + n - 1) % n : (index + 1) % n;
    }
    platform::WindowRef next = candidates[target];
    platform::setFocus(next);
    if (platform::className(next) == platform::kEditClass) platform::setEditSelection(next, 0, -1);
}

std::uint32_t doModalDialog(const char* name, DialogStartProc start, std::intptr_t user) {
    DialogRun run;
    run.name = name;
    run.start = start;
    run.user = user;
    const std::intptr_t result = platform::runModalDialog(modalDialogProc, reinterpret_cast<std::intptr_t>(&run));
    if (!run.made || result == -1) return 0;
    return static_cast<std::uint32_t>(result);
}

WindowPtr doModelessDialog(const char* name, DialogStartProc start, WindowHandlerProc close, std::intptr_t user) {
    DialogRun run;
    run.name = name;
    run.start = start;
    run.close = close;
    run.user = user;
    WindowPtr window = platform::createModelessDialog(modelessDialogProc, reinterpret_cast<std::intptr_t>(&run));
    if (window == nullptr) return nullptr;
    if (!run.made) {
        platform::destroyWindow(window);
        return nullptr;
    }
    platform::showWindow(window, true);
    return window;
}

std::uint32_t getStringFromDialog(const char* name, char* text) {
    if (text == nullptr) return 0;
    StringRun run;
    run.text = text;
    return doModalDialog(name, stringStartWithOK, reinterpret_cast<std::intptr_t>(&run));
}

std::uint32_t doProgressDialog(const char* title, ProgressStepProc step, MyArray* items, std::intptr_t user) {
    if (items == nullptr || items->getCount() <= 0) return kCmdOK;
    if (step == nullptr) return 0;
    ProgressRun run;
    run.title = title != nullptr ? title : platform::kProductName;
    run.step = step;
    run.items = items;
    run.user = user;
    return doModalDialog("Progress", progressStart, reinterpret_cast<std::intptr_t>(&run));
}

std::uint32_t doProgressDialog(ProgressStepProc step, MyArray* items, std::intptr_t user) {
    return doProgressDialog(platform::kProductName, step, items, user);
}

void quitModalDialog(WindowPtr window, std::uint32_t code) {
    removeTimer(window);
    if (code != 0) setWindowProperty(window, kTagResult, static_cast<std::intptr_t>(code));
    platform::endDialog(window, getWindowProperty(window, kTagResult));
}

bool setWindowHandler(WindowPtr window, std::uint16_t eventKind, WindowHandlerProc proc) {
    if (eventKind != kEventWindowClose || !platform::isWindow(window)) return false;
    setWindowProperty(window, kTagClose, reinterpret_cast<std::intptr_t>(proc));
    return true;
}

void setControlHandler(ControlRef control, DialogControlProc proc, std::intptr_t user) {
    if (!platform::isWindow(control)) return;
    setControlProc(control, proc);
    setControlUserData(control, user);
}

void setControlHandler(WindowPtr window, unsigned long idOrCommand, DialogControlProc proc, std::intptr_t user) {
    setControlHandler(getControl(window, idOrCommand), proc, user);
}

bool setTimer(WindowPtr window, TimerProc proc, float seconds) {
    if (!platform::isWindow(window) || proc == nullptr) return false;
    const double ms = std::round(static_cast<double>(seconds) * 1000.0);
    const unsigned period = ms < 1.0 ? 1U : (ms > 4.0e9 ? 4000000000U : static_cast<unsigned>(ms));
    if (!platform::setTimer(window, kTimerId, period)) return false;
    setWindowProperty(window, kTagTimerProc, reinterpret_cast<std::intptr_t>(proc));
    // The first tick comes at once, not after the first period.
    platform::postMessage(window, Message::Timer, kTimerId, 0);
    return true;
}

void removeTimer(WindowPtr window) {
    if (!platform::isWindow(window)) return;
    platform::killTimer(window, kTimerId);
    removeControlProperty(window, kTagTimerProc);
}

void setWindowTitle(WindowPtr window, const char* keyOrText) {
    if (!platform::isWindow(window) || keyOrText == nullptr) return;
    MyStr title(keyOrText);
    if (title.hasString()) platform::setWindowText(window, title.UTF8Str());
}

}  // namespace lumbrel

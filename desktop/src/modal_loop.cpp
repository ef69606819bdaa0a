// Dialog shells and the modal loop: posted messages first, then the agent is
// asked for the user's next action; with no decision a running timer fires, or
// Return takes the default button. Every dialog opened, action and result is
// written to the transcript.
#include <exception>
#include <string>

#include "desktop/desktop.h"
#include "dialog_actions.h"
#include "dialog_view.h"
#include "state.h"
#include "windows_state.h"

namespace desktop::windows {

namespace {

constexpr WindowRect kDefaultClient{0, 0, 300, 150};

std::string dialogPrefix(WindowRef dialog, const std::string& lastTitle) {
    const Window* w = find(dialog);
    return "dialog " + quoteForTranscript(w != nullptr ? w->text : lastTitle);
}

void record(std::string line) { Desktop::instance().state().transcript.add(EntryKind::Dialog, std::move(line)); }

WindowRef makeShell(WindowProc procedure, std::uint32_t exStyle) {
    WindowRect outer = lumbrel::platform::outerRectForClient(kDefaultClient, lumbrel::platform::style::kDialogShell, exStyle);
    outer.left = (kScreenWidth - outer.width) / 2;
    outer.top = (kScreenHeight - outer.height) / 4;
    const WindowRef shell = lumbrel::platform::createWindow(kDialogClass, "", kStylePopup | kStyleCaption | kStyleSystemMenu,
                                                            exStyle, outer, nullptr, 0);
    Window* w = find(shell);
    if (w == nullptr) return nullptr;
    w->isDialog = true;
    lumbrel::platform::setWindowProc(shell, procedure);
    return shell;
}

bool loopEnded(std::uint64_t dialog) noexcept {
    const ModalLoop* loop = findLoop(dialog);
    return loop == nullptr || loop->ended;
}

// Closes the dialog for the user: the close request first, then, if the
// dialog still runs, its end with the Close result.
void closeForUser(WindowRef dialog) {
    sendQuietly(dialog, Message::Close, 0, 0);
    if (!loopEnded(toNumber(dialog))) lumbrel::platform::endDialog(dialog, kCloseResult);
}

// Runs when the modal loop is left in any way, an exception included.
struct LoopScope {
    std::uint64_t dialog;
    std::uint64_t savedFocus;
    int savedNesting;

    ~LoopScope() {
        State& s = state();
        for (auto at = s.loops.begin(); at != s.loops.end(); ++at) {
            if (at->dialog == dialog) {
                s.loops.erase(at);
                break;
            }
        }
        lumbrel::platform::destroyWindow(toRef(dialog));
        if (find(savedFocus) != nullptr) lumbrel::platform::setFocus(toRef(savedFocus));
        Desktop::instance().state().nesting = savedNesting;
    }
};

DialogAction askAgent(const DialogRequest& request, std::string& note) {
    Desktop& desk = Desktop::instance();
    const std::shared_ptr<Agent> agent = desk.agent();  // kept alive while it decides
    try {
        return agent->nextDialogAction(request);
    } catch (const std::exception& error) {
        note = std::string("agent error: ") + error.what();
    } catch (...) {
        note = "agent error";
    }
    ++desk.state().agentFaults;
    return DialogAction::none();
}

void tellRefused(const DialogRequest& request, const DialogAction& action, const std::string& why) {
    const std::shared_ptr<Agent> agent = Desktop::instance().agent();
    try {
        agent->dialogActionRefused(request, action, why);
    } catch (...) {
        ++Desktop::instance().state().agentFaults;  // agents must not throw
    }
}

}  // namespace

std::intptr_t runModalLoop(WindowProc dialogProc, std::intptr_t param) {
    if (dialogProc == nullptr) return -1;
    Desktop::State& desk = Desktop::instance().state();
    const WindowRef dialog = makeShell(dialogProc, lumbrel::platform::style::kExDialogModalFrame);
    if (dialog == nullptr) return -1;
    const std::uint64_t number = toNumber(dialog);
    State& s = state();
    try {
        s.loops.push_back({number, false, 0});
    } catch (...) {
        lumbrel::platform::destroyWindow(dialog);
        return -1;
    }
    const int outerNesting = desk.nesting;
    LoopScope scope{number, s.focus, outerNesting};
    desk.nesting = outerNesting + 1;

    const std::intptr_t init = lumbrel::platform::sendMessage(dialog, Message::InitDialog, 0, param);
    std::string title = lumbrel::platform::windowText(dialog);
    if (find(number) == nullptr) {
        record(dialogPrefix(dialog, title) + " destroyed before it was shown -> 0");
        return 0;
    }
    if (loopEnded(number)) {
        const std::intptr_t result = findLoop(number)->result;
        record(dialogPrefix(dialog, title) + " closed before it was shown -> " + std::to_string(result));
        return result;
    }
    lumbrel::platform::showWindow(dialog, true);
    if (init != 0) moveDialogFocus(dialog, false);
    record(dialogPrefix(dialog, title) + " opened");

    if (desk.nesting > kMaxAgentNesting) {
        record(dialogPrefix(dialog, title) + ": nested too deep, closed");
        closeForUser(dialog);
    }

    std::uint64_t turns = 0;
    std::uint64_t questions = 0;
    bool defaultReturnPressed = false;
    bool waitingAnnounced = false;
    while (find(number) != nullptr && !loopEnded(number)) {
        title = lumbrel::platform::windowText(dialog);
        if (++turns > s.modalTurnLimit) {
            record(dialogPrefix(dialog, title) + ": no end after " + std::to_string(s.modalTurnLimit) +
                   " turns, closed");
            closeForUser(dialog);
            break;
        }
        if (!s.posted.empty()) {
            const Posted message = s.posted.front();
            s.posted.pop_front();
            sendQuietly(toRef(message.window), message.message, message.wParam, message.lParam);
            continue;
        }
        DialogRequest request = describeDialog(dialog);
        request.turn = ++questions;
        request.nesting = desk.nesting;
        std::string note;
        const DialogAction action = askAgent(request, note);
        if (find(number) == nullptr || loopEnded(number)) break;  // the agent's own doings ended it
        if (!note.empty()) record(dialogPrefix(dialog, title) + ": " + note);

        if (action.kind == DialogAction::Kind::None) {
            if (dialogHasTimer(number)) {
                if (!waitingAnnounced) record(dialogPrefix(dialog, title) + ": no decision, waiting for the timer");
                waitingAnnounced = true;
                deliverNextTimer(number);
                continue;
            }
            waitingAnnounced = false;
            if (defaultReturnPressed) {
                // Return did not end it; nothing else will without a decision.
                record(dialogPrefix(dialog, title) + ": no decision again, closed (default)");
                closeForUser(dialog);
                break;
            }
            record(dialogPrefix(dialog, title) + ": no decision, key Return (default)");
            defaultReturnPressed = true;
            pressKey(dialog, DialogKey::Return, std::string());
            continue;
        }
        waitingAnnounced = false;
        defaultReturnPressed = false;
        const ActionOutcome outcome = performAction(dialog, action);
        if (outcome.refused) ++desk.agentFaults;
        record(dialogPrefix(dialog, title) + ": " + outcome.line);
        if (outcome.refused) tellRefused(request, action, outcome.line);
    }

    std::intptr_t result = 0;
    if (const ModalLoop* loop = findLoop(number); loop != nullptr && loop->ended) result = loop->result;
    if (find(number) != nullptr) title = lumbrel::platform::windowText(dialog);
    if (find(number) == nullptr && (findLoop(number) == nullptr || !findLoop(number)->ended)) {
        record("dialog " + quoteForTranscript(title) + " destroyed while open -> 0");
    } else {
        record("dialog " + quoteForTranscript(title) + " closed -> " + std::to_string(result));
    }
    return result;
}

}  // namespace desktop::windows

namespace lumbrel::platform {

std::intptr_t runModalDialog(WindowProc dialogProc, std::intptr_t param) {
    return desktop::windows::runModalLoop(dialogProc, param);
}

bool endDialog(WindowRef dialog, std::intptr_t result) noexcept {
    namespace dw = desktop::windows;
    const dw::Window* w = dw::find(dialog);
    if (w == nullptr || !w->isDialog) return false;
    // As EndDialog: the last result counts; the loop ends once the current
    // message is handled. A modeless shell only hides.
    if (dw::ModalLoop* loop = dw::findLoop(dw::toNumber(dialog))) {
        loop->ended = true;
        loop->result = result;
    } else {
        showWindow(dialog, false);
    }
    return true;
}

WindowRef createModelessDialog(WindowProc dialogProc, std::intptr_t param) noexcept {
    namespace dw = desktop::windows;
    if (dialogProc == nullptr) return nullptr;
    const WindowRef dialog = dw::makeShell(dialogProc, dw::kExStyleToolWindow);
    if (dialog == nullptr) return nullptr;
    try {
        sendMessage(dialog, Message::InitDialog, 0, param);
    } catch (...) {
        destroyWindow(dialog);
        return nullptr;
    }
    return isWindow(dialog) ? dialog : nullptr;
}

}  // namespace lumbrel::platform

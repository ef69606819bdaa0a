// The agent of a session: answers queued by `answer`, `dialog`, `popup` and
// `choose app` lines come first; with none queued, the person at the terminal
// is asked when there is one, else no decision is made (the desktop takes its
// default and the transcript marks it). Every alert shown is kept, numbered,
// so that `expect alert` can look at those of the last action.
//
// Dialog lines are used in the order they were queued, each by the dialog it
// names (or any). A line that cannot be carried out in the dialog that asks
// (a missing or disabled control, another dialog's title) is a fault: it is
// kept for the runner, which fails the line, the rest of the queued dialog
// lines are dropped and the dialog is closed by its close box, so that
// nothing the script did not mean is applied. So is a line whose action the
// desktop refuses (typing into a check box, checking a push button).
#pragma once

#include "dialog_lines.h"

#include "desktop/agent.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace hostsim::session {

class SessionAgent : public desktop::ScriptedAgent {
public:
    // Asked when no answer is queued; null: take the default.
    void setFallback(std::shared_ptr<desktop::Agent> fallback) { fallback_ = std::move(fallback); }

    int answerAlert(const desktop::AlertRequest& alert) override {
        shown_.push_back(alert);
        if (pendingAnswers() > 0 || !fallback_) return ScriptedAgent::answerAlert(alert);
        return fallback_->answerAlert(alert);
    }
    desktop::DialogAction nextDialogAction(const desktop::DialogRequest& dialog) override;
    // A queued line the desktop refused is a fault like one found beforehand.
    void dialogActionRefused(const desktop::DialogRequest& dialog, const desktop::DialogAction& action,
                             const std::string& why) override;
    desktop::PopupMenuAnswer answerPopupMenu(const desktop::PopupMenuRequest& menu) override;
    desktop::ApplicationAnswer chooseApplication(const desktop::ApplicationRequest& request) override;

    const std::vector<desktop::AlertRequest>& alertsShown() const noexcept { return shown_; }

    void queueDialogLine(DialogLine line) { dialogLines_.push_back(std::move(line)); }
    std::size_t pendingDialogLines() const noexcept { return dialogLines_.size(); }
    void dropDialogLines() noexcept { dialogLines_.clear(); }
    // Faults of dialog lines, in order:
    //   dialog "Swap": no control 9 (line 7: dialog any click 9)
    const std::vector<std::string>& dialogFaults() const noexcept { return faults_; }

private:
    void fault(const DialogLine& line, const desktop::DialogRequest& dialog, const std::string& why);

    std::shared_ptr<desktop::Agent> fallback_;
    std::vector<desktop::AlertRequest> shown_;
    std::deque<DialogLine> dialogLines_;
    std::vector<std::string> faults_;
    std::optional<DialogLine> lastActed_;  // the queued line whose action was given last
    bool closeNext_ = false;               // a refused line: the close box is the next action
};

}  // namespace hostsim::session

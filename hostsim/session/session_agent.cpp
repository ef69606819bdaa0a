#include "session_agent.h"

#include "desktop/transcript.h"

namespace hostsim::session {

void SessionAgent::fault(const DialogLine& line, const desktop::DialogRequest& dialog, const std::string& why) {
    std::string message = "dialog " + desktop::quoteForTranscript(dialog.title) + ": " + why + " (";
    if (line.line > 0) message += "line " + std::to_string(line.line) + ": ";
    message += line.source + ")";
    faults_.push_back(std::move(message));
}

void SessionAgent::dialogActionRefused(const desktop::DialogRequest& dialog, const desktop::DialogAction& action,
                                       const std::string& why) {
    if (!lastActed_) {
        if (fallback_) fallback_->dialogActionRefused(dialog, action, why);
        return;  // the person at the terminal sees the refusal and acts again
    }
    fault(*lastActed_, dialog, why);
    lastActed_.reset();
    dialogLines_.clear();
    closeNext_ = true;
}

desktop::DialogAction SessionAgent::nextDialogAction(const desktop::DialogRequest& dialog) {
    lastActed_.reset();
    if (closeNext_) {
        closeNext_ = false;
        return desktop::DialogAction::closeBox();
    }
    while (!dialogLines_.empty()) {
        const DialogLine line = dialogLines_.front();
        if (!line.anyDialog && line.title != dialog.title) {
            fault(line, dialog, "the line is for the dialog " + desktop::quoteForTranscript(line.title));
            dialogLines_.clear();
            return desktop::DialogAction::closeBox();
        }
        dialogLines_.pop_front();
        switch (line.kind) {
            case DialogLine::Kind::Snapshot:
                if (const std::string why = writeSnapshot(dialog, line.path); !why.empty()) fault(line, dialog, why);
                continue;
            case DialogLine::Kind::Expect:
                if (const std::string why = checkFailure(dialog, line); !why.empty()) fault(line, dialog, why);
                continue;
            case DialogLine::Kind::Act: break;
        }
        if (const std::string why = whyNotPossible(dialog, line); !why.empty()) {
            fault(line, dialog, why);
            dialogLines_.clear();
            return desktop::DialogAction::closeBox();
        }
        lastActed_ = line;
        return line.action;
    }
    if (fallback_) return fallback_->nextDialogAction(dialog);
    return desktop::DialogAction::none();
}

desktop::PopupMenuAnswer SessionAgent::answerPopupMenu(const desktop::PopupMenuRequest& menu) {
    if (pendingPopupAnswers() > 0 || !fallback_) return ScriptedAgent::answerPopupMenu(menu);
    return fallback_->answerPopupMenu(menu);
}

desktop::ApplicationAnswer SessionAgent::chooseApplication(const desktop::ApplicationRequest& request) {
    if (pendingApplicationAnswers() > 0 || !fallback_) return ScriptedAgent::chooseApplication(request);
    return fallback_->chooseApplication(request);
}

}  // namespace hostsim::session

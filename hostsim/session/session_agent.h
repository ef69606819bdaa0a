// The agent of a session: answers queued by `answer` lines come first; with
// none queued, the person at the terminal is asked when there is one, else the
// default button is taken (the transcript marks it). Every alert shown is
// kept, numbered, so that `expect alert` can look at those of the last action.
#pragma once

#include "desktop/agent.h"

#include <cstddef>
#include <memory>
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

    const std::vector<desktop::AlertRequest>& alertsShown() const noexcept { return shown_; }

private:
    std::shared_ptr<desktop::Agent> fallback_;
    std::vector<desktop::AlertRequest> shown_;
};

}  // namespace hostsim::session

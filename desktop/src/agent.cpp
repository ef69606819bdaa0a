#include "desktop/agent.h"

#include <utility>

namespace desktop {

const char* alertStyleName(AlertStyle style) noexcept {
    switch (style) {
        case AlertStyle::Note: return "note";
        case AlertStyle::Caution: return "caution";
        case AlertStyle::Stop: return "stop";
    }
    return "note";
}

bool AlertRequest::hasButton(int item) const noexcept {
    return item >= 1 && item <= kAlertButtonCount && !buttons[static_cast<std::size_t>(item - 1)].empty();
}

int AlertRequest::itemTitled(std::string_view buttonTitle) const noexcept {
    for (int item = 1; item <= kAlertButtonCount; ++item) {
        if (hasButton(item) && buttons[static_cast<std::size_t>(item - 1)] == buttonTitle) return item;
    }
    return 0;
}

Agent::~Agent() = default;

int DefaultAgent::answerAlert(const AlertRequest&) {
    ++alertsAnswered_;
    return kTakeDefault;
}

void ScriptedAgent::answerWithButton(std::string title) { answers_.push_back({std::move(title), 0}); }

void ScriptedAgent::answerWithItem(int item) { answers_.push_back({std::string(), item}); }

int ScriptedAgent::answerAlert(const AlertRequest& alert) {
    seen_.push_back(alert);
    if (answers_.empty()) return kTakeDefault;
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    if (answer.title.empty()) return answer.item;
    const int item = alert.itemTitled(answer.title);
    return item != 0 ? item : -1;  // a title nobody shows is a fault, not "no decision"
}

}  // namespace desktop

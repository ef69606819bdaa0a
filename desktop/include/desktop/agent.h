// Whoever plays the user. Every decision the desktop needs from a person (which
// alert button to press; later the actions inside modal dialogs and the file
// chooser) is asked of the current agent: a session script, the person at the
// terminal, or a test.
//
// Extending: every new kind of decision becomes one more virtual function
// taking a request struct that describes everything the user would see, with a
// body that answers "no decision" (kTakeDefault or its equivalent), so that
// existing agents keep compiling and behave as the default agent for it.
// Agents may run module code (a terminal agent that lets the person act in the
// host before answering); the desktop keeps no reference into its own state
// across these calls, and nested questions arrive with `nesting` above 1.
// Agents must not throw: an exception is caught, counted as a fault and the
// default is taken.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace desktop {

enum class AlertStyle { Note, Caution, Stop };

// "note", "caution", "stop".
const char* alertStyleName(AlertStyle style) noexcept;

// An answer that makes no decision: the desktop takes the default button.
inline constexpr int kTakeDefault = 0;

inline constexpr int kAlertButtonCount = 3;

// Everything a modal alert shows.
struct AlertRequest {
    AlertStyle style = AlertStyle::Note;
    std::string title;
    std::string message;
    std::string informative;  // empty when there is none
    // Button titles by item number minus 1: default (1), cancel (2), other (3);
    // an empty title is a button that is not shown.
    std::array<std::string, kAlertButtonCount> buttons;
    int nesting = 1;  // 1 for an alert raised outside any other question

    bool hasButton(int item) const noexcept;
    // Item number of the shown button with exactly this title, or 0.
    int itemTitled(std::string_view buttonTitle) const noexcept;
};

class Agent {
public:
    virtual ~Agent();
    // Item number of the button to press, or kTakeDefault. An item that is not
    // shown is a fault: the default is taken and the fault counted.
    virtual int answerAlert(const AlertRequest& alert) = 0;
};

// The agent in charge when nobody else is: it makes no decision, so every
// alert gets its default button, and the transcript says so. It counts the
// questions it was asked.
class DefaultAgent final : public Agent {
public:
    int answerAlert(const AlertRequest& alert) override;
    std::size_t alertsAnswered() const noexcept { return alertsAnswered_; }

private:
    std::size_t alertsAnswered_ = 0;
};

// Answers alerts from a queue filled in advance, by button title or by item
// number, and keeps every alert it was shown. With the queue empty it makes
// no decision (the default button is taken).
class ScriptedAgent : public Agent {
public:
    void answerWithButton(std::string title);  // a title no shown button has is a fault
    void answerWithItem(int item);
    std::size_t pendingAnswers() const noexcept { return answers_.size(); }
    const std::vector<AlertRequest>& alertsSeen() const noexcept { return seen_; }

    int answerAlert(const AlertRequest& alert) override;

private:
    struct Answer {
        std::string title;
        int item = 0;  // used when title is empty
    };
    std::deque<Answer> answers_;
    std::vector<AlertRequest> seen_;
};

}  // namespace desktop

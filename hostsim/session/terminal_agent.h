// The person at the terminal plays the user: every alert the module (or the
// host) raises is printed with its title, texts and numbered buttons, and the
// person's choice is read from the input: a button number or title, an empty
// line for the default button. The end of input takes the default, so a piped
// session never hangs on an alert; Ctrl-C presses the cancel button.
#pragma once

#include "line_input.h"

#include "desktop/agent.h"

#include <cstdint>
#include <cstdio>

namespace hostsim::session {

class TerminalAgent : public desktop::Agent {
public:
    // Neither is owned; both must outlive the agent. `echo` repeats each
    // answer after the prompt, for input that is not typed at a terminal
    // (which shows it already).
    TerminalAgent(LineInput& input, std::FILE* output, bool echo = false) noexcept
        : input_(input), output_(output), echo_(echo) {}

    int answerAlert(const desktop::AlertRequest& alert) override;
    // Shows the dialog's controls and reads the next action in the words of
    // the `dialog` script lines (help lists them); snapshot and expect are
    // done at once and the prompt comes back. An empty line makes no decision
    // (a running timer fires, else Return takes the default); the end of
    // input closes the dialog.
    desktop::DialogAction nextDialogAction(const desktop::DialogRequest& dialog) override;
    // The items numbered from 1; a number or a title, empty to dismiss.
    desktop::PopupMenuAnswer answerPopupMenu(const desktop::PopupMenuRequest& menu) override;
    // A path, empty to cancel.
    desktop::ApplicationAnswer chooseApplication(const desktop::ApplicationRequest& request) override;

private:
    LineInput& input_;
    std::FILE* output_;
    bool echo_;
};

// The item a typed answer names: "2", "Cancel" (exact, else ignoring case);
// 0 when the answer names no shown button. An empty answer is kTakeDefault.
int itemOfTypedAnswer(const desktop::AlertRequest& alert, const std::string& typed);

}  // namespace hostsim::session

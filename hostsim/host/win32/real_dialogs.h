// The user's part in the Windows host: the module's dialogs are real windows
// running their own modal loops, so the host answers them as a person would.
// A thread timer (it fires inside any modal loop of the thread) finds the
// innermost enabled dialog of the thread, shows it to the desktop's agent as
// a DialogRequest built from the real window tree, and carries out the
// agent's DialogAction with the messages a user's input produces. Every
// dialog seen, action and end goes to the transcript, worded as the POSIX
// stand-in words them. A dialog's end gives the result its EndDialog call
// gave, as dialog_results.h records it for watched modules; "closed -> ?"
// for a dialog whose end went unseen.
#pragma once

#include "desktop/agent.h"
#include "desktop/files/win32/windows_api.h"

#include <string>

namespace hostsim::win32 {

// The dialog as the agent sees it (turn and nesting left at their defaults).
desktop::DialogRequest describeRealDialog(HWND dialog);

struct RealActionOutcome {
    bool refused = false;
    std::string line;  // what the transcript says after `dialog "Title": `
};

// Carries out one action in a live dialog.
RealActionOutcome performRealAction(HWND dialog, const desktop::DialogAction& action);

// While it lives, the thread's dialogs are answered by the desktop's agent
// every `periodMs`. One per thread.
class RealDialogDriver {
public:
    explicit RealDialogDriver(unsigned periodMs = 20);
    ~RealDialogDriver();
    RealDialogDriver(const RealDialogDriver&) = delete;
    RealDialogDriver& operator=(const RealDialogDriver&) = delete;

    bool running() const noexcept { return timer_ != 0; }
    // One turn now: answers the innermost dialog once; false when none is open.
    bool turn();

private:
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR timer_ = 0;
};

}  // namespace hostsim::win32

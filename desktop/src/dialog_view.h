// What a user sees of a dialog, for the agent's questions and the transcript.
#pragma once

#include <cstdint>
#include <string>

#include "desktop/agent.h"
#include "windows_state.h"

namespace desktop::windows {

ControlKind controlKindOf(const Window& window) noexcept;
// Every window below the dialog as the user sees it (hidden ones included, marked).
DialogRequest describeDialog(WindowRef dialog);
// A window's rectangle in the client coordinates of `top` (an ancestor).
WindowRect rectIn(std::uint64_t top, std::uint64_t window) noexcept;
// True when the window and every ancestor up to the top-level window are enabled.
bool isEffectivelyEnabled(WindowRef window) noexcept;
// True when a timer of the dialog or of a window inside it is set.
bool dialogHasTimer(std::uint64_t dialog) noexcept;
// Lets the clock run to the next timer (of the dialog's tree, or any window when
// `dialog` is 0) and delivers it; the milliseconds that passed, or -1 when none is set.
long long deliverNextTimer(std::uint64_t dialog);

}  // namespace desktop::windows

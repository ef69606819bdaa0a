// The shell as the Windows host simulator stands in for it: a loaded module's
// calls of ShellExecuteW open and reveal nothing for real but are recorded as
// the desktop records them ("open …", "reveal …" in the transcript), so that
// no editor or Explorer window starts under a session.
#pragma once

namespace hostsim {

// Points the module's imported ShellExecuteW at the stand-in. False when the
// module imports none (nothing to do) or its import table cannot be changed.
bool standInForShell(void* module) noexcept;

}  // namespace hostsim

// Ctrl-C at the terminal as something the session reads, like a typed line:
// the signal only writes a byte into a pipe, and the prompt polls the pipe's
// reading end beside its input (LineInput::setInterruptFd). The host then
// asks about unsaved changes before it quits, as a host does.
#pragma once

namespace hostsim::session {

// Installs the SIGINT handler (once); answers the descriptor that turns
// readable at each Ctrl-C, or -1 when no pipe could be made.
int installInterruptKey() noexcept;

}  // namespace hostsim::session

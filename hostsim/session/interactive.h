// The interactive terminal session: a person types the same commands a
// session script holds, at a prompt, and answers the alerts the module raises
// (see TerminalAgent). While the prompt waits, scripting requests from other
// processes are served, so a client can talk to the running host at any time.
#pragma once

#include "line_input.h"
#include "runner.h"
#include "scripting_socket.h"

#include <cstdio>

namespace hostsim::session {

struct InteractiveOptions {
    std::FILE* output = stdout;  // prompts, help, parse errors
    bool prompt = true;          // print "hostsim> " before each line
};

// Reads and runs lines until `quit` or the end of input, then ends the
// session (runner.finish()). Lines with errors are reported and skipped.
// Ctrl-C (an interrupt of `input`) is a `quit`; with the runner's
// askBeforeQuit, changed documents are asked about and Cancel goes on.
// Answers 0, or 1 when a line failed (a check, an action that could not run).
int runInteractive(SessionRunner& runner, LineInput& input, ScriptingServer* server,
                   const InteractiveOptions& options);

}  // namespace hostsim::session

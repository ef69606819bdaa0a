#include "interactive.h"

#include "script.h"

namespace hostsim::session {

int runInteractive(SessionRunner& runner, LineInput& input, ScriptingServer* server,
                   const InteractiveOptions& options) {
    std::FILE* out = options.output;
    const auto showPrompt = [&] {
        if (!options.prompt) return;
        std::fputs("hostsim> ", out);
        std::fflush(out);
    };
    // A request from another process while the prompt waits: its transcript
    // lines start on a line of their own and a fresh prompt follows them.
    bool promptShown = false;
    const ScriptingServer::Handler handler = [&](const std::string& request) {
        if (promptShown && options.prompt) std::fputc('\n', out);
        promptShown = false;
        return runner.externalRequest(request);
    };
    const int socketFd = (server != nullptr && server->listening()) ? server->fd() : -1;
    const auto serveWaiting = [&] {
        if (server->serve(handler, 0) > 0 && !promptShown) {
            showPrompt();
            promptShown = true;
        }
    };

    int exitCode = 0;
    int lineNumber = 0;
    while (!runner.quitted()) {
        showPrompt();
        promptShown = true;
        const std::optional<std::string> line = input.readLine(socketFd, serveWaiting);
        promptShown = false;
        if (!line && input.takeInterrupt()) {
            // Ctrl-C: quit as the host's menu does, asking about changed documents.
            if (options.prompt) std::fputc('\n', out);
            Action quit;
            quit.verb = Verb::Quit;
            quit.line = ++lineNumber;
            quit.source = "quit (Ctrl-C)";
            if (!runner.run(quit)) exitCode = 1;
            continue;
        }
        if (!line) break;
        ++lineNumber;
        ParseError error;
        const std::optional<Action> action = parseLine(*line, lineNumber, error);
        if (!action) {
            if (!error.message.empty()) {
                std::fprintf(out, "error: column %d: %s\n", error.column, error.message.c_str());
                std::fflush(out);
            }
            continue;
        }
        if (action->verb == Verb::Help) {
            std::fputs(commandSummary(), out);
            std::fflush(out);
            continue;
        }
        if (!runner.run(*action)) exitCode = 1;
    }
    if (options.prompt && !runner.quitted()) std::fputc('\n', out);
    runner.finish();
    return exitCode;
}

}  // namespace hostsim::session

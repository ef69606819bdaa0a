#include "interactive.h"

#include "script.h"

namespace hostsim::session {

int runInteractive(SessionRunner& runner, LineInput& input, ScriptingServer* server,
                   const InteractiveOptions& options) {
    std::FILE* out = options.output;
    const ScriptingServer::Handler handler = [&runner](const std::string& request) {
        return runner.externalRequest(request);
    };
    const int socketFd = (server != nullptr && server->listening()) ? server->fd() : -1;
    const auto serveWaiting = [&] { server->serve(handler, 0); };

    int exitCode = 0;
    int lineNumber = 0;
    while (!runner.quitted()) {
        if (options.prompt) {
            std::fputs("hostsim> ", out);
            std::fflush(out);
        }
        const std::optional<std::string> line = input.readLine(socketFd, serveWaiting);
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

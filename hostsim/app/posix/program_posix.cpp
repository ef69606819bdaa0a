// The POSIX host program: scripts, the interactive prompt with the
// interrupt key, and the scripting socket.
#include "../program.h"

#include "hostsim/session/interactive.h"
#include "hostsim/session/interrupt_key.h"
#include "hostsim/session/line_input.h"
#include "hostsim/session/runner.h"
#include "hostsim/session/script.h"
#include "hostsim/session/scripting_socket.h"
#include "hostsim/session/session_agent.h"
#include "hostsim/session/terminal_agent.h"
#include "hostsim/session/transcript_output.h"

#include "hostsim/host/simulator.h"

#include "desktop/desktop.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace hostsim::app {

using namespace hostsim::session;

std::filesystem::path programFile() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self;
}

void prepareProcess() {
    // A client that goes away must not end the host.
    std::signal(SIGPIPE, SIG_IGN);
}

int sendOnly(const CommandLine& line) {
    std::string request = line.send;
    if (request == "-") {
        request.clear();
        if (!readStream(stdin, request)) return usageError("cannot read the request from standard input");
    }
    const std::string path = line.socket.value_or(defaultSocketPath());
    const SendResult result = sendRequest(path, request);
    if (!result.ok) {
        std::fprintf(stderr, "hostsim: %s\n", result.error.c_str());
        return kExitFailed;
    }
    // At a terminal the reply is shown line by line and ends its last line;
    // into a pipe or a file it goes byte for byte.
    const std::string shown = ::isatty(STDOUT_FILENO) != 0 ? replyForTerminal(result.reply) : result.reply;
    std::fwrite(shown.data(), 1, shown.size(), stdout);
    std::fflush(stdout);
    return kExitOk;
}

int runSession(const CommandLine& line) {
    std::string scriptText;
    if (line.mode == CommandLine::Mode::Script) {
        if (const int code = readCheckedScript(line.script, scriptText); code != kExitOk) return code;
    }

    std::FILE* transcriptFile = nullptr;
    if (line.transcript) {
        std::string reason;
        transcriptFile = openTranscript(*line.transcript, reason);
        if (transcriptFile == nullptr) {
            return usageError("cannot write the transcript " + *line.transcript + ": " + reason);
        }
    }

    ScriptingServer server;
    if (!line.noSocket) {
        std::string error;
        const std::string path = line.socket.value_or(defaultSocketPath());
        if (!server.listen(path, error)) {
            if (line.socket) {
                if (transcriptFile != nullptr) std::fclose(transcriptFile);
                return usageError(error);
            }
            std::fprintf(stderr, "hostsim: not listening for scripting requests: %s\n", error.c_str());
        }
    }

    const bool interactive = line.mode == CommandLine::Mode::Interactive;
    const bool terminal = ::isatty(STDIN_FILENO) != 0;
    desktop::Desktop::instance().reset();
    int exitCode = kExitOk;
    {
        hostsim::Options simulatorOptions;
        simulatorOptions.unloadAtQuit = false;  // a host that exits keeps its modules to the end
        hostsim::Simulator simulator(simulatorOptions);
        auto agent = std::make_shared<SessionAgent>();
        LineInput input(STDIN_FILENO);
        if (interactive) input.setInterruptFd(installInterruptKey());
        if (interactive) agent->setFallback(std::make_shared<TerminalAgent>(input, stdout, !terminal));

        RunnerOptions options;
        options.defaultModule = line.module.value_or(defaultModule());
        options.console = stdout;
        options.askBeforeQuit = interactive;
        SessionRunner* runnerPtr = nullptr;
        const ScriptingServer::Handler handler = [&runnerPtr](const std::string& request) {
            return runnerPtr->externalRequest(request);
        };
        if (server.listening()) options.pollRequests = [&](int timeoutMs) { server.serve(handler, timeoutMs); };
        SessionRunner runner(simulator, agent, options);
        runnerPtr = &runner;

        TranscriptOutput output;
        if (!line.quiet || interactive) output.addSink(stdout, !(interactive && terminal));
        output.addSink(transcriptFile);
        output.attach(simulator.transcript());
        if (server.listening()) {
            simulator.transcript().appendSimulatorLine("listening for scripting requests on " + server.path());
        }

        if (interactive) {
            if (terminal) std::fputs("hostsim: type help for the commands, quit to end\n", stdout);
            InteractiveOptions interactiveOptions;
            interactiveOptions.prompt = terminal;
            exitCode = runInteractive(runner, input, &server, interactiveOptions);
        } else {
            exitCode = runScriptText(scriptText, runner, line.keepGoing).exitCode;
            for (const std::string& failure : runner.failureLog()) {
                std::fprintf(stderr, "hostsim: %s\n", failure.c_str());
            }
        }
        output.detach();
        desktop::Desktop::instance().setAgent(nullptr);
    }
    server.close();
    if (transcriptFile != nullptr && std::fclose(transcriptFile) != 0) {
        std::fprintf(stderr, "hostsim: cannot finish the transcript %s\n", line.transcript->c_str());
        if (exitCode == kExitOk) exitCode = kExitFailed;
    }
    return exitCode;
}

}  // namespace hostsim::app

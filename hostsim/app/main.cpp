// hostsim: the host simulator program. Runs a session script or an
// interactive terminal session against the module in the XTensions folder
// beside it, writes the transcript, and serves scripting requests from other
// processes on a local socket while it runs; `--send` is the matching client.
//
// Exit codes: 0 success, 1 a failed script (or a failed --send), 2 usage errors.
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
#include "desktop/files/file_replace.h"

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace hostsim::session;

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage = R"(usage: hostsim --script FILE|- [options]     run a session script
       hostsim --interactive [options]       play the user at a prompt
       hostsim --send XML|- [--socket PATH]  send a scripting request to a running hostsim
options:
  --module DIR|FILE    XTensions folder, .xnt bundle or module file (default: XTensions beside hostsim
                       or beside its folder)
  --transcript FILE    also write the transcript to FILE (folders are made)
  --quiet              no transcript on standard output (script mode)
  --socket PATH        where to listen for scripting requests (default: $XDG_RUNTIME_DIR/lumbrel-hostsim.sock
                       or /tmp/lumbrel-hostsim-UID.sock)
  --no-socket          do not listen
  --keep-going         run the rest of a script after a failed line
  --help               this text and the command list
)";

struct CommandLine {
    enum class Mode { None, Script, Interactive, Send };
    Mode mode = Mode::None;
    std::string script;  // path or "-"
    std::string send;    // request or "-"
    std::optional<std::string> module;
    std::optional<std::string> transcript;
    std::optional<std::string> socket;
    bool noSocket = false;
    bool keepGoing = false;
    bool quiet = false;
    bool help = false;
};

int usageError(const std::string& message) {
    std::fprintf(stderr, "hostsim: %s\nTry 'hostsim --help' for the options and the commands.\n", message.c_str());
    return kExitUsage;
}

bool setMode(CommandLine& line, CommandLine::Mode mode, std::string& error) {
    if (line.mode != CommandLine::Mode::None && line.mode != mode) {
        error = "choose one of --script, --interactive and --send";
        return false;
    }
    line.mode = mode;
    return true;
}

bool parseCommandLine(int argc, char** argv, CommandLine& line, std::string& error) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = std::string(arg) + " needs a value";
                return false;
            }
            out = std::string(args[++i]);
            return true;
        };
        std::string text;
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--script") {
            if (!value(line.script) || !setMode(line, CommandLine::Mode::Script, error)) return false;
        } else if (arg == "--interactive") {
            if (!setMode(line, CommandLine::Mode::Interactive, error)) return false;
        } else if (arg == "--send") {
            if (!value(line.send) || !setMode(line, CommandLine::Mode::Send, error)) return false;
        } else if (arg == "--module") {
            if (!value(text)) return false;
            line.module = text;
        } else if (arg == "--transcript") {
            if (!value(text)) return false;
            line.transcript = text;
        } else if (arg == "--socket") {
            if (!value(text)) return false;
            line.socket = text;
        } else if (arg == "--no-socket") {
            line.noSocket = true;
        } else if (arg == "--keep-going") {
            line.keepGoing = true;
        } else if (arg == "--quiet") {
            line.quiet = true;
        } else {
            error = "unknown option " + std::string(arg);
            return false;
        }
    }
    if (!line.help && line.mode == CommandLine::Mode::None) {
        error = "nothing to do: give --script, --interactive or --send";
        return false;
    }
    return true;
}

bool readStream(std::FILE* file, std::string& text) {
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    return std::ferror(file) == 0;
}

bool readInput(const std::string& path, std::string& text) {
    if (path == "-") return readStream(stdin, text);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    const bool ok = readStream(file, text);
    std::fclose(file);
    return ok;
}

// The XTensions folder beside the program, else beside the program's folder
// (the build puts the program in bin/ next to XTensions/).
std::string defaultModule() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return "XTensions";
    const std::filesystem::path beside = self.parent_path() / "XTensions";
    if (std::filesystem::is_directory(beside, error)) return beside.string();
    const std::filesystem::path above = self.parent_path().parent_path() / "XTensions";
    if (std::filesystem::is_directory(above, error)) return above.string();
    return beside.string();
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

std::FILE* openTranscript(const std::string& path, std::string& reason) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(parent, ignored);
    }
    return desktop::files::openToRewrite(path, reason);
}

int runSession(const CommandLine& line) {
    // A script is read and checked whole before anything runs; its lines
    // are parsed again one by one as they run.
    std::string scriptText;
    if (line.mode == CommandLine::Mode::Script) {
        if (!readInput(line.script, scriptText)) return usageError("cannot read the script " + line.script);
        const std::vector<ParseError> errors = checkScript(scriptText);
        if (!errors.empty()) {
            const std::string name = line.script == "-" ? "<stdin>" : line.script;
            for (const ParseError& error : errors) std::fprintf(stderr, "%s\n", formatError(error, name).c_str());
            return kExitFailed;
        }
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

}  // namespace

int main(int argc, char** argv) {
    // A client that goes away must not end the host.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        CommandLine line;
        std::string error;
        if (argc <= 1) {
            std::fputs(kUsage, stderr);  // nothing given: show what can be given
            return kExitUsage;
        }
        if (!parseCommandLine(argc, argv, line, error)) return usageError(error);
        if (line.help) {
            std::fputs(kUsage, stdout);
            std::fputs("\n", stdout);
            std::fputs(commandSummary(), stdout);
            return kExitOk;
        }
        if (line.mode == CommandLine::Mode::Send) return sendOnly(line);
        return runSession(line);
    } catch (const std::bad_alloc&) {
        std::fputs("hostsim: out of memory\n", stderr);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "hostsim: %s\n", failure.what());
    }
    return kExitFailed;
}

// hostsim: the host simulator program. Runs a session script or an
// interactive terminal session against the module in the XTensions folder
// beside it, writes the transcript, and serves scripting requests from other
// processes on a local socket while it runs; `--send` is the matching client.
//
// Exit codes: 0 success, 1 a failed script (or a failed --send), 2 usage errors.
#include "program.h"

#include "hostsim/session/script.h"

#include "desktop/files/file_open.h"
#include "desktop/files/file_replace.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <new>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace hostsim::app {

namespace {

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

}  // namespace

int usageError(const std::string& message) {
    std::fprintf(stderr, "hostsim: %s\nTry 'hostsim --help' for the options and the commands.\n", message.c_str());
    return kExitUsage;
}

bool readStream(std::FILE* file, std::string& text) {
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    return std::ferror(file) == 0;
}

bool readInput(const std::string& path, std::string& text) {
    if (path == "-") return readStream(stdin, text);
    std::FILE* file = desktop::files::openToRead(path);
    if (file == nullptr) return false;
    const bool ok = readStream(file, text);
    std::fclose(file);
    return ok;
}

int readCheckedScript(const std::string& path, std::string& text) {
    if (!readInput(path, text)) return usageError("cannot read the script " + path);
    const std::vector<session::ParseError> errors = session::checkScript(text);
    if (errors.empty()) return kExitOk;
    const std::string name = path == "-" ? "<stdin>" : path;
    for (const session::ParseError& error : errors) {
        std::fprintf(stderr, "%s\n", session::formatError(error, name).c_str());
    }
    return kExitFailed;
}

std::FILE* openTranscript(const std::string& path, std::string& reason) {
    const std::filesystem::path parent = desktop::files::pathOf(path).parent_path();
    if (!parent.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(parent, ignored);
    }
    return desktop::files::openToRewrite(path, reason);
}

std::string defaultModule() {
    std::error_code error;
    const std::filesystem::path self = programFile();
    if (self.empty()) return "XTensions";
    const std::filesystem::path beside = self.parent_path() / "XTensions";
    if (std::filesystem::is_directory(beside, error)) return desktop::files::nameOf(beside);
    const std::filesystem::path above = self.parent_path().parent_path() / "XTensions";
    if (std::filesystem::is_directory(above, error)) return desktop::files::nameOf(above);
    return desktop::files::nameOf(beside);
}

}  // namespace hostsim::app

int main(int argc, char** argv) {
    using namespace hostsim::app;
    using hostsim::session::commandSummary;
    prepareProcess();
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

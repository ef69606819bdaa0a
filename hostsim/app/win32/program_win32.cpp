// The Windows host program: session scripts alone, the module's real dialogs
// answered by the script. There is no scripting socket and no interactive
// prompt in this host; their options are refused.
#include "../program.h"

#include "hostsim/session/runner.h"
#include "hostsim/session/script.h"
#include "hostsim/session/session_agent.h"
#include "hostsim/session/transcript_output.h"

#include "hostsim/host/simulator.h"
#include "hostsim/host/win32/real_dialogs.h"

#include "desktop/desktop.h"
#include "desktop/files/win32/windows_api.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace hostsim::app {

using namespace hostsim::session;

std::filesystem::path programFile() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 6; ++attempt) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return std::filesystem::path(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

void prepareProcess() {
    // Transcripts and replies go out byte for byte, as on POSIX: no CR added before LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
}

int sendOnly(const CommandLine&) { return usageError("the Windows host has no scripting socket: --send is POSIX-only"); }

int runSession(const CommandLine& line) {
    if (line.mode == CommandLine::Mode::Interactive) {
        return usageError("the Windows host runs scripts only: --interactive is POSIX-only");
    }
    if (line.socket) return usageError("the Windows host has no scripting socket: --socket is POSIX-only");
    std::string scriptText;
    if (const int code = readCheckedScript(line.script, scriptText); code != kExitOk) return code;
    std::FILE* transcriptFile = nullptr;
    if (line.transcript) {
        std::string reason;
        transcriptFile = openTranscript(*line.transcript, reason);
        if (transcriptFile == nullptr) {
            return usageError("cannot write the transcript " + *line.transcript + ": " + reason);
        }
    }

    desktop::Desktop::instance().reset();
    int exitCode = kExitOk;
    {
        hostsim::Options simulatorOptions;
        simulatorOptions.unloadAtQuit = false;  // a host that exits keeps its modules to the end
        hostsim::Simulator simulator(simulatorOptions);
        auto agent = std::make_shared<SessionAgent>();
        RunnerOptions options;
        options.defaultModule = line.module.value_or(defaultModule());
        options.console = stdout;
        SessionRunner runner(simulator, agent, options);
        // The module's dialogs are real windows: the session's agent answers them through their own loops.
        hostsim::win32::RealDialogDriver dialogs;

        TranscriptOutput output;
        if (!line.quiet) output.addSink(stdout, true);
        output.addSink(transcriptFile);
        output.attach(simulator.transcript());
        exitCode = runScriptText(scriptText, runner, line.keepGoing).exitCode;
        for (const std::string& failure : runner.failureLog()) std::fprintf(stderr, "hostsim: %s\n", failure.c_str());
        output.detach();
        desktop::Desktop::instance().setAgent(nullptr);
    }
    if (transcriptFile != nullptr && std::fclose(transcriptFile) != 0) {
        std::fprintf(stderr, "hostsim: cannot finish the transcript %s\n", line.transcript->c_str());
        if (exitCode == kExitOk) exitCode = kExitFailed;
    }
    return exitCode;
}

}  // namespace hostsim::app

// The host simulator program's parts: the command line, and what its
// operating system gives it. POSIX hosts run scripts, the interactive prompt
// and the scripting socket (program_posix.cpp); the Windows host runs scripts
// alone, with no socket and no prompt (program_win32.cpp).
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

namespace hostsim::app {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

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

// Prints the message and the hint to --help; answers kExitUsage.
int usageError(const std::string& message);
bool readStream(std::FILE* file, std::string& text);
// The file, or standard input for "-".
bool readInput(const std::string& path, std::string& text);
// The script of --script read whole and checked before anything runs (its
// lines are parsed again one by one as they run): kExitOk, else the exit
// code after the errors were printed.
int readCheckedScript(const std::string& path, std::string& text);
// The transcript file, its folders made first.
std::FILE* openTranscript(const std::string& path, std::string& reason);
// The XTensions folder beside the program, else beside the program's folder
// (the build puts the program in bin/ next to XTensions/).
std::string defaultModule();

// --- Per operating system ---------------------------------------------------------
// The running program's file; empty when unknown.
std::filesystem::path programFile();
// Before anything runs: signals, standard streams.
void prepareProcess();
// --send: one scripting request to a running host.
int sendOnly(const CommandLine& line);
// --script or --interactive.
int runSession(const CommandLine& line);

}  // namespace hostsim::app

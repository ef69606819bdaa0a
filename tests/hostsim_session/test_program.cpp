// The hostsim program as a person runs it: options, exit codes, the
// transcript file, and the --send client against a running simulator.
#include "session_fixture.h"

#include "hostsim/session/scripting_socket.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <string>
#include <thread>

namespace hostsim::session::test {
namespace {

using lumbrel::test::readFile;
using lumbrel::test::TempDir;
using lumbrel::test::writeFile;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct Outcome {
    int exitCode = -1;
    std::string output;  // standard output and error together
};

std::string shellQuote(const std::string& text) {
    std::string out = "'";
    for (const char c : text) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

Outcome runProgram(const std::string& arguments) {
    Outcome outcome;
    const std::string command = shellQuote(HOSTSIM_PROGRAM) + " " + arguments + " 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return outcome;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) outcome.output.append(buffer, got);
    const int status = ::pclose(pipe);
    if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    return outcome;
}

TEST(Program, UsageErrorsExitWithTwo) {
    Outcome outcome = runProgram("");
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_TRUE(contains(outcome.output, "usage: hostsim")) << outcome.output;
    outcome = runProgram("--script a --interactive");
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_TRUE(contains(outcome.output, "choose one of")) << outcome.output;
    // An error names itself and points at --help in one line, not the whole usage.
    outcome = runProgram("--frobnicate");
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_EQ(outcome.output,
              "hostsim: unknown option --frobnicate\nTry 'hostsim --help' for the options and the commands.\n");
    outcome = runProgram("--script /no/such.session --no-socket");
    EXPECT_EQ(outcome.exitCode, 2);
    outcome = runProgram("--help");
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(contains(outcome.output, "expect clipboard")) << outcome.output;
}

TEST(Program, ScriptSyntaxErrorsNameFileLineAndColumn) {
    TempDir dir;
    writeFile(dir.file("bad.session"), "menus\nclick 1 2\nfrob\n");
    const Outcome outcome = runProgram("--no-socket --script " + shellQuote(dir.file("bad.session")));
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(contains(outcome.output, dir.file("bad.session") + ":2:7: a point is written x,y")) << outcome.output;
    EXPECT_TRUE(contains(outcome.output, dir.file("bad.session") + ":3:1: unknown command \"frob\"")) << outcome.output;
    EXPECT_FALSE(contains(outcome.output, "> menus"));  // nothing ran
}

// The transcript is written as it grows, into the file itself: never into a
// FIFO or a folder (opening a FIFO used to wait for a reader for ever), and
// through a link to a file, which keeps its mode.
TEST(Program, ATranscriptGoesOnlyIntoARegularFile) {
    TempDir dir;
    writeFile(dir.file("s.session"), "echo hello\n");
    const std::string script = " --script " + shellQuote(dir.file("s.session"));
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.path() / "folder");
    for (const char* name : {"fifo", "folder"}) {
        const std::string target = dir.file(name);
        EXPECT_TRUE(lumbrel::test::finishesWithin(std::chrono::seconds(20), [&] {
            const Outcome outcome = runProgram("--no-socket --quiet --transcript " + shellQuote(target) + script);
            return outcome.exitCode == 2 && contains(outcome.output, "cannot write the transcript " + target + ": ");
        })) << name;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(dir.file("fifo")));

    writeFile(dir.file("real.txt"), "an older and longer transcript\n");
    ASSERT_EQ(::chmod(dir.file("real.txt").c_str(), 0640), 0);
    ASSERT_EQ(::symlink("real.txt", dir.file("link.txt").c_str()), 0);
    const Outcome outcome = runProgram("--no-socket --quiet --transcript " + shellQuote(dir.file("link.txt")) + script);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
    EXPECT_EQ(readFile(dir.file("real.txt")), "hello\n");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.txt")));
    EXPECT_EQ(std::filesystem::status(dir.file("real.txt")).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}

// A long script is checked whole but held parsed one line at a time: two
// million lines once took 1.16 GB, about 580 bytes a line.
TEST(Program, ALongScriptNeedsLittleMoreMemoryThanItsText) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's own memory hides the figure";
#else
    TempDir dir;
    std::string script;
    for (int i = 0; i < 500000; ++i) script += "echo x\n";
    writeFile(dir.file("long.session"), script);
    const Outcome outcome = runProgram("--no-socket --quiet --script " + shellQuote(dir.file("long.session")));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output.substr(0, 500);
    rusage usage{};
    ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &usage), 0);
    EXPECT_LT(usage.ru_maxrss, 150 * 1024) << "KB";  // the parsed lines alone took about 290 MB
#endif
}

// `--send` into a terminal ends the reply's line (the module's CR line ends
// would let the shell's prompt overwrite it); into a pipe it stays byte for byte.
TEST(Program, SendAtATerminalEndsTheReplysLine) {
    TempDir dir;
    const std::string socket = dir.file("h.sock");
    ScriptingServer server;
    std::string error;
    ASSERT_TRUE(server.listen(socket, error)) << error;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(slave, STDOUT_FILENO);
        ::execl(HOSTSIM_PROGRAM, "hostsim", "--socket", socket.c_str(), "--send", "<cmd>2</cmd>",
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(slave);
    const auto handler = [](const std::string&) { return std::string("<cmd>2</cmd>\r<guid qid=\"1\">a</guid>\r"); };
    int status = -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (::waitpid(child, &status, WNOHANG) == 0 && std::chrono::steady_clock::now() < deadline) {
        server.serve(handler, 20);
    }
    std::string shown;
    char buffer[256];
    ssize_t got = 0;
    while ((got = ::read(master, buffer, sizeof buffer)) > 0) shown.append(buffer, static_cast<std::size_t>(got));
    ::close(master);
    ASSERT_TRUE(WIFEXITED(status)) << "hostsim --send did not end";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(shown, "<cmd>2</cmd>\r\n<guid qid=\"1\">a</guid>\r\n");  // the terminal shows LF as CR LF
}

class ProgramWithModule : public ModuleSessionTest {};

TEST_F(ProgramWithModule, ScriptWritesTheTranscriptAndFailsOnAFailedCheck) {
    const std::string layout = writeLayout(dir_);
    writeFile(dir_.file("good.session"), "open \"" + layout + "\"\nmenus\nexpect menu \"Show Image Names\" enabled\n");
    const std::string transcriptFile = dir_.file("out/sub/demo.txt");
    Outcome outcome = runProgram("--no-socket --quiet --module " + shellQuote(*xtensions_) + " --transcript " +
                                 shellQuote(transcriptFile) + " --script " + shellQuote(dir_.file("good.session")));
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
    const std::string text = readFile(transcriptFile);
    EXPECT_TRUE(contains(text, "> open \"" + layout + "\"\n")) << text;
    EXPECT_TRUE(contains(text, "  View > \"Show Image Names\" enabled [module]\n")) << text;
    EXPECT_FALSE(contains(outcome.output, "> menus")) << outcome.output;  // --quiet

    writeFile(dir_.file("failing.session"), "expect clipboard \"x\"\necho after\n");
    outcome = runProgram("--no-socket --module " + shellQuote(*xtensions_) + " --script " +
                         shellQuote(dir_.file("failing.session")));
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(contains(outcome.output, "hostsim: line 1: expected the clipboard")) << outcome.output;
    EXPECT_FALSE(contains(outcome.output, "after")) << outcome.output;
    outcome = runProgram("--no-socket --keep-going --module " + shellQuote(*xtensions_) + " --script " +
                         shellQuote(dir_.file("failing.session")));
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_TRUE(contains(outcome.output, "after")) << outcome.output;
}

TEST_F(ProgramWithModule, SendTalksToARunningSimulator) {
    const std::string socket = dir_.file("h.sock");
    writeFile(dir_.file("serve.session"), "new \"A\"\nserve 3\n");
    auto host = std::async(std::launch::async, [&] {
        return runProgram("--socket " + shellQuote(socket) + " --module " + shellQuote(*xtensions_) +
                          " --script " + shellQuote(dir_.file("serve.session")));
    });
    // Wait for the socket to appear, then send.
    for (int i = 0; i < 100 && !std::filesystem::exists(socket); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const Outcome sent = runProgram("--socket " + shellQuote(socket) + " --send '<cmd>5</cmd>'");
    EXPECT_EQ(sent.exitCode, 0) << sent.output;
    EXPECT_EQ(sent.output, "<cmd>5</cmd>\r");
    const Outcome served = host.get();
    EXPECT_EQ(served.exitCode, 0) << served.output;
    EXPECT_TRUE(contains(served.output, "> (from another process) script \"<cmd>5</cmd>\"")) << served.output;
    EXPECT_FALSE(std::filesystem::exists(socket));  // removed at the end

    const Outcome nobody = runProgram("--socket " + shellQuote(socket) + " --send '<cmd>5</cmd>'");
    EXPECT_EQ(nobody.exitCode, 1);
    EXPECT_TRUE(contains(nobody.output, "no simulator listening")) << nobody.output;
}

}  // namespace
}  // namespace hostsim::session::test

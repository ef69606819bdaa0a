// The interactive session driven through a pipe: commands and alert answers
// typed ahead, the scripting socket served while the prompt waits.
#include "session_fixture.h"

#include "hostsim/session/interactive.h"
#include "hostsim/session/line_input.h"
#include "hostsim/session/scripting_socket.h"
#include "hostsim/session/terminal_agent.h"

#include "desktop/desktop.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace hostsim::session::test {
namespace {

using lumbrel::test::streamContents;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class InteractiveTest : public ModuleSessionTest {
protected:
    void SetUp() override {
        ModuleSessionTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_EQ(::pipe(fds_), 0);
        output_ = std::tmpfile();
        ASSERT_NE(output_, nullptr);
    }
    void TearDown() override {
        closeWriteEnd();
        if (fds_[0] >= 0) ::close(fds_[0]);
        if (output_ != nullptr) std::fclose(output_);
        ModuleSessionTest::TearDown();
    }
    void type(const std::string& text) {
        ASSERT_EQ(::write(fds_[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void closeWriteEnd() {
        if (fds_[1] >= 0) ::close(fds_[1]);
        fds_[1] = -1;
    }

    int fds_[2] = {-1, -1};
    std::FILE* output_ = nullptr;
};

TEST_F(InteractiveTest, AlertPromptIsAnsweredFromTheSameInput) {
    const std::string layout = writeLayout(dir_);
    LineInput input(fds_[0]);
    agent_->setFallback(std::make_shared<TerminalAgent>(input, output_, true));
    type("prefs set Default SaveWarning 1\n"
         "open \"" + layout + "\"\n"
         "script \"<cmd>3</cmd><qid=\\\"1\\\">x</qid>\"\n"
         "command 117\n"
         "1\n"  // the alert's answer
         "no such command\n"
         "help\n"
         "expect alert \"Doc has not been saved!\"\n"
         "command 117\n");  // the input ends while this alert is up
    closeWriteEnd();
    InteractiveOptions options;
    options.output = output_;
    options.prompt = false;
    const int result = runInteractive(*runner_, input, nullptr, options);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(runner_->quitted());

    const std::string shown = streamContents(output_);
    EXPECT_TRUE(contains(shown, "--- alert \"Lumbrel\" (note) ---\nDoc has not been saved!\n  [1] OK (default)\n"))
        << shown;
    EXPECT_TRUE(contains(shown, "error: column 1: unknown command \"no\"")) << shown;
    EXPECT_TRUE(contains(shown, "expect alert \"MESSAGE\"")) << shown;  // help
    EXPECT_TRUE(contains(shown, "(end of input: default button)")) << shown;
    const auto alerts = desktop::Desktop::instance().transcript().linesOf(desktop::EntryKind::Alert);
    ASSERT_EQ(alerts.size(), 2u) << transcript();
    EXPECT_EQ(alerts[0], "alert \"Lumbrel\" note: Doc has not been saved! [OK] -> OK");
    EXPECT_EQ(alerts[1], "alert \"Lumbrel\" note: Doc has not been saved! [OK] -> OK (default)");
}

TEST_F(InteractiveTest, FailedLinesMakeTheExitCodeOne) {
    LineInput input(fds_[0]);
    type("expect clipboard \"nothing\"\nquit\necho not read\n");
    closeWriteEnd();
    InteractiveOptions options;
    options.output = output_;
    options.prompt = true;
    EXPECT_EQ(runInteractive(*runner_, input, nullptr, options), 1);
    EXPECT_TRUE(contains(streamContents(output_), "hostsim> ")) << streamContents(output_);
    EXPECT_FALSE(contains(transcript(), "not read"));
    EXPECT_EQ(input.readLine(), std::optional<std::string>("echo not read"));  // left unread after quit
}

TEST_F(InteractiveTest, SocketIsServedWhileThePromptWaits) {
    ScriptingServer server;
    std::string error;
    ASSERT_TRUE(server.listen(dir_.file("host.sock"), error)) << error;
    LineInput input(fds_[0]);
    type("new \"A\"\n");

    // The client asks while the session waits for a line (before or after
    // the first one, as it happens), then the person types quit.
    std::thread client([&] {
        const SendResult result = sendRequest(dir_.file("host.sock"), "<cmd>7</cmd>");
        EXPECT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.reply, "<cmd>7</cmd>\r");
        type("quit\n");
    });
    InteractiveOptions options;
    options.output = output_;
    options.prompt = false;
    const int result = runInteractive(*runner_, input, &server, options);
    client.join();
    EXPECT_EQ(result, 0);
    const std::string text = transcript();
    const std::size_t request = text.find("> (from another process) script \"<cmd>7</cmd>\"");
    ASSERT_NE(request, std::string::npos) << text;
    EXPECT_LT(request, text.find("> quit"));
}

// A client that connects and stays silent, as long as it lives.
struct SilentClient {
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    explicit SilentClient(const std::string& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.c_str(), path.size());
        EXPECT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    }
    ~SilentClient() { ::close(fd); }
    SilentClient(const SilentClient&) = delete;
    SilentClient& operator=(const SilentClient&) = delete;
};

TEST_F(InteractiveTest, SilentClientsDoNotHoldUpThePrompt) {
    ScriptingServer server;  // the real limits: 2 s for a request
    std::string error;
    ASSERT_TRUE(server.listen(dir_.file("host.sock"), error)) << error;
    std::vector<std::unique_ptr<SilentClient>> silent;
    for (int i = 0; i < 3; ++i) silent.push_back(std::make_unique<SilentClient>(dir_.file("host.sock")));
    LineInput input(fds_[0]);
    type("echo typed\necho again\nquit\n");
    const auto start = std::chrono::steady_clock::now();
    InteractiveOptions options;
    options.output = output_;
    options.prompt = false;
    EXPECT_EQ(runInteractive(*runner_, input, &server, options), 0);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(1000));  // each client once held it up for 5 s
    EXPECT_TRUE(contains(transcript(), "typed\nagain\n")) << transcript();
}

TEST_F(InteractiveTest, AReplyWhileThePromptWaitsIsFollowedByAFreshPrompt) {
    ScriptingServer server;
    std::string error;
    ASSERT_TRUE(server.listen(dir_.file("host.sock"), error)) << error;
    LineInput input(fds_[0]);
    std::thread client([&] {
        const SendResult result = sendRequest(dir_.file("host.sock"), "<cmd>7</cmd>", 5000);
        EXPECT_TRUE(result.ok) << result.error;
        type("quit\n");
    });
    InteractiveOptions options;
    options.output = output_;
    options.prompt = true;
    EXPECT_EQ(runInteractive(*runner_, input, &server, options), 0);
    client.join();
    // The prompt, the request's transcript on a line of its own, the prompt again.
    EXPECT_EQ(streamContents(output_), "hostsim> \nhostsim> ");
}

// ---- quitting with unsaved changes ------------------------------------------------------------

class QuitTest : public InteractiveTest {
protected:
    // A runner that asks at quit, the layout opened and changed (an
    // identifier set through a scripting request).
    void changeTheLayout() {
        RunnerOptions options;
        options.askBeforeQuit = true;
        makeRunner(options);
        layout_ = writeLayout(dir_);
        saved_ = lumbrel::test::readFile(layout_);
        for (const std::string& line : {"open \"" + layout_ + "\"", std::string(R"(script "<cmd>3</cmd><qid=\"1\">x</qid>")")}) {
            ParseError error;
            ASSERT_TRUE(runner_->run(*parseLine(line, 1, error))) << runner_->failure();
        }
    }
    int runTyped(const std::string& typed, int interrupt = -1) {
        LineInput input(fds_[0]);
        input.setInterruptFd(interrupt);
        agent_->setFallback(std::make_shared<TerminalAgent>(input, output_, true));
        type(typed);
        closeWriteEnd();
        InteractiveOptions options;
        options.output = output_;
        options.prompt = false;
        return runInteractive(*runner_, input, nullptr, options);
    }
    bool layoutSaved() const { return lumbrel::test::readFile(layout_) != saved_; }
    std::size_t questions() const {
        std::size_t count = 0;
        for (const std::string& line : desktop::Desktop::instance().transcript().linesOf(desktop::EntryKind::Alert)) {
            if (contains(line, "Save changes to \"Layout\" before closing?")) ++count;
        }
        return count;
    }

    std::string layout_;
    std::string saved_;
};

TEST_F(QuitTest, QuitAndTheEndOfInputAskAboutUnsavedChanges) {
    struct Case {
        const char* typed;
        bool saved;
        std::size_t questions;
        bool cancelled;
    };
    for (const Case& c : {Case{"quit\n3\n", false, 1, false},                // Don't Save
                          Case{"quit\nSave\n", true, 1, false},              // Save
                          Case{"quit\n2\necho still here\n", true, 2, true},  // Cancel, then the end: Save
                          Case{"", true, 1, false}}) {                        // the end of input: Save
        SCOPED_TRACE(c.typed);
        desktop::Desktop::instance().reset();
        changeTheLayout();
        if (IsSkipped() || HasFatalFailure()) return;
        EXPECT_EQ(runTyped(c.typed), 0);
        EXPECT_TRUE(runner_->quitted());
        EXPECT_EQ(layoutSaved(), c.saved);
        EXPECT_EQ(questions(), c.questions) << transcript();
        EXPECT_EQ(contains(transcript(), "quit cancelled"), c.cancelled) << transcript();
        if (c.cancelled) {
            EXPECT_TRUE(contains(transcript(), "still here")) << transcript();
        }
        ::close(fds_[0]);
        ASSERT_EQ(::pipe(fds_), 0);
    }
}

TEST_F(QuitTest, CtrlCAtThePromptQuitsAsQuitDoes) {
    changeTheLayout();
    int interrupt[2];
    ASSERT_EQ(::pipe(interrupt), 0);
    ASSERT_EQ(::write(interrupt[1], "c", 1), 1);
    EXPECT_EQ(runTyped("", interrupt[0]), 0);  // the question then meets the end of input: Save
    ::close(interrupt[0]);
    ::close(interrupt[1]);
    EXPECT_TRUE(contains(transcript(), "> quit (Ctrl-C)")) << transcript();
    EXPECT_EQ(questions(), 1u);
    EXPECT_TRUE(layoutSaved());
}

TEST_F(QuitTest, AScriptQuitsAsItSays) {
    layout_ = writeLayout(dir_);
    saved_ = lumbrel::test::readFile(layout_);
    EXPECT_EQ(runText("open \"" + layout_ + "\"\nscript \"<cmd>3</cmd><qid=\\\"1\\\">x</qid>\"\nquit\n").exitCode, 0)
        << runner_->failure();
    EXPECT_EQ(questions(), 0u);
    EXPECT_FALSE(layoutSaved());
}

}  // namespace
}  // namespace hostsim::session::test

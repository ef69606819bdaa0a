// The interactive session driven through a pipe: commands and alert answers
// typed ahead, the scripting socket served while the prompt waits.
#include "session_fixture.h"

#include "hostsim/session/interactive.h"
#include "hostsim/session/line_input.h"
#include "hostsim/session/scripting_socket.h"
#include "hostsim/session/terminal_agent.h"

#include "desktop/desktop.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <future>
#include <string>
#include <thread>

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

}  // namespace
}  // namespace hostsim::session::test

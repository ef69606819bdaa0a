// Alerts as terminal prompts, answered through a pipe as a test (or a person
// piping a file) would: by number, by title, with retries, and at the end of input.
#include "hostsim/session/line_input.h"
#include "hostsim/session/session_agent.h"
#include "hostsim/session/terminal_agent.h"

#include "desktop/desktop.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

namespace hostsim::session {
namespace {

using lumbrel::test::streamContents;

// A pipe whose write end is filled and closed before reading starts.
class Pipe {
public:
    explicit Pipe(const std::string& typed) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        read_ = fds[0];
        const ssize_t written = ::write(fds[1], typed.data(), typed.size());
        EXPECT_EQ(written, static_cast<ssize_t>(typed.size()));
        ::close(fds[1]);
    }
    ~Pipe() {
        if (read_ >= 0) ::close(read_);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    int fd() const noexcept { return read_; }

private:
    int read_ = -1;
};

desktop::AlertRequest saveAlert() {
    desktop::AlertRequest alert;
    alert.title = "Lumbrel";
    alert.message = "Save changes?\rAll of them.";
    alert.informative = "/x/y.json";
    alert.buttons = {"Yes", "No", ""};
    return alert;
}

class TerminalAgentTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktop::Desktop::instance().reset();
        output_ = std::tmpfile();
        ASSERT_NE(output_, nullptr);
    }
    void TearDown() override {
        desktop::Desktop::instance().setAgent(nullptr);
        if (output_ != nullptr) std::fclose(output_);
    }

    // Raises the alert with a terminal agent reading `typed`; answers the item pressed.
    int ask(const std::string& typed, const desktop::AlertRequest& alert = saveAlert()) {
        Pipe pipe(typed);
        LineInput input(pipe.fd());
        desktop::Desktop::instance().setAgent(std::make_shared<TerminalAgent>(input, output_, true));
        const int item = desktop::Desktop::instance().runAlert(alert);
        desktop::Desktop::instance().setAgent(nullptr);
        return item;
    }
    std::string lastAlertLine() {
        const auto lines = desktop::Desktop::instance().transcript().linesOf(desktop::EntryKind::Alert);
        return lines.empty() ? std::string() : lines.back();
    }

    std::FILE* output_ = nullptr;
};

TEST_F(TerminalAgentTest, PromptShowsTheAlertAndTakesANumber) {
    EXPECT_EQ(ask("2\n"), 2);
    const std::string shown = streamContents(output_);
    EXPECT_NE(shown.find("--- alert \"Lumbrel\" (note) ---\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Save changes?\nAll of them.\n/x/y.json\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("  [1] Yes (default)\n  [2] No\n"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("[3]"), std::string::npos);
    EXPECT_NE(shown.find("empty for the default): 2\n"), std::string::npos) << shown;
    EXPECT_NE(lastAlertLine().find("-> No"), std::string::npos) << lastAlertLine();
    EXPECT_EQ(lastAlertLine().find("default"), std::string::npos) << lastAlertLine();
}

TEST_F(TerminalAgentTest, TitlesMatchIgnoringCaseAndWrongAnswersAskAgain) {
    EXPECT_EQ(ask("  no \n"), 2);
    EXPECT_EQ(ask("Maybe\n3\nYES\n"), 1);
    const std::string shown = streamContents(output_);
    EXPECT_NE(shown.find("no button \"Maybe\" here"), std::string::npos) << shown;
    EXPECT_NE(shown.find("no button \"3\" here"), std::string::npos) << shown;
    EXPECT_EQ(lastAlertLine().find("(default)"), std::string::npos) << lastAlertLine();
}

TEST_F(TerminalAgentTest, EmptyLineAndEndOfInputTakeTheDefault) {
    EXPECT_EQ(ask("\n"), 1);
    EXPECT_NE(lastAlertLine().find("(default)"), std::string::npos) << lastAlertLine();
    EXPECT_EQ(ask(""), 1);
    EXPECT_NE(lastAlertLine().find("(default)"), std::string::npos) << lastAlertLine();
    EXPECT_NE(streamContents(output_).find("(end of input: default button)"), std::string::npos);
    // A wrong answer and then the end: still the default, no hang.
    EXPECT_EQ(ask("Perhaps"), 1);
}

TEST_F(TerminalAgentTest, TypedAnswersMapToShownButtonsOnly) {
    const desktop::AlertRequest alert = saveAlert();
    EXPECT_EQ(itemOfTypedAnswer(alert, "1"), 1);
    EXPECT_EQ(itemOfTypedAnswer(alert, "No"), 2);
    EXPECT_EQ(itemOfTypedAnswer(alert, "nO"), 2);
    EXPECT_EQ(itemOfTypedAnswer(alert, "3"), 0);   // not shown
    EXPECT_EQ(itemOfTypedAnswer(alert, "0"), 0);
    EXPECT_EQ(itemOfTypedAnswer(alert, "12"), 0);
    EXPECT_EQ(itemOfTypedAnswer(alert, ""), desktop::kTakeDefault);
}

TEST_F(TerminalAgentTest, QueuedAnswersComeBeforeThePrompt) {
    Pipe pipe("2\n");
    LineInput input(pipe.fd());
    auto agent = std::make_shared<SessionAgent>();
    agent->setFallback(std::make_shared<TerminalAgent>(input, output_));
    agent->answerWithButton("Yes");
    desktop::Desktop::instance().setAgent(agent);
    EXPECT_EQ(desktop::Desktop::instance().runAlert(saveAlert()), 1);  // queued
    EXPECT_EQ(streamContents(output_), "");                                  // nobody was asked
    EXPECT_EQ(desktop::Desktop::instance().runAlert(saveAlert()), 2);  // typed
    EXPECT_EQ(agent->alertsShown().size(), 2u);
}

TEST_F(TerminalAgentTest, CtrlCPressesTheCancelButtonWhereThereIsOne) {
    // Nothing typed and the input still open: only the interrupt ends the wait.
    int typed[2];
    int interrupt[2];
    ASSERT_EQ(::pipe(typed), 0);
    ASSERT_EQ(::pipe(interrupt), 0);
    LineInput input(typed[0]);
    input.setInterruptFd(interrupt[0]);
    desktop::Desktop::instance().setAgent(std::make_shared<TerminalAgent>(input, output_, true));
    desktop::AlertRequest noCancel = saveAlert();
    noCancel.buttons = {"OK", "", ""};
    struct Case {
        desktop::AlertRequest alert;
        int item;
        const char* shown;
    };
    for (const Case& c : {Case{saveAlert(), 2, "(interrupted: cancel button)"},
                          Case{noCancel, 1, "(interrupted: default button)"}}) {
        ASSERT_EQ(::write(interrupt[1], "c", 1), 1);
        EXPECT_EQ(desktop::Desktop::instance().runAlert(c.alert), c.item);
        EXPECT_NE(streamContents(output_).find(c.shown), std::string::npos) << streamContents(output_);
        EXPECT_FALSE(input.takeInterrupt());  // taken by the prompt
    }
    desktop::Desktop::instance().setAgent(nullptr);
    for (const int fd : {typed[0], typed[1], interrupt[0], interrupt[1]}) ::close(fd);
}

TEST(LineInput, LinesEndInLfOrCrLfAndTheLastNeedsNone) {
    Pipe pipe("one\r\ntwo\n\nlast");
    LineInput input(pipe.fd());
    EXPECT_EQ(input.readLine(), std::optional<std::string>("one"));
    EXPECT_EQ(input.readLine(), std::optional<std::string>("two"));
    EXPECT_EQ(input.readLine(), std::optional<std::string>(""));
    EXPECT_EQ(input.readLine(), std::optional<std::string>("last"));
    EXPECT_EQ(input.readLine(), std::nullopt);
    EXPECT_TRUE(input.ended());
}

}  // namespace
}  // namespace hostsim::session

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop/desktop.h"
#include "desktop_fixture.h"
#include "platform/alerts.h"

namespace lumbrel::test {
namespace {

using platform::AlertStyle;
using platform::runAlert;

class AlertTest : public DesktopTest {};

TEST_F(AlertTest, ScriptedAgentAnswersByTitleAndItemAndSeesTheWholeAlert) {
    auto agent = std::make_shared<desktop::ScriptedAgent>();
    agent->answerWithButton("Cancel");
    agent->answerWithItem(3);
    agent->answerWithItem(1);
    desk().setAgent(agent);

    EXPECT_EQ(runAlert(AlertStyle::Caution, "Lumbrel", "Re-link all pictures?", "/x/folder", "OK", "Cancel", nullptr),
              platform::kAlertCancelItem);
    EXPECT_EQ(runAlert(AlertStyle::Stop, "Lumbrel", "Save?", nullptr, "Save", "Cancel", "Don't Save"),
              platform::kAlertOtherItem);
    EXPECT_EQ(runAlert(AlertStyle::Note, "Lumbrel", "Done.", "", nullptr, nullptr, nullptr),
              platform::kAlertDefaultItem);
    EXPECT_EQ(agent->pendingAnswers(), 0u);

    ASSERT_EQ(agent->alertsSeen().size(), 3u);
    const desktop::AlertRequest& first = agent->alertsSeen()[0];
    EXPECT_EQ(first.style, desktop::AlertStyle::Caution);
    EXPECT_EQ(first.title, "Lumbrel");
    EXPECT_EQ(first.message, "Re-link all pictures?");
    EXPECT_EQ(first.informative, "/x/folder");
    EXPECT_EQ(first.buttons[0], "OK");
    EXPECT_EQ(first.buttons[1], "Cancel");
    EXPECT_FALSE(first.hasButton(3));
    EXPECT_EQ(first.nesting, 1);
    // A null default button shows the system's OK.
    EXPECT_EQ(agent->alertsSeen()[2].buttons[0], "OK");
    EXPECT_FALSE(agent->alertsSeen()[2].hasButton(2));

    EXPECT_EQ(desk().transcript().linesOf(desktop::EntryKind::Alert),
              (std::vector<std::string>{
                  "alert \"Lumbrel\" caution: Re-link all pictures? | /x/folder [OK] [Cancel] -> Cancel",
                  "alert \"Lumbrel\" stop: Save? [Save] [Cancel] [Don't Save] -> Don't Save",
                  "alert \"Lumbrel\" note: Done. [OK] -> OK",
              }));
    EXPECT_EQ(desk().agentFaults(), 0u);
}

TEST_F(AlertTest, DefaultAgentTakesTheDefaultButtonAndTheTranscriptSaysSo) {
    EXPECT_EQ(runAlert(AlertStyle::Note, "Lumbrel", "File not found!", "/x/y.tif", "OK", "Cancel", nullptr), 1);
    EXPECT_EQ(desk().defaultAgent().alertsAnswered(), 1u);
    EXPECT_EQ(desk().transcript().render(),
              "alert \"Lumbrel\" note: File not found! | /x/y.tif [OK] [Cancel] -> OK (default)\n");

    // A scripted agent whose answers ran out decides nothing either.
    auto agent = std::make_shared<desktop::ScriptedAgent>();
    desk().setAgent(agent);
    EXPECT_EQ(runAlert(AlertStyle::Note, "T", "M", nullptr, "Yes", "No", nullptr), 1);
    EXPECT_EQ(desk().defaultAgent().alertsAnswered(), 1u);
    EXPECT_EQ(desk().transcript().linesOf(desktop::EntryKind::Alert).back(), "alert \"T\" note: M [Yes] [No] -> Yes (default)");

    // Null agent: the default agent is in charge again.
    desk().setAgent(nullptr);
    EXPECT_EQ(runAlert(AlertStyle::Note, "T", "M", nullptr, "Yes", "No", nullptr), 1);
    EXPECT_EQ(desk().defaultAgent().alertsAnswered(), 2u);
}

TEST_F(AlertTest, AnswersThatAreNoShownButtonAreFaultsAndGetTheDefault) {
    auto agent = std::make_shared<desktop::ScriptedAgent>();
    agent->answerWithItem(2);           // no cancel button shown
    agent->answerWithItem(7);           // no such item at all
    agent->answerWithButton("Maybe");   // no such title
    desk().setAgent(agent);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(runAlert(AlertStyle::Note, "T", "M", nullptr, "OK", nullptr, "Other"), 1);
    }
    EXPECT_EQ(desk().agentFaults(), 3u);
    const auto lines = desk().transcript().linesOf(desktop::EntryKind::Alert);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "alert \"T\" note: M [OK] [Other] -> OK (invalid answer 2, default taken)");
    EXPECT_EQ(lines[1], "alert \"T\" note: M [OK] [Other] -> OK (invalid answer 7, default taken)");
    EXPECT_EQ(lines[2], "alert \"T\" note: M [OK] [Other] -> OK (invalid answer -1, default taken)");
}

class ThrowingAgent : public desktop::Agent {
public:
    int answerAlert(const desktop::AlertRequest&) override { throw std::runtime_error("script ended"); }
};

TEST_F(AlertTest, AnAgentThatThrowsDoesNotReachTheModule) {
    desk().setAgent(std::make_shared<ThrowingAgent>());
    EXPECT_EQ(runAlert(AlertStyle::Stop, "T", "M", nullptr, "OK", "Cancel", nullptr), 1);
    EXPECT_EQ(desk().agentFaults(), 1u);
    EXPECT_EQ(desk().transcript().linesOf(desktop::EntryKind::Alert).back(),
              "alert \"T\" stop: M [OK] [Cancel] -> OK (agent error: script ended, default taken)");
}

// An agent that runs module code while deciding: it raises another alert from
// inside the first, and may replace itself.
class NestingAgent : public desktop::Agent {
public:
    int depthReached = 0;
    bool replaceSelf = false;
    int answerAlert(const desktop::AlertRequest& alert) override {
        depthReached = alert.nesting;
        if (replaceSelf) {
            replaceSelf = false;
            desktop::Desktop::instance().setAgent(nullptr);  // drops the last owner but this call
            return 2;
        }
        if (alert.message == "outer") {
            const int inner = runAlert(AlertStyle::Note, "T", "inner", nullptr, "OK", "Cancel", nullptr);
            return inner == 2 ? 1 : 2;
        }
        if (alert.message == "recurse") {
            runAlert(AlertStyle::Note, "T", "recurse", nullptr, "OK", "Cancel", nullptr);
        }
        return 2;
    }
};

TEST_F(AlertTest, AlertsRaisedWhileAnAgentDecidesAreNestedAndRecordedWhenAnswered) {
    auto agent = std::make_shared<NestingAgent>();
    desk().setAgent(agent);
    EXPECT_EQ(runAlert(AlertStyle::Note, "T", "outer", nullptr, "OK", "Cancel", nullptr), 1);
    EXPECT_EQ(desk().transcript().linesOf(desktop::EntryKind::Alert),
              (std::vector<std::string>{"alert \"T\" note: inner [OK] [Cancel] -> Cancel",
                                        "alert \"T\" note: outer [OK] [Cancel] -> OK"}));

    // Endless recursion stops at the nesting limit with the default answer.
    desk().transcript().clear();
    EXPECT_EQ(runAlert(AlertStyle::Note, "T", "recurse", nullptr, "OK", "Cancel", nullptr), 2);
    EXPECT_EQ(agent->depthReached, desktop::kMaxAgentNesting);
    const auto lines = desk().transcript().linesOf(desktop::EntryKind::Alert);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(desktop::kMaxAgentNesting + 1));
    EXPECT_EQ(lines.front(), "alert \"T\" note: recurse [OK] [Cancel] -> OK (nested too deep, default taken)");
    EXPECT_EQ(lines.back(), "alert \"T\" note: recurse [OK] [Cancel] -> Cancel");

    // After the nesting unwinds, alerts count from 1 again.
    auto scripted = std::make_shared<desktop::ScriptedAgent>();
    desk().setAgent(scripted);
    runAlert(AlertStyle::Note, "T", "M", nullptr, "OK", nullptr, nullptr);
    EXPECT_EQ(scripted->alertsSeen().at(0).nesting, 1);
}

TEST_F(AlertTest, AnAgentMayReplaceItselfWhileAnswering) {
    auto agent = std::make_shared<NestingAgent>();
    agent->replaceSelf = true;
    desk().setAgent(agent);
    std::weak_ptr<NestingAgent> watch = agent;
    agent.reset();  // the desktop holds the only reference now
    EXPECT_EQ(runAlert(AlertStyle::Note, "T", "M", nullptr, "OK", "Cancel", nullptr), 2);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(runAlert(AlertStyle::Note, "T", "M", nullptr, "OK", "Cancel", nullptr), 1);  // default agent now
}

TEST_F(AlertTest, TextsWithLineBreaksStayOnOneTranscriptLine) {
    runAlert(AlertStyle::Note, "Lumbrel", "Line one\rLine two", "a\tb\x01", "OK", nullptr, nullptr);
    EXPECT_EQ(desk().transcript().render(),
              "alert \"Lumbrel\" note: Line one\\rLine two | a\\tb\\x01 [OK] -> OK (default)\n");
}

TEST_F(AlertTest, BeepsAreCountedAndRecordedInOrder) {
    platform::beep();
    runAlert(AlertStyle::Note, "T", "M", nullptr, nullptr, nullptr, nullptr);
    platform::beep();
    EXPECT_EQ(desk().beepCount(), 2u);
    EXPECT_EQ(desk().transcript().render(), "beep\nalert \"T\" note: M [OK] -> OK (default)\nbeep\n");
}

TEST_F(AlertTest, ResetPutsTheDefaultAgentBackAndClearsCounts) {
    auto agent = std::make_shared<desktop::ScriptedAgent>();
    desk().setAgent(agent);
    platform::beep();
    desk().reset();
    EXPECT_EQ(desk().beepCount(), 0u);
    EXPECT_EQ(desk().transcript().size(), 0u);
    EXPECT_NE(desk().agent(), agent);
    runAlert(AlertStyle::Note, "T", "M", nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(agent->alertsSeen().empty());
}

}  // namespace
}  // namespace lumbrel::test

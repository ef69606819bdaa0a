// The scripting event: replies byte for byte, identifiers written by cmd 3,
// and requests that are large or malformed.
#include <gtest/gtest.h>

#include <string>

#include "host/module_fixture.h"
#include "host/scripting.h"

namespace lumbrel::test {
namespace {

class ScriptingTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        ASSERT_EQ(start(), 0);
        host().addBox(1, 11, XT_BOX_PICTURE, rectPt(0, 0, 100, 100));
        host().addBox(1, 12, XT_BOX_TEXT, rectPt(0, 0, 100, 100));
        host().addBox(2, 21, XT_BOX_PICTURE, rectPt(0, 0, 100, 100));
        host().setIdentifier(11, "abc");
        host().setIdentifier(21, "X-1");
    }

    std::string answer(const std::string& request) {
        std::string reply = "untouched";
        EXPECT_TRUE(answerScriptRequest(request.c_str(), reply));
        return reply;
    }
};

TEST_F(ScriptingTest, Cmd1FindsBoxesByTheirIdentifier) {
    EXPECT_EQ(answer("<req><cmd>1</cmd><guid>abc</guid><guid>nope</guid></req>"),
              "<cmd>1</cmd>\r<qid guid=\"abc\">11</qid>\r");
    EXPECT_EQ(answer("<cmd>1</cmd><guid>X-1</guid><guid>abc</guid>"),
              "<cmd>1</cmd>\r<qid guid=\"abc\">11</qid>\r<qid guid=\"X-1\">21</qid>\r");
    // Only an identifier enclosed as ">id<" counts.
    EXPECT_EQ(answer("<cmd>1</cmd><guid>abcd</guid>"), "<cmd>1</cmd>\r");
}

TEST_F(ScriptingTest, Cmd2AnswersTheIdentifiersOfBoxIds) {
    EXPECT_EQ(answer("<cmd>2</cmd><qid>21</qid><qid>12</qid><qid>99</qid>"),
              "<cmd>2</cmd>\r<guid qid=\"21\">X-1</guid>\r");
}

TEST_F(ScriptingTest, Cmd3GivesEachNamedBoxTheTextOfItsOwnElement) {
    host().setIdentifier(21, "");
    EXPECT_EQ(answer("<cmd>3</cmd><qid=\"21\">second</qid><qid=\"11\">first</qid>"), "<cmd>3</cmd>\r");
    EXPECT_EQ(host().identifier(11), "first");
    EXPECT_EQ(host().identifier(21), "second");
    EXPECT_EQ(host().dirty, XT_DIRTY_CHANGED);
    // What was set is found again.
    EXPECT_EQ(answer("<cmd>2</cmd><qid>11</qid><qid>21</qid>"),
              "<cmd>2</cmd>\r<guid qid=\"11\">first</guid>\r<guid qid=\"21\">second</guid>\r");
}

TEST_F(ScriptingTest, Cmd3WithAnEmptyTextKeepsTheIdentifier) {
    answer("<cmd>3</cmd><qid=\"11\"></qid>");
    EXPECT_EQ(host().identifier(11), "abc");
    EXPECT_EQ(host().dirty, 0);
}

TEST_F(ScriptingTest, Cmd3TextEndsAtTheNextOpeningBracketAndAt255Bytes) {
    answer("<cmd>3</cmd><qid=\"11\">a<b</qid><qid=\"21\">" + std::string(300, 'L') + "</qid>");
    EXPECT_EQ(host().identifier(11), "a");
    EXPECT_EQ(host().identifier(21), std::string(255, 'L'));
    // A text that runs to the end of the request.
    answer("<cmd>3</cmd><qid=\"11\">tail");
    EXPECT_EQ(host().identifier(11), "tail");
}

TEST_F(ScriptingTest, OtherCommandsAndRequestsWithoutCmdAnswerTheCmdElementOnly) {
    EXPECT_EQ(answer("<cmd>7</cmd><qid>11</qid>"), "<cmd>7</cmd>\r");
    EXPECT_EQ(answer("<hello/>"), "<cmd>0</cmd>\r");
    EXPECT_EQ(answer(""), "<cmd>0</cmd>\r");
}

TEST_F(ScriptingTest, LongIdentifiersAndBracketsInsideIdentifiers) {
    host().setIdentifier(11, std::string(300, 'i'));  // stored by someone else, longer than ours
    host().setIdentifier(21, "a<b");
    const std::string reply = answer("<cmd>1</cmd><guid>" + std::string(255, 'i') + "</guid><guid>a<b</guid>");
    // The reply stays XML: the bracket goes out as an entity.
    EXPECT_EQ(reply, "<cmd>1</cmd>\r<qid guid=\"" + std::string(255, 'i') + "\">11</qid>\r<qid guid=\"a&lt;b\">21</qid>\r");
    EXPECT_EQ(answer("<cmd>1</cmd><guid>a&lt;b</guid>"), "<cmd>1</cmd>\r<qid guid=\"a&lt;b\">21</qid>\r");
}

TEST_F(ScriptingTest, OneMegabyteRequestIsAnswered) {
    std::string request = "<cmd>1</cmd>" + std::string(1 << 20, 'q') + "<guid>X-1</guid>";
    EXPECT_EQ(answer(request), "<cmd>1</cmd>\r<qid guid=\"X-1\">21</qid>\r");

    std::string set = "<cmd>3</cmd><qid=\"11\">" + std::string(1 << 20, 'v');
    EXPECT_EQ(answer(set), "<cmd>3</cmd>\r");
    EXPECT_EQ(host().identifier(11), std::string(255, 'v'));
}

TEST_F(ScriptingTest, ReplyKeepsTo16KBytesOfWholeElements) {
    std::string request = "<cmd>1</cmd>";
    for (XTBoxID id = 100; id < 400; ++id) {
        host().addBox(3, id, XT_BOX_PICTURE, rectPt(0, 0, 10, 10));
        const std::string identifier = std::string(200, 'g') + std::to_string(id);
        host().setIdentifier(id, identifier);
        request += "<guid>" + identifier + "</guid>";
    }
    const std::string reply = answer(request);
    EXPECT_LT(reply.size(), static_cast<std::size_t>(kScriptReplySize));
    EXPECT_GT(reply.size(), static_cast<std::size_t>(kScriptReplySize) - 400);
    EXPECT_EQ(reply.back(), '\r');
    // Every element is whole: as many openings as closings.
    std::size_t open = 0;
    std::size_t close = 0;
    for (std::size_t at = reply.find("<qid "); at != std::string::npos; at = reply.find("<qid ", at + 1)) ++open;
    for (std::size_t at = reply.find("</qid>\r"); at != std::string::npos; at = reply.find("</qid>\r", at + 1)) ++close;
    EXPECT_EQ(open, close);
    EXPECT_GT(open, 10U);
}

struct Captured {
    bool called = false;
    std::string text;
};

void capture(void* context, const char* text, std::size_t length) {
    auto& captured = *static_cast<Captured*>(context);
    captured.called = true;
    captured.text.assign(text, length);
}

TEST_F(ScriptingTest, EventWithoutTextGetsNoReplyAndTheTextsLengthIsRespected) {
    Captured captured;
    platform::ScriptReply reply{capture, &captured};
    handleScriptEvent(platform::ScriptRequest{}, reply);
    EXPECT_FALSE(captured.called);

    // The request's bytes end at its length, not at a zero.
    const std::string bytes = "<cmd>2</cmd><qid>21</qid>GARBAGE<qid>11</qid>";
    handleScriptEvent(platform::ScriptRequest{bytes.data(), bytes.find("GARBAGE")}, reply);
    EXPECT_TRUE(captured.called);
    EXPECT_EQ(captured.text, "<cmd>2</cmd>\r<guid qid=\"21\">X-1</guid>\r");
}

TEST_F(ScriptingTest, RequestAndReplyAreLogged) {
    usePrefs("[Default]\rLogging=2\r");
    answer("<cmd>2</cmd><qid>21</qid>");
    const std::string log = logText();
    EXPECT_NE(log.find("\r\rget:\r<cmd>2</cmd><qid>21</qid>"), std::string::npos) << log;
    EXPECT_NE(log.find("\r\rset:\r<cmd>2</cmd>\r<guid qid=\"21\">X-1</guid>\r"), std::string::npos) << log;
}

}  // namespace
}  // namespace lumbrel::test

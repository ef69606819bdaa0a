// Label settings read at start-up and the print-job state.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/module_fixture.h"
#include "labels/label_state.h"
#include "labels/labels.h"

namespace lumbrel::test {
namespace {

using LabelTest = ModuleTest;

TEST_F(LabelTest, DefaultsWithoutSettings) {
    usePrefs("[Default]\r");
    setupDrawLabel();
    EXPECT_STREQ(labelState().printFontName, "__f1");
    EXPECT_EQ(labelState().printFontSize, 8);
    EXPECT_EQ(labelState().printOffset, -3);
    EXPECT_EQ(labelState().mode, kLabelsOff);
}

TEST_F(LabelTest, FontNameKeeps31CharactersAndOffsetTruncatesTowardZero) {
    usePrefs("[Labels]\rFontName=" + std::string(40, 'F') + "\rFontSize=12\rOffset=-3.7\r");
    setupDrawLabel();
    EXPECT_EQ(std::string(labelState().printFontName), std::string(31, 'F'));
    EXPECT_EQ(labelState().printFontSize, 12);
    EXPECT_EQ(labelState().printOffset, -3);

    usePrefs("[Labels]\rOffset=4.9\rFontSize=99999\r");
    setupDrawLabel();
    EXPECT_EQ(labelState().printOffset, 4);
    EXPECT_EQ(labelState().printFontSize, 32767);
}

TEST_F(LabelTest, JobWithLabelsOffAsksNothing) {
    ASSERT_EQ(start(), 0);
    XTPrintJobRec job{};
    EXPECT_EQ(doJobStart(&job), 0);
    EXPECT_TRUE(labelState().printing);
    EXPECT_FALSE(labelState().printNames);
    EXPECT_TRUE(alerts().empty());
    EXPECT_EQ(doJobEnd(&job), 0);
    EXPECT_FALSE(labelState().printing);
}

TEST_F(LabelTest, JobWithLabelsOnAsksOnceUnlessAskIsOff) {
    useStrings();
    ASSERT_EQ(start(), 0);
    labelState().mode = kLabelsFileName;
    labelState().fontSent = true;
    XTPrintJobRec job{};
    agent->answerWithButton("Yes");
    doJobStart(&job);
    EXPECT_TRUE(labelState().printNames);
    EXPECT_FALSE(labelState().fontSent);
    ASSERT_EQ(alerts().size(), 1U);
    EXPECT_EQ(alerts()[0].message, "Print image names?");
    doJobEnd(&job);
    EXPECT_FALSE(labelState().printNames);

    agent->answerWithButton("No");
    doJobStart(&job);
    EXPECT_FALSE(labelState().printNames);

    usePrefs("[Labels]\rAsk=0\r");
    doJobStart(&job);
    EXPECT_TRUE(labelState().printNames);
    EXPECT_EQ(alerts().size(), 2U);
}

TEST_F(LabelTest, BoxDrawingLeavesTheHostsDrawingAlone) {
    ASSERT_EQ(start(), 0);
    XTDrawBoxRec draw{};
    draw.phase = XT_DRAW_PHASE_CONTENT;
    EXPECT_EQ(host().call(XT_CB_DRAWBOX, &draw), 0);
}

}  // namespace
}  // namespace lumbrel::test

// Alerts with localised texts, and the key state.
#include <gtest/gtest.h>

#include "host/key_state.h"
#include "host/message_box.h"
#include "host/module_fixture.h"
#include "platform/keyboard.h"
#include "settings/localised_strings.h"

namespace lumbrel::test {
namespace {

using MessageBoxTest = ModuleTest;

TEST_F(MessageBoxTest, AlertShowsTheFormattedTextTheSecondLineAndLocalisedButtons) {
    useStrings(3);
    setMsg2("%s", "/pics/a.tif");
    agent->answerWithItem(2);
    EXPECT_EQ(msgBoxOkCancel("kCMYKImg"), kAnswerCancel);
    ASSERT_EQ(alerts().size(), 1U);
    const auto shown = alerts();
    const desktop::AlertRequest& alert = shown[0];
    EXPECT_EQ(alert.title, "Lumbrel");
    EXPECT_EQ(alert.style, desktop::AlertStyle::Note);
    EXPECT_EQ(alert.message, "Das folgende Bild ist kein CMYK-Bild:");
    EXPECT_EQ(alert.informative, "/pics/a.tif");
    EXPECT_EQ(alert.buttons[0], "OK");
    EXPECT_EQ(alert.buttons[1], "Abbrechen");
    EXPECT_EQ(desktop::Desktop::instance().beepCount(), 1U);
    // The second line does not carry over to the next alert.
    EXPECT_STREQ(getMsg2(), "");
}

TEST_F(MessageBoxTest, AnswersAndButtonsOfTheThreeKinds) {
    useStrings();
    agent->answerWithItem(1);
    EXPECT_EQ(msgBoxYesNo("addNamesToPS"), kAnswerDefault);
    agent->answerWithItem(2);
    EXPECT_EQ(msgBoxYesNo("addNamesToPS"), kAnswerCancel);
    EXPECT_EQ(msgBox("kSaveWarn"), kAnswerDefault);
    ASSERT_EQ(alerts().size(), 3U);
    EXPECT_EQ(alerts()[0].buttons[0], "Yes");
    EXPECT_EQ(alerts()[0].buttons[1], "No");
    EXPECT_EQ(alerts()[2].buttons[0], "OK");
    EXPECT_EQ(alerts()[2].buttons[1], "");
    EXPECT_EQ(alerts()[2].informative, "");
}

TEST_F(MessageBoxTest, TextIsFormattedWithTheArgumentsAndHeldTo511Bytes) {
    msgBox("%s and %d", "left", 7);
    const std::string longText(700, 'w');
    msgBox("%s", longText.c_str());
    ASSERT_EQ(alerts().size(), 2U);
    EXPECT_EQ(alerts()[0].message, "left and 7");
    EXPECT_EQ(alerts()[1].message, std::string(511, 'w'));
}

TEST_F(MessageBoxTest, ShiftCountsOnlyWhenHeldAlone) {
    auto& desk = desktop::Desktop::instance();
    EXPECT_FALSE(shiftKeyPressed());
    desk.setKeyHeld(platform::kKeyCodeShift, true);
    EXPECT_TRUE(shiftKeyPressed());
    desk.setKeyHeld(platform::kKeyCodeOption, true);
    EXPECT_FALSE(shiftKeyPressed());
    desk.releaseAllKeys();
    desk.setKeyHeld(platform::kKeyCodeRightShift, true);
    EXPECT_FALSE(shiftKeyPressed()) << "the modifier word of the right Shift key is not 1";
}

TEST_F(MessageBoxTest, EscapeIsSeenWhileItsKeyEventWaits) {
    auto& desk = desktop::Desktop::instance();
    EXPECT_FALSE(checkForEscKey());
    desk.queueKeyDown('a');
    EXPECT_FALSE(checkForEscKey());
    desk.queueKeyDown(27);
    EXPECT_TRUE(checkForEscKey());
}

}  // namespace
}  // namespace lumbrel::test

// The three menu items: set-up, enabling, commands, and the host's output
// command with the save warning and the image check.
#include <gtest/gtest.h>

#include "host/menus.h"
#include "host/module_fixture.h"
#include "labels/label_state.h"
#include "platform/keyboard.h"

namespace lumbrel::test {
namespace {

class MenuTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        usePrefs("[Default]\rLogging=2\rSaveWarning=1\r");
        useStrings();
        ASSERT_EQ(start(), 0);
        host().addBox(1, 11, XT_BOX_PICTURE, rectPt(0, 0, 100, 100));
        XTMenuSetupRec setup{sizeof(XTMenuSetupRec), 0, 300, 0, 400};
        EXPECT_EQ(host().call(XT_CB_MENUSETUP, &setup), 0);
    }

    void command(XTCommandID id) {
        XTCommandRec record{};
        record.command = id;
        EXPECT_EQ(host().call(XT_CB_COMMAND, &record), 0);
    }

    const ModuleMenuItems& items() { return moduleMenuItems(); }
};

TEST_F(MenuTest, ItemsGoToTheirMenusInOrderWithLocalisedTitles) {
    ASSERT_EQ(host().menuItems.size(), 3U);
    EXPECT_EQ(host().menuItems[0].menu, 400);  // fifth word
    EXPECT_EQ(host().menuItems[0].title, "Show Image Names");
    EXPECT_EQ(host().menuItems[1].menu, 300);  // third word
    EXPECT_EQ(host().menuItems[1].title, "Image List\u2026");
    EXPECT_EQ(host().menuItems[2].menu, 300);
    EXPECT_EQ(host().menuItems[2].title, "Swap images\u2026");
    EXPECT_EQ(items().showPath, host().menuItems[0].command);
    EXPECT_EQ(items().imageList, host().menuItems[1].command);
    EXPECT_EQ(items().swap, host().menuItems[2].command);
}

TEST_F(MenuTest, ItemsAreEnabledExactlyWhileADocumentIsOpen) {
    host().documentOpen = false;
    host().call(XT_CB_MENUUPDATE, nullptr);
    for (const MenuItem& item : host().menuItems) EXPECT_FALSE(host().enabled.at(item.command));
    host().documentOpen = true;
    host().currentBox = 0;  // the selection does not matter
    host().call(XT_CB_MENUUPDATE, nullptr);
    for (const MenuItem& item : host().menuItems) EXPECT_TRUE(host().enabled.at(item.command));
}

TEST_F(MenuTest, ShowImageNamesTogglesAndShiftKeepsLabelsOn) {
    command(items().showPath);
    EXPECT_EQ(labelState().mode, kLabelsFileName);
    EXPECT_TRUE(host().checked.at(items().showPath));
    EXPECT_EQ(host().redraws, 1);

    command(items().showPath);
    EXPECT_EQ(labelState().mode, kLabelsOff);
    EXPECT_FALSE(host().checked.at(items().showPath));

    desktop::Desktop::instance().setKeyHeld(platform::kKeyCodeShift, true);
    command(items().showPath);
    EXPECT_EQ(labelState().mode, kLabelsShift);
    command(items().showPath);
    EXPECT_EQ(labelState().mode, kLabelsShift) << "Shift always switches labels on";
    EXPECT_TRUE(host().checked.at(items().showPath));
    EXPECT_EQ(host().redraws, 4);

    // Shift with another modifier is no Shift.
    desktop::Desktop::instance().setKeyHeld(platform::kKeyCodeCommand, true);
    command(items().showPath);
    EXPECT_EQ(labelState().mode, kLabelsOff);
}

TEST_F(MenuTest, ImageListAndSwapReachTheirCommands) {
    const std::size_t start = logText().size();
    command(items().imageList);
    command(items().swap);
    EXPECT_EQ(logText().substr(start), "createImageList\rdoSwap\r");
}

TEST_F(MenuTest, OutputCommandWarnsAboutAnUnsavedDocumentThenChecks) {
    const std::size_t start = logText().size();
    host().dirty = XT_DIRTY_CHANGED;
    command(XT_CMD_SAVE_CHECK);
    ASSERT_EQ(alerts().size(), 1U);
    EXPECT_EQ(alerts()[0].message, "Doc has not been saved!");
    EXPECT_EQ(alerts()[0].buttons[1], "") << "OK only";
    EXPECT_EQ(logText().substr(start), "checkImages_1\r");

    host().dirty = 1;
    command(XT_CMD_SAVE_CHECK);
    EXPECT_EQ(alerts().size(), 1U) << "an unchanged document gets no warning";
    EXPECT_EQ(logText().substr(start), "checkImages_1\rcheckImages_1\r");
}

TEST_F(MenuTest, SaveWarningOffNeverWarns) {
    usePrefs("[Default]\rSaveWarning=0\r");
    host().dirty = XT_DIRTY_CHANGED;
    command(XT_CMD_SAVE_CHECK);
    EXPECT_TRUE(alerts().empty());
}

TEST_F(MenuTest, OtherCommandsAreIgnored) {
    host().dirty = XT_DIRTY_CHANGED;
    command(118);
    command(0);
    EXPECT_TRUE(alerts().empty());
    EXPECT_EQ(labelState().mode, kLabelsOff);
}

}  // namespace
}  // namespace lumbrel::test

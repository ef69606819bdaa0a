// The module's three menu items: enabling with and without a document, the
// Show Image Names check mark, the commands reaching their features, and the
// host's output command with its unsaved-document warning.
#include "integration_fixture.h"

#include "xtapi.h"

namespace lumbrel::integration {
namespace {

// The module's items as "title enabled|disabled [checked]".
std::vector<std::string> moduleItems(hostsim::Simulator& sim) {
    std::vector<std::string> items;
    for (const hostsim::MenuState& menu : sim.menuState()) {
        for (const hostsim::MenuItemState& item : menu.items) {
            if (!item.fromModule) continue;
            items.push_back(item.title + (item.enabled ? " enabled" : " disabled") + (item.checked ? " checked" : ""));
        }
    }
    return items;
}

bool checked(hostsim::Simulator& sim, const std::string& title) {
    for (const hostsim::MenuState& menu : sim.menuState()) {
        for (const hostsim::MenuItemState& item : menu.items) {
            if (item.title == title) return item.checked;
        }
    }
    ADD_FAILURE() << "no menu item " << title;
    return false;
}

class MenuTest : public ModuleTest {};

TEST_F(MenuTest, ItemsAreEnabledExactlyWhileADocumentIsOpen) {
    startOrFail();
    const std::vector<std::string> disabled{"Show Image Names disabled", "Image List… disabled",
                                            "Swap images… disabled"};
    const std::vector<std::string> enabled{"Show Image Names enabled", "Image List… enabled", "Swap images… enabled"};
    EXPECT_EQ(moduleItems(sim()), disabled);
    EXPECT_FALSE(sim().chooseMenu("Show Image Names"));  // a disabled item cannot be chosen

    openSample();
    EXPECT_EQ(moduleItems(sim()), enabled);
    // The selection does not matter: nothing, a text box, a picture box.
    for (const hostsim::BoxId box : {0, kTitleTextBox, kRgbTiffBox}) {
        ASSERT_TRUE(sim().selectBox(box));
        EXPECT_EQ(moduleItems(sim()), enabled) << box;
    }

    ASSERT_TRUE(sim().close());
    EXPECT_EQ(moduleItems(sim()), disabled);
    ASSERT_TRUE(sim().newDocument(spreadsDocument(1)).ok());
    EXPECT_EQ(moduleItems(sim()), enabled);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(MenuTest, ShowImageNamesTogglesItsCheckMarkAndShiftKeepsItOn) {
    startOrFail();
    openSample();
    EXPECT_FALSE(checked(sim(), "Show Image Names"));
    ASSERT_TRUE(sim().chooseMenu("Show Image Names"));
    EXPECT_TRUE(checked(sim(), "Show Image Names"));
    ASSERT_TRUE(sim().chooseMenu("View>Show Image Names"));
    EXPECT_FALSE(checked(sim(), "Show Image Names"));

    // With Shift held the names go on, and stay on when chosen again.
    desktop::Desktop::instance().holdModifiers(desktop::kModShift);
    ASSERT_TRUE(sim().chooseMenu("Show Image Names"));
    EXPECT_TRUE(checked(sim(), "Show Image Names"));
    ASSERT_TRUE(sim().chooseMenu("Show Image Names"));
    EXPECT_TRUE(checked(sim(), "Show Image Names"));
    // Shift together with another modifier is no Shift.
    desktop::Desktop::instance().holdModifiers(desktop::kModShift | desktop::kModOption);
    ASSERT_TRUE(sim().chooseMenu("Show Image Names"));
    EXPECT_FALSE(checked(sim(), "Show Image Names"));
    desktop::Desktop::instance().releaseAllKeys();
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(MenuTest, ImageListAndSwapReachTheirFeatures) {
    logOn();
    startOrFail();
    openSample();
    // Both open their dialogs; Cancel ends each without writing or swapping.
    agent_->queueDialogAction(desktop::DialogAction::click(2));
    ASSERT_TRUE(sim().chooseMenu("Image List…"));
    agent_->queueDialogAction(desktop::DialogAction::click(2));
    ASSERT_TRUE(sim().chooseMenu("Utilities>Swap images…"));
    EXPECT_EQ(agent_->dialogsSeen().size(), 2U);
    const std::string log = logText();
    const auto list = log.find("createImageList\r");
    const auto swap = log.find("doSwap\r");
    EXPECT_NE(list, std::string::npos) << log;
    EXPECT_NE(swap, std::string::npos) << log;
    EXPECT_LT(list, swap);
    // Other host commands are left to the host.
    sim().hostCommand(4242);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(MenuTest, TheOutputCommandWarnsOfUnsavedChangesOnlyWhenSwitchedOnAndChanged) {
    setPref("SaveWarning", "1");
    startOrFail();
    openSample();

    // Unchanged since it was opened: no warning.
    clearAlerts();
    sim().hostCommand(XT_CMD_SAVE_CHECK);
    EXPECT_TRUE(alerts().empty()) << ::testing::PrintToString(alertLines());

    // Changed (an identifier written through the scripting interface): the warning, OK only.
    sim().scriptRequest("<cmd>3</cmd><qid=\"3\">x</qid>");
    ASSERT_EQ(sim().current()->changeState, hostsim::kChangeStateChanged);
    clearAlerts();
    sim().hostCommand(XT_CMD_SAVE_CHECK);
    ASSERT_EQ(alerts().size(), 1U);
    EXPECT_EQ(alerts()[0].message, kNotSaved);
    EXPECT_EQ(alerts()[0].title, "Lumbrel");
    EXPECT_EQ(alerts()[0].buttons[0], "OK");
    EXPECT_TRUE(alerts()[0].buttons[1].empty());
    EXPECT_TRUE(transcriptHas("host command 117"));

    // The Windows numbers mean nothing to this build.
    clearAlerts();
    sim().hostCommand(XT_CMD_SAVE_CHECK_WIN1);
    sim().hostCommand(XT_CMD_SAVE_CHECK_WIN2);
    EXPECT_TRUE(alerts().empty());

    // Switched off: never.
    setPref("SaveWarning", "0");
    sim().switchIn();
    clearAlerts();
    sim().hostCommand(XT_CMD_SAVE_CHECK);
    EXPECT_TRUE(alerts().empty()) << ::testing::PrintToString(alertLines());

    // No document at all: nothing to warn of, and no misuse of the host.
    setPref("SaveWarning", "1");
    sim().switchIn();
    sim().current()->markSaved();
    ASSERT_TRUE(sim().close());
    clearAlerts();
    sim().hostCommand(XT_CMD_SAVE_CHECK);
    EXPECT_TRUE(alerts().empty());
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(MenuTest, TheOutputCommandRunsTheImageCheckAfterTheWarning) {
    setPref("SaveWarning", "1");
    setPref("RGBWarning", "1");
    startOrFail();
    openSample();
    sim().current()->markChanged();
    clearAlerts();
    answer("OK");
    answer("Cancel");
    sim().hostCommand(XT_CMD_SAVE_CHECK);
    EXPECT_EQ(alertLines(), (std::vector<std::string>{kNotSaved, std::string(kNoCmyk) + " | " + samplePicture("rgb.tif")}));
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

}  // namespace
}  // namespace lumbrel::integration

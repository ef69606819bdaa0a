// The event filter's keyboard shortcuts on the sample layout: Control plus the
// "CopyPath" key copies the current picture's file name and swallows the key;
// anywhere else the key goes on to the host.
#include "integration_fixture.h"

#include "xtapi.h"

namespace lumbrel::integration {
namespace {

class ShortcutTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        if (HasFatalFailure()) return;
        setPref("CopyPath", "c");
        startOrFail();
        openSample();
    }
};

TEST_F(ShortcutTest, ControlKeyOnAPictureBoxPutsItsFileNameOnTheClipboardAndSwallowsTheKey) {
    desktop::Desktop::instance().setClipboardText("from another application");
    const struct {
        hostsim::BoxId box;
        const char* name;
    } pictures[] = {{kRgbTiffBox, "rgb.tif"}, {kJpegBox, "photo.jpg"}, {kCmykEpsBox, "logo-cmyk.eps"},
                    {kPdfBox, "pages.pdf"}};
    for (const auto& picture : pictures) {
        ASSERT_TRUE(sim().selectBox(picture.box));
        const hostsim::EventResult result = sim().key('c', XT_MOD_CONTROL);
        EXPECT_TRUE(result.delivered);
        EXPECT_TRUE(result.swallowed) << picture.name;
        EXPECT_EQ(desktop::Desktop::instance().clipboardText(), std::optional<std::string>(picture.name));
    }
    // The mouse button's bit does not count.
    ASSERT_TRUE(sim().selectBox(kGreyTiffBox));
    EXPECT_TRUE(sim().key('c', XT_MOD_CONTROL | XT_MOD_BUTTON).swallowed);
    EXPECT_EQ(desktop::Desktop::instance().clipboardText(), std::optional<std::string>("grey.tif"));
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(ShortcutTest, OtherBoxesKeysAndModifiersPassToTheHost) {
    ASSERT_TRUE(sim().selectBox(kRgbTiffBox));
    desktop::Desktop::instance().setClipboardText("kept");
    // Not exactly Control, or another key.
    for (const std::uint16_t modifiers : {std::uint16_t{0}, std::uint16_t{XT_MOD_CONTROL | XT_MOD_SHIFT},
                                          std::uint16_t{XT_MOD_COMMAND}, std::uint16_t{XT_MOD_CONTROL | XT_MOD_OPTION}}) {
        EXPECT_FALSE(sim().key('c', modifiers).swallowed) << modifiers;
    }
    EXPECT_FALSE(sim().key('C', XT_MOD_CONTROL).swallowed);
    EXPECT_FALSE(sim().key('v', XT_MOD_CONTROL).swallowed);
    EXPECT_EQ(desktop::Desktop::instance().clipboardText(), std::optional<std::string>("kept"));

    // A text box, a line, a group, no box at all: the key goes on.
    for (const hostsim::BoxId box : {kTitleTextBox, kLineBox, kGroupBox, 0}) {
        ASSERT_TRUE(sim().selectBox(box));
        const hostsim::EventResult result = sim().key('c', XT_MOD_CONTROL);
        EXPECT_TRUE(result.delivered);
        EXPECT_FALSE(result.swallowed) << box;
        EXPECT_EQ(desktop::Desktop::instance().clipboardText(), std::optional<std::string>("kept")) << box;
    }
    EXPECT_TRUE(transcriptHas("key control+'c' -> host"));
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(ShortcutTest, AnEmptyPictureBoxStillTakesTheKey) {
    // A picture box without a picture has no file name: the clipboard is
    // cleared and given an empty name, and the key is swallowed.
    desktop::Desktop::instance().setClipboardText("kept");
    ASSERT_TRUE(sim().selectBox(kEmptyPictureBox));
    EXPECT_TRUE(sim().key('c', XT_MOD_CONTROL).swallowed);
    EXPECT_NE(desktop::Desktop::instance().clipboardText(), std::optional<std::string>("kept"));
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(ShortcutTest, TheKeyComesFromTheSettingsFileAndAnEmptyOneSwitchesTheShortcutOff) {
    ASSERT_TRUE(sim().selectBox(kRgbTiffBox));
    setPref("CopyPath", "x");
    sim().switchIn();
    EXPECT_FALSE(sim().key('c', XT_MOD_CONTROL).swallowed);
    EXPECT_TRUE(sim().key('x', XT_MOD_CONTROL).swallowed);

    setPref("CopyPath", "");
    sim().switchIn();
    desktop::Desktop::instance().setClipboardText("kept");
    EXPECT_FALSE(sim().key('x', XT_MOD_CONTROL).swallowed);
    EXPECT_FALSE(sim().key('\0', XT_MOD_CONTROL).swallowed);
    EXPECT_EQ(desktop::Desktop::instance().clipboardText(), std::optional<std::string>("kept"));
}

TEST_F(ShortcutTest, CommandShiftRIsTakenWhateverBoxIsCurrent) {
    // The key is swallowed whether or not a rename dialog follows (on the
    // picture box it opens and OK with the unchanged name only beeps).
    for (const hostsim::BoxId box : {kRgbTiffBox, kTitleTextBox, 0}) {
        ASSERT_TRUE(sim().selectBox(box));
        EXPECT_TRUE(sim().key('r', XT_MOD_COMMAND | XT_MOD_SHIFT).swallowed) << box;
    }
    EXPECT_FALSE(sim().key('r', XT_MOD_COMMAND).swallowed);
    EXPECT_FALSE(sim().key('R', XT_MOD_COMMAND | XT_MOD_SHIFT).swallowed);
}

TEST_F(ShortcutTest, EventsInAnyOrderWithAndWithoutADocumentAreHarmless) {
    sim().idle(3);
    sim().click(hostsim::SpreadPoint{1, 150.0, 550.0});
    sim().doubleClick(hostsim::SpreadPoint{2, 150.0, 100.0});
    sim().key('c', XT_MOD_CONTROL);
    ASSERT_TRUE(sim().close());
    sim().key('c', XT_MOD_CONTROL);
    sim().key('r', XT_MOD_COMMAND | XT_MOD_SHIFT);
    sim().idle(2);
    sim().switchIn();
    sim().setLanguage(3);
    sim().redraw();
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

}  // namespace
}  // namespace lumbrel::integration

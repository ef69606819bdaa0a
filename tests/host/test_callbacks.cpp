// The small callbacks: the event filter's shortcuts, language, open, save,
// switch-in and shutdown.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "host/module_fixture.h"
#include "settings/localised_strings.h"
#include "settings/preferences.h"
#include "settings/resources.h"

namespace lumbrel::test {
namespace {

class CallbackTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        usePrefs("[Default]\rCopyPath=c\rLogging=2\r");
        ASSERT_EQ(start(), 0);
        host().addBox(1, 11, XT_BOX_PICTURE, rectPt(0, 0, 100, 100), "/Volumes/pics/Summer 2024/beach.tif");
        host().addBox(1, 12, XT_BOX_TEXT, rectPt(0, 0, 100, 100));
        desktop::Desktop::instance().setClipboardText("before");
    }

    XTEventRec key(char character, std::uint16_t modifiers) {
        XTEventRec event{};
        event.what = XT_EVT_KEYDOWN;
        event.message = static_cast<unsigned char>(character) | 0x0800U;  // key code in the next byte
        event.modifiers = modifiers;
        EXPECT_EQ(host().call(XT_CB_EVENT, &event), 0);
        return event;
    }

    std::string clipboard() { return desktop::Desktop::instance().clipboardText().value_or("<none>"); }
};

TEST_F(CallbackTest, CopyNameOnAPictureBoxPutsTheFileNameOnTheClipboardAndSwallowsTheKey) {
    host().currentBox = 11;
    EXPECT_EQ(key('c', XT_MOD_CONTROL).what, XT_EVT_NULL);
    EXPECT_EQ(clipboard(), "beach.tif");
    EXPECT_EQ(desktop::Desktop::instance().openPasteboardReferences(), 0U);
}

TEST_F(CallbackTest, CopyNameIgnoresTheMouseButtonBitButNoOtherModifier) {
    host().currentBox = 11;
    EXPECT_EQ(key('c', XT_MOD_CONTROL | XT_MOD_BUTTON).what, XT_EVT_NULL);
    EXPECT_EQ(clipboard(), "beach.tif");

    desktop::Desktop::instance().setClipboardText("before");
    EXPECT_EQ(key('c', XT_MOD_CONTROL | XT_MOD_SHIFT).what, XT_EVT_KEYDOWN);
    EXPECT_EQ(key('c', 0).what, XT_EVT_KEYDOWN);
    EXPECT_EQ(key('C', XT_MOD_CONTROL).what, XT_EVT_KEYDOWN);
    EXPECT_EQ(clipboard(), "before");
}

TEST_F(CallbackTest, CopyNameOnATextBoxOrWithoutABoxLeavesTheKeyToTheHost) {
    host().currentBox = 12;
    EXPECT_EQ(key('c', XT_MOD_CONTROL).what, XT_EVT_KEYDOWN);
    host().currentBox = 0;
    EXPECT_EQ(key('c', XT_MOD_CONTROL).what, XT_EVT_KEYDOWN);
    host().documentOpen = false;
    EXPECT_EQ(key('c', XT_MOD_CONTROL).what, XT_EVT_KEYDOWN);
    EXPECT_EQ(clipboard(), "before");
}

TEST_F(CallbackTest, EmptyCopyPathSwitchesTheShortcutOff) {
    usePrefs("[Default]\rCopyPath=\r");
    host().currentBox = 11;
    for (char c : {'\0', 'c', ' '}) EXPECT_EQ(key(c, XT_MOD_CONTROL).what, XT_EVT_KEYDOWN);
    EXPECT_EQ(clipboard(), "before");
}

TEST_F(CallbackTest, CommandShiftRReachesRenameWhateverBoxIsCurrent) {
    for (XTBoxID box : {0, 11, 12}) {
        host().currentBox = box;
        EXPECT_EQ(key('r', XT_MOD_COMMAND | XT_MOD_SHIFT | XT_MOD_BUTTON).what, 0) << box;
    }
    EXPECT_EQ(key('r', XT_MOD_COMMAND).what, XT_EVT_KEYDOWN);
    EXPECT_EQ(key('R', XT_MOD_COMMAND | XT_MOD_SHIFT).what, XT_EVT_KEYDOWN);
}

TEST_F(CallbackTest, NullAndMouseEventsPassOnWithOrWithoutADocument) {
    host().documentOpen = false;
    XTEventRec idle{};
    EXPECT_EQ(host().call(XT_CB_EVENT, &idle), 0);
    EXPECT_EQ(idle.what, XT_EVT_NULL);
    XTEventRec click{};
    click.what = XT_EVT_MOUSEDOWN;
    EXPECT_EQ(host().call(XT_CB_EVENT, &click), 0);
    EXPECT_EQ(click.what, XT_EVT_MOUSEDOWN);
}

TEST_F(CallbackTest, RegionCodesChooseTheLanguageAndLoadItsStringTable) {
    setResourceFolder(sourcePath("resources").c_str());
    struct Case {
        std::int16_t region;
        std::int16_t language;
        const char* showPath;
    };
    for (const Case& c : {Case{3, kLangGerman, "Bildnamen zeigen"}, Case{19, kLangGerman, "Bildnamen zeigen"},
                          Case{4, kLangEnglish, "Show Image Names"}, Case{0, kLangEnglish, "Show Image Names"}}) {
        XTLanguageRec record{};
        record.regionCode = c.region;
        EXPECT_EQ(host().call(XT_CB_LANGUAGE, &record), 0);
        EXPECT_EQ(getLanguage(), c.language) << c.region;
        char text[kShortTextSize];
        getString("kShowPath", text);
        EXPECT_STREQ(text, c.showPath) << c.region;
    }
}

TEST_F(CallbackTest, OpenAndSaveAreLoggedButLibrariesAreNotChecked) {
    XTDocRec doc{sizeof(XTDocRec), 1};
    const std::size_t start = logText().size();
    EXPECT_EQ(host().call(XT_CB_DOCOPEN, &doc), 0);
    EXPECT_EQ(logText().substr(start), "doOpen\r");

    host().library = true;
    EXPECT_EQ(host().call(XT_CB_DOCSAVE, &doc), 0);
    EXPECT_EQ(logText().substr(start), "doOpen\r") << "a library save writes nothing";

    host().library = false;
    EXPECT_EQ(host().call(XT_CB_DOCSAVE, &doc), 0);
    EXPECT_EQ(logText().substr(start), "doOpen\rdoSave...\rcheckImages_1\r");
}

TEST_F(CallbackTest, SwitchInRereadsTheSettingsOnlyWhenTheFileChanged) {
    EXPECT_EQ(getCopyPathKey(), 'c');
    EXPECT_EQ(host().call(XT_CB_SWITCHIN, nullptr), 0);
    EXPECT_EQ(getCopyPathKey(), 'c');

    // The store compares modification times in whole seconds.
    writeFile(dir.file("Lumbrel.ini"), "[Default]\rCopyPath=k\rLogging=2\r");
    std::filesystem::last_write_time(dir.file("Lumbrel.ini"),
                                     std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5));
    EXPECT_EQ(getCopyPathKey(), 'c');
    EXPECT_EQ(host().call(XT_CB_SWITCHIN, nullptr), 0);
    EXPECT_EQ(getCopyPathKey(), 'k');
}

TEST_F(CallbackTest, UnusedCodeAndShutdownAnswer0) {
    EXPECT_EQ(host().call(XT_CB_IDLE_UNUSED, nullptr), 0);
    EXPECT_EQ(host().call(XT_CB_SHUTDOWN, nullptr), 0);
}

}  // namespace
}  // namespace lumbrel::test

// The preference pane: allocation, insertion, and the handler's answers.
#include <gtest/gtest.h>

#include "host/module_fixture.h"
#include "host/pref_pane.h"
#include "settings/preferences.h"
#include "settings/resources.h"

namespace lumbrel::test {
namespace {

class PrefPaneTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        usePrefs("[Default]\rDragAndDrop=1\rEdit=0\rRGBWarning=1\rEPSWarning=0\rJPGWarning=1\rLogging=0\r"
                 "ShowPDFOptions=0\rSubfolders=1\r");
        ASSERT_EQ(start(), 0);
        host().paneAllocProc(nullptr);
        XTPaneInsertRec insert{sizeof(XTPaneInsertRec), 3};
        host().call(XT_CB_PREFPANE_INSERT, &insert);
        ASSERT_NE(host().paneHandler, nullptr);
    }

    XTWapMessage send(std::int16_t kind, std::int16_t item = 0, std::int16_t mode = 0) {
        XTWapMessage message{};
        message.kind = kind;
        message.item = item;
        message.mode = mode;
        EXPECT_EQ(host().paneHandler(&message), 0);
        return message;
    }
};

TEST_F(PrefPaneTest, PaneIsInsertedUnderTheAllocatedDialogID) {
    ASSERT_EQ(host().insertedPanes.size(), 1U);
    EXPECT_EQ(host().insertedPanes[0], (std::pair<std::int32_t, std::int16_t>{3, 7}));
    EXPECT_EQ(prefDialogID(), 7);
}

TEST_F(PrefPaneTest, ResourceIDFollowsTheLanguage) {
    XTWapMessage english = send(XT_WAP_RESOURCE_ID);
    EXPECT_EQ(english.value, 28051);
    EXPECT_EQ(english.handled, 1);
    setLanguage(kLangGerman);
    EXPECT_EQ(send(XT_WAP_RESOURCE_ID).value, 28351);
}

TEST_F(PrefPaneTest, ControlSetupAsksTheHostForEveryItemOnlyInMode1) {
    EXPECT_EQ(send(XT_WAP_CONTROL_SETUP, 0, 0).handled, 1);
    EXPECT_TRUE(host().buttonSetups.empty());
    send(XT_WAP_CONTROL_SETUP, 0, 1);
    // Items 1 to 10, the effective-resolution check box and its number field, the report and
    // summary check boxes, and the status colours; the threshold's unit (13) is plain text.
    const std::int16_t items[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16};
    ASSERT_EQ(host().buttonSetups.size(), std::size(items));
    for (std::size_t i = 0; i < std::size(items); ++i) {
        EXPECT_EQ(host().buttonSetups[i], (std::pair<std::int16_t, std::int32_t>{items[i], 2}));
    }
}

TEST_F(PrefPaneTest, OpeningFillsTheCheckBoxesFromThePreferences) {
    send(XT_WAP_OPEN, 0, 1);
    auto& v = host().buttonValues;
    EXPECT_EQ(v[3], 1);
    EXPECT_EQ(v[4], 0);
    EXPECT_EQ(v[5], 1);
    EXPECT_EQ(v[6], 0);
    EXPECT_EQ(v[7], 1);
    EXPECT_EQ(v[8], 0);
    EXPECT_EQ(v[9], 0);
    EXPECT_EQ(v[10], 1);
    EXPECT_EQ(host().standardButtons, (std::vector<std::pair<std::int16_t, std::int32_t>>{{1, 1}, {2, 1}}));
}

TEST_F(PrefPaneTest, OKAppliesAndSavesCancelChangesNothing) {
    send(XT_WAP_OPEN);
    host().buttonValues[4] = 1;  // Edit
    host().buttonValues[5] = 0;  // RGB warning
    host().buttonValues[9] = 1;

    XTWapMessage cancel = send(XT_WAP_ITEM_HIT, 2);
    EXPECT_EQ(cancel.endDialog, 1);
    EXPECT_EQ(cancel.value, 0);
    EXPECT_FALSE(getEdit());
    EXPECT_EQ(readFile(dir.file("Lumbrel.ini")).find("Edit=1"), std::string::npos);

    XTWapMessage ok = send(XT_WAP_ITEM_HIT, 1);
    EXPECT_EQ(ok.endDialog, 1);
    EXPECT_EQ(ok.value, 1);
    EXPECT_TRUE(getEdit());
    EXPECT_FALSE(getRGBWarning());
    const std::string saved = readFile(dir.file("Lumbrel.ini"));
    EXPECT_NE(saved.find("Edit=1"), std::string::npos);
    EXPECT_NE(saved.find("RGBWarning=0"), std::string::npos);
    EXPECT_NE(saved.find("ShowPDFOptions=1"), std::string::npos);
}

TEST_F(PrefPaneTest, CheckBoxHitsAreLeftToTheHostAndUnknownMessagesAreNotHandled) {
    XTWapMessage hit = send(XT_WAP_ITEM_HIT, 5);
    EXPECT_EQ(hit.handled, 0);
    EXPECT_EQ(hit.endDialog, 0);
    EXPECT_EQ(send(99).handled, 0);
}

TEST_F(PrefPaneTest, TheHostsOwnOKApplies) {
    send(XT_WAP_OPEN);
    host().buttonValues[3] = 0;
    EXPECT_EQ(send(XT_WAP_APPLY).handled, 1);
    EXPECT_FALSE(getDragAndDrop());
}

TEST_F(PrefPaneTest, TheReportAndSummaryBoxesFollowTheirSettingsBothWays) {
    // Off in the settings file above (absent); each box on, then off again.
    const struct {
        std::int16_t item;
        const char* key;
        bool (*getter)() noexcept;
    } boxes[] = {{14, "CheckSummary", getCheckSummary}, {15, "SyncReport", getSyncReport}};
    for (const auto& box : boxes) {
        SCOPED_TRACE(box.key);
        send(XT_WAP_OPEN);
        EXPECT_EQ(host().buttonValues[box.item], 0);
        EXPECT_FALSE(box.getter());
        host().buttonValues[box.item] = 1;
        send(XT_WAP_ITEM_HIT, 1);
        EXPECT_TRUE(box.getter());
        EXPECT_NE(readFile(dir.file("Lumbrel.ini")).find(std::string(box.key) + "=1"), std::string::npos);
        send(XT_WAP_OPEN);
        EXPECT_EQ(host().buttonValues[box.item], 1);
        host().buttonValues[box.item] = 0;
        send(XT_WAP_APPLY);
        EXPECT_FALSE(box.getter());
        EXPECT_NE(readFile(dir.file("Lumbrel.ini")).find(std::string(box.key) + "=0"), std::string::npos);
    }
}

TEST_F(PrefPaneTest, TheLaterItemsShowTheirDefaultsAndAreWrittenOnlyOnceTheyMatter) {
    struct Case {
        std::int32_t warn, threshold, colours;
        const char* written;  // the later keys in the file after OK, in order
        bool warnOn;
        std::int32_t minPpi;
        bool coloursOn;
    };
    const Case cases[] = {
        {0, 300, 0, "", false, 300, false},
        // A threshold that is no usable number keeps the default.
        {0, 0, 0, "", false, 300, false},
        {1, 300, 0, "WarnEffectivePpi=1", true, 300, false},
        // Once written, a key follows every OK.
        {0, 250, 1, "WarnEffectivePpi=0\rMinEffectivePpi=250\rStatusColours=1", false, 250, true},
        {0, 300, 0, "WarnEffectivePpi=0\rMinEffectivePpi=300\rStatusColours=0", false, 300, false},
    };
    for (const Case& c : cases) {
        send(XT_WAP_OPEN);
        auto& v = host().buttonValues;
        EXPECT_EQ(v[11], getWarnEffectivePpi() ? 1 : 0);
        EXPECT_EQ(v[12], getMinEffectivePpi());
        EXPECT_EQ(v[16], getStatusColours() ? 1 : 0);
        v[11] = c.warn;
        v[12] = c.threshold;
        v[16] = c.colours;
        send(XT_WAP_ITEM_HIT, 1);
        EXPECT_EQ(getWarnEffectivePpi(), c.warnOn) << c.written;
        EXPECT_EQ(getMinEffectivePpi(), c.minPpi) << c.written;
        EXPECT_EQ(getStatusColours(), c.coloursOn) << c.written;
        const std::string saved = readFile(dir.file("Lumbrel.ini"));
        const std::size_t later = saved.find("Subfolders=1\r") + std::string("Subfolders=1\r").size();
        EXPECT_EQ(saved.substr(later), *c.written ? std::string(c.written) + "\r" : "") << saved;
    }
}

}  // namespace
}  // namespace lumbrel::test

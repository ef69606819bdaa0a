#include <gtest/gtest.h>

#include <string>

#include "platform/window_system.h"
#include "settings/settings_store.h"
#include "ui/settings_binding.h"
#include "ui/test_dialog_builder_support.h"

namespace lumbrel {
namespace {

using platform::WindowRef;
using test::control;
using test::description;

class DialogBinding : public test::DescriptionTest {
protected:
    void SetUp() override {
        test::DescriptionTest::SetUp();
        test::writeFile(iniPath_,
                        "[Default]\r\nFlag=0\r\n[Swapping]\r\nFlag=1\r\nName=hello\r\nBad=abc\r\nNeg=-3\r\n"
                        "Static=static value\r\n");
        ASSERT_EQ(settings_.setupWithPath(iniPath_.c_str()), 0);
        ASSERT_TRUE(build(description(
            control("cbox", "<id>1</id><pref>Flag</pref>") +
            control("cbox", "<id>2</id><pref>Missing</pref><dval>1</dval>") +
            control("cbox", "<id>3</id><pref>Missing2</pref>") + control("cbox", "<id>4</id><pref>Bad</pref>") +
            control("rdio", "<id>5</id><pref>Flag</pref>") + control("etxt", "<id>6</id><pref>Name</pref>") +
            control("eutx", "<id>7</id><pref>NoText</pref><dval>default text</dval>") +
            control("stxt", "<id>8</id><pref>Static</pref><text>label</text>") +
            control("popb", "<id>9</id><pref>Name</pref><menu>a</menu><menu>hello</menu>") +
            control("cbox", "<id>10</id><pref>Neg</pref>") + control("cbox", "<id>11</id>") + control("####"))));
    }
    WindowRef item(int id) const { return platform::findChild(shell_, id); }

    std::string iniPath_ = dir_.file("Lumbrel.ini");
    CMySettings settings_;
};

TEST_F(DialogBinding, LoadingSetsCheckBoxesByNumberAndEditFieldsByText) {
    platform::setControlValue(item(3), 1);   // must be cleared: no key, no default
    platform::setControlValue(item(4), 1);   // text that is no number reads as 0
    platform::setControlValue(item(11), 1);  // not bound: left alone
    loadDialogValues(shell_, &settings_, "Swapping");
    EXPECT_EQ(platform::controlValue(item(1)), 1);
    EXPECT_EQ(platform::controlValue(item(2)), 1);
    EXPECT_EQ(platform::controlValue(item(3)), 0);
    EXPECT_EQ(platform::controlValue(item(4)), 0);
    EXPECT_EQ(platform::controlValue(item(5)), 1);
    EXPECT_EQ(platform::windowText(item(6)), "hello");
    EXPECT_EQ(platform::windowText(item(7)), "default text");
    EXPECT_EQ(platform::windowText(item(8)), "label");
    EXPECT_EQ(platform::controlValue(item(9)), -1);
    EXPECT_EQ(platform::controlValue(item(10)), -3);
    EXPECT_EQ(platform::controlValue(item(11)), 1);

    // Another section: its own values, defaults for the rest.
    loadDialogValues(shell_, &settings_, "Default");
    EXPECT_EQ(platform::controlValue(item(1)), 0);
    EXPECT_EQ(platform::controlValue(item(2)), 1);
    EXPECT_EQ(platform::windowText(item(6)), "");
    EXPECT_EQ(platform::windowText(item(7)), "default text");
}

TEST_F(DialogBinding, SavingWritesCheckStatesAndTextsAndTheFile) {
    loadDialogValues(shell_, &settings_, "Swapping");
    platform::setControlValue(item(1), 0);
    platform::setWindowText(item(6), "changed");
    platform::setWindowText(item(8), "static changed");
    saveDialogValues(shell_, &settings_, "Swapping");

    CMySettings reread;
    ASSERT_EQ(reread.setupWithPath(iniPath_.c_str()), 0);
    char text[256] = "";
    // Radio button 5 is bound to the same key and comes later: its state wins.
    EXPECT_EQ(reread.get("Swapping", "Flag", -1), 1);
    EXPECT_EQ(reread.get("Swapping", "Missing", -1), 1);
    EXPECT_EQ(reread.get("Swapping", "Missing2", -1), 0);
    EXPECT_EQ(reread.get("Swapping", "Bad", -1), 0);
    ASSERT_GE(reread.get("Swapping", "Name", text, sizeof text), 0);
    EXPECT_STREQ(text, "changed");
    ASSERT_GE(reread.get("Swapping", "NoText", text, sizeof text), 0);
    EXPECT_STREQ(text, "default text");
    ASSERT_GE(reread.get("Swapping", "Static", text, sizeof text), 0);
    EXPECT_STREQ(text, "static value");
    EXPECT_EQ(reread.get("Default", "Flag", -1), 0);

    platform::setControlValue(item(1), 1);
    platform::setControlValue(item(5), 0);
    saveDialogValues(shell_, &settings_, "Swapping");
    CMySettings again;
    ASSERT_EQ(again.setupWithPath(iniPath_.c_str()), 0);
    EXPECT_EQ(again.get("Swapping", "Flag", -1), 0);
}

TEST_F(DialogBinding, NoStoreOrSectionDoesNothing) {
    const std::string before = test::readFile(iniPath_);
    platform::setControlValue(item(1), 0);
    platform::setWindowText(item(6), "unsaved");
    loadDialogValues(shell_, nullptr, "Swapping");
    loadDialogValues(shell_, &settings_, nullptr);
    saveDialogValues(shell_, nullptr, "Swapping");
    saveDialogValues(shell_, &settings_, nullptr);
    EXPECT_EQ(platform::controlValue(item(1)), 0);
    EXPECT_EQ(platform::windowText(item(6)), "unsaved");
    EXPECT_EQ(test::readFile(iniPath_), before);
}

}  // namespace
}  // namespace lumbrel

// Large descriptions: many controls, long texts, damaged structure. The
// times are printed for the record; the limits only catch runaway growth.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "platform/window_system.h"
#include "ui/control_kind.h"
#include "ui/description_builder.h"
#include "ui/test_dialog_builder_support.h"

namespace lumbrel {
namespace {

using platform::WindowRef;
using test::control;
using test::description;

class DialogBuilderScale : public test::DescriptionTest {
protected:
    double timedBuild(const std::string& text) {
        addDescription("Big", text);
        const auto start = std::chrono::steady_clock::now();
        built_ = buildDialog(shell_, "Big");
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    bool built_ = false;
};

long countWindows(WindowRef window) {
    long count = 0;
    walkDialog(window, [](WindowRef, std::uint32_t, std::intptr_t total) {
        ++*reinterpret_cast<long*>(total);
        return true;
    }, reinterpret_cast<std::intptr_t>(&count));
    return count;
}

TEST_F(DialogBuilderScale, TenThousandControlsAllBuildInOrder) {
    constexpr int kControls = 10000;
    std::string controls;
    for (int i = 0; i < kControls; ++i) {
        const char* type = (i % 4 == 0) ? "push" : (i % 4 == 1) ? "etxt" : (i % 4 == 2) ? "stxt" : "cbox";
        controls += control(type, "<id>" + std::to_string(i + 100) + "</id><rect>" + std::to_string(i % 300) + " " +
                                      std::to_string(i) + " 80 13</rect><text>Control " + std::to_string(i) +
                                      "</text><pref>Key" + std::to_string(i) + "</pref>");
    }
    const double seconds = timedBuild(description(controls + control("####")));
    ASSERT_TRUE(built_);
    std::printf("[ timing ] %d controls built in %.3f s\n", kControls, seconds);
    EXPECT_EQ(countWindows(shell_), 1 + 1 + kControls);  // shell, root pane, controls

    // Document order is creation order.
    int expected = 100;
    for (WindowRef c = platform::firstChild(platform::firstChild(shell_)); c != nullptr; c = platform::nextSibling(c))
        EXPECT_EQ(platform::controlId(c), expected++);
    EXPECT_EQ(expected, 100 + kControls);
    EXPECT_EQ(platform::windowText(platform::findChild(shell_, 100 + kControls - 1)),
              "Control " + std::to_string(kControls - 1));
    EXPECT_LT(seconds, 30.0);
}

TEST_F(DialogBuilderScale, MegabytesOfTextBuildAndTooMuchIsRefused) {
    const std::string big(2 * 1024 * 1024, 'a');
    const std::string half(512 * 1024, 'b');
    const double seconds = timedBuild(description(
        control("etxt", "<id>1</id><multi>1</multi><text>" + big + "</text><pref>Key</pref><rect>1 2 3 4</rect>") +
        control("popb", "<id>2</id><text>" + half + "</text><menu>x</menu><menu>" + half + "</menu>") +
        control("tabs", "<id>3</id><text1>" + std::string(256 * 1024, 'c') + "</text1><text2>d</text2>") +
        control("####") + control("####")));
    ASSERT_TRUE(built_);
    std::printf("[ timing ] 3.3 MB of texts built in %.3f s\n", seconds);
    const WindowRef edit = platform::findChild(shell_, 1);
    EXPECT_EQ(platform::windowText(edit), big);
    EXPECT_EQ(platform::windowRect(edit).width, 3);
    const WindowRef popup = platform::findChild(shell_, 2);
    EXPECT_EQ(platform::itemCount(popup), 2);
    EXPECT_EQ(platform::controlValue(popup), 1);
    EXPECT_EQ(platform::itemCount(platform::findChild(shell_, 3)), 2);
    EXPECT_LT(seconds, 10.0);

    platform::destroyWindow(platform::firstChild(shell_));
    timedBuild(description(control("etxt", "<text>" + big + big + "</text>") + control("####")));
    EXPECT_FALSE(built_);
    EXPECT_EQ(platform::firstChild(shell_), nullptr);
}

TEST_F(DialogBuilderScale, LongValuesOfTheSmallElementsAreCutNotOverrun) {
    const std::string big(2 * 1024 * 1024 - 1000, '7');
    ASSERT_GT(timedBuild(description(control("push", "<id>1</id><cmd>" + big + "</cmd><rect>" + big +
                                                         "</rect><type2>x</type2>") +
                                     control("####"))),
              0.0);
    ASSERT_TRUE(built_);
    const WindowRef push = platform::findChild(shell_, 1);
    ASSERT_NE(push, nullptr);
    EXPECT_EQ(static_cast<std::uint32_t>(platform::property(push, "HAVVccmd")), 0x37373737U);
}

TEST_F(DialogBuilderScale, ManyTabLabelsAreCapped) {
    std::string labels;
    for (int i = 1; i <= kMaxTabPages + 50; ++i)
        labels += "<text" + std::to_string(i) + ">P" + std::to_string(i) + "</text" + std::to_string(i) + ">";
    timedBuild(description(control("tabs", "<id>1</id>" + labels) + control("####") + control("####")));
    ASSERT_TRUE(built_);
    const WindowRef tabs = platform::findChild(shell_, 1);
    ASSERT_EQ(platform::itemCount(tabs), kMaxTabPages);
    EXPECT_EQ(platform::itemText(tabs, kMaxTabPages - 1), "P" + std::to_string(kMaxTabPages));
}

TEST_F(DialogBuilderScale, DamagedStructureBuildsWhatItCan) {
    // No closing tags, controls inside controls, stray ends.
    const std::string text =
        "<window><rect>0 0 10 10</rect><control><type>push</type><id>1</id>"
        "<control><type>stxt</type><id>2</id></control></control>"
        "<control><type>grpb<id>3</id></control>"
        "<control><type>etxt</type><id>4</id><text>unclosed</control>"
        "</control></control><control>";
    timedBuild(description(text));
    ASSERT_TRUE(built_);
    EXPECT_EQ(platform::parentWindow(platform::findChild(shell_, 2)), platform::firstChild(shell_));
    const WindowRef edit = platform::findChild(shell_, 4);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(platform::windowText(edit), "");
}

}  // namespace
}  // namespace lumbrel

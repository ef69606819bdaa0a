#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/window_system.h"
#include "ui/controls.h"
#include "ui/dialog_test_support.h"
#include "ui/my_dialog.h"

namespace lumbrel {
namespace {

using desktop::DialogAction;
using test::control;

class MyDialogTest : public test::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        addDescription("Swap", okCancel() +
                                   control("etxt", "<id>3</id><text>start</text><rect>10 10 100 13</rect>") +
                                   control("cbox", "<id>4</id><text>btnKey</text><rect>10 40 100 13</rect>") +
                                   control("cbox", "<id>5</id><text>Two</text><rect>10 60 100 13</rect>") +
                                   control("popb", "<id>6</id><text>B</text><menu>A</menu><menu>B</menu><rect>10 80 100 13</rect>") +
                                   control("####"));
    }
};

struct Trace {
    std::vector<int> items;
    std::vector<std::string> textsAtEnd;
    int endAt = 1000;       // the item on which the callback ends the dialog
    long endWith = 0;
    bool handled = false;  // what the callback answers otherwise
};

bool traceCallback(CMyDialog* dialog, std::int16_t item, std::intptr_t user) {
    auto* trace = reinterpret_cast<Trace*>(user);
    trace->items.push_back(item);
    if (item == kItemLoopEnded) {
        char text[64];
        dialog->getText(3, text, sizeof text);
        trace->textsAtEnd.emplace_back(text);
    }
    if (item == trace->endAt) {
        dialog->endDialog(trace->endWith);
        dialog->endDialog(trace->endWith + 1);  // a second call changes nothing
        return true;
    }
    return trace->handled;
}

TEST_F(MyDialogTest, EndedWhileAboutToShowIsNeverShownButStillGetsLoopEnd) {
    CMyDialog dialog(nullptr, "Swap", 1, 2, 0);
    Trace trace;
    trace.endAt = kItemWillShow;
    trace.endWith = 42;
    EXPECT_EQ(dialog.doModal(traceCallback, reinterpret_cast<std::intptr_t>(&trace)), 42);
    EXPECT_EQ(trace.items, (std::vector<int>{kItemWillShow, kItemLoopEnded}));
    EXPECT_TRUE(agent().dialogsSeen().empty());
    // The window still stood at -2.
    EXPECT_EQ(trace.textsAtEnd, (std::vector<std::string>{"start"}));
    EXPECT_EQ(desk().liveWindowCount(), 0U);
}

TEST_F(MyDialogTest, ModalRunPassesClicksAndEndsOnTheDefaultItem) {
    CMyDialog dialog(nullptr, "Swap", 1, 2, 0);
    Trace trace;
    trace.handled = false;
    agent().queueDialogAction(DialogAction::setText(3, "typed"));
    agent().queueDialogAction(DialogAction::check(4));
    agent().queueDialogAction(DialogAction::click(1));
    EXPECT_EQ(dialog.doModal(traceCallback, reinterpret_cast<std::intptr_t>(&trace)), 1);
    EXPECT_EQ(trace.items, (std::vector<int>{kItemWillShow, 4, 1, kItemLoopEnded}));
    EXPECT_EQ(trace.textsAtEnd, (std::vector<std::string>{"typed"}));
    // The check box title was taken as a key.
    ASSERT_FALSE(agent().dialogsSeen().empty());
    ASSERT_NE(agent().dialogsSeen().front().control(4), nullptr);
    EXPECT_EQ(agent().dialogsSeen().front().control(4)->text, "Localised Button");
    EXPECT_EQ(dialog.window(), nullptr);
}

TEST_F(MyDialogTest, CallbackEndingTheDialogTwiceKeepsTheFirstResult) {
    CMyDialog dialog(nullptr, "Swap", 1, 2, 0);
    Trace trace;
    trace.endAt = 5;
    trace.endWith = 7;
    trace.handled = true;  // OK and Cancel do nothing while handled
    agent().queueDialogAction(DialogAction::click(1));
    agent().queueDialogAction(DialogAction::check(5));
    EXPECT_EQ(dialog.doModal(traceCallback, reinterpret_cast<std::intptr_t>(&trace)), 7);
    EXPECT_EQ(trace.items, (std::vector<int>{kItemWillShow, 1, 5, kItemLoopEnded}));

    // Also without a window.
    CMyDialog bare(nullptr, "Swap", 1, 2, 0);
    bare.endDialog(3);
    bare.endDialog(4);
    EXPECT_TRUE(bare.isEnded());
    EXPECT_EQ(bare.result(), 3);
}

TEST_F(MyDialogTest, EachRunStartsAfreshAndIsShown) {
    CMyDialog dialog(nullptr, "Swap", 1, 2, 0);
    const std::vector<std::pair<int, long>> runs = {{1, 1}, {2, 2}, {1, 1}};  // item clicked, result
    for (std::size_t run = 0; run < runs.size(); ++run) {
        SCOPED_TRACE(run);
        Trace trace;
        agent().queueDialogAction(DialogAction::click(runs[run].first));
        EXPECT_EQ(dialog.doModal(traceCallback, reinterpret_cast<std::intptr_t>(&trace)), runs[run].second);
        EXPECT_EQ(trace.items, (std::vector<int>{kItemWillShow, runs[run].first, kItemLoopEnded}));
        EXPECT_EQ(agent().dialogsSeen().size(), run + 1) << "shown at every run";
    }
}

bool disableOKAtShow(CMyDialog* dialog, std::int16_t item, std::intptr_t user) {
    if (item == kItemWillShow) {
        dialog->enable(1, false);
        dialog->setFocus(3);
    }
    return traceCallback(dialog, item, user);
}

TEST_F(MyDialogTest, ReturnNeverPressesADisabledDefaultItem) {
    CMyDialog dialog(nullptr, "Swap", 1, 2, 0);
    Trace trace;
    agent().queueDialogAction(DialogAction::press(desktop::DialogKey::Return));
    agent().queueDialogAction(DialogAction::click(2));
    EXPECT_EQ(dialog.doModal(disableOKAtShow, reinterpret_cast<std::intptr_t>(&trace)), 2);
    EXPECT_EQ(trace.items, (std::vector<int>{kItemWillShow, 2, kItemLoopEnded}));
}

TEST_F(MyDialogTest, CancelItemAndDialogsThatCannotBeMade) {
    CMyDialog dialog(nullptr, "Swap", 1, 2, 0);
    agent().queueDialogAction(DialogAction::press(desktop::DialogKey::Escape));  // consumed
    agent().queueDialogAction(DialogAction::click(2));
    EXPECT_EQ(dialog.doModal(nullptr, 0), 2);
    EXPECT_EQ(agent().dialogsSeen().size(), 2U);

    Trace trace;
    CMyDialog fromResource(128, 1, 2, 0);
    EXPECT_EQ(fromResource.create(), nullptr);
    EXPECT_EQ(fromResource.doModal(traceCallback, reinterpret_cast<std::intptr_t>(&trace)), 0);
    CMyDialog missing(nullptr, "NoSuchDialog", 1, 2, 0);
    EXPECT_EQ(missing.create(), nullptr);
    EXPECT_EQ(missing.doModal(traceCallback, reinterpret_cast<std::intptr_t>(&trace)), 0);
    EXPECT_TRUE(trace.items.empty());
    EXPECT_EQ(desk().liveWindowCount(), 0U);
}

TEST_F(MyDialogTest, ModelessDialogShowsAfterWillShowAndPassesClicks) {
    Trace trace;
    trace.handled = true;
    {
        CMyDialog dialog(nullptr, "Swap", 1, 2, 0);
        WindowPtr window = dialog.doModeless(traceCallback, reinterpret_cast<std::intptr_t>(&trace));
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(platform::isWindowVisible(window));
        platform::sendMessage(window, platform::Message::Command,
                              platform::commandParam(5, platform::Notification::Clicked),
                              reinterpret_cast<std::intptr_t>(dialog.getControl(5)));
        EXPECT_EQ(trace.items, (std::vector<int>{kItemWillShow, 5}));
    }
    EXPECT_EQ(desk().liveWindowCount(), 0U);  // the object took its window along
}

TEST_F(MyDialogTest, TextAccessorsCutAndReadNumbers) {
    CMyDialog dialog(nullptr, "Swap", 1, 2, 0);
    ASSERT_NE(dialog.create(), nullptr);

    const std::string longText(5000, 'y');
    dialog.setText(3, "%s", longText.c_str());
    char buffer[8000];
    EXPECT_EQ(dialog.getText(3, buffer, sizeof buffer), 4095);
    // A two-byte character across the cut is left out whole.
    dialog.setText(3, "%s\xC3\xA4", std::string(4094, 'z').c_str());
    EXPECT_EQ(dialog.getText(3, buffer, sizeof buffer), 4094);

    dialog.setText(3, 70000L);
    EXPECT_EQ(dialog.getInt32(3), 70000);
    EXPECT_EQ(dialog.getTextAsValue(3), static_cast<std::int16_t>(70000 & 0xFFFF));
    char small[4];
    EXPECT_EQ(dialog.getText(3, small, sizeof small), 3);
    EXPECT_STREQ(small, "700");

    dialog.setText(3, "  -12.5e1 ");
    EXPECT_DOUBLE_EQ(dialog.getFloat(3), -125.0);
    dialog.setText(3, "3,5");
    EXPECT_DOUBLE_EQ(dialog.getFloat(3), 3.0);  // the decimal point is ".", whatever the locale
    const unsigned char pascal[] = {3, 'a', 0x8A, 'b'};  // "aäb" in Mac OS Roman
    dialog.setText(3, pascal);
    dialog.getText(3, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "a\xC3\xA4" "b");
}

TEST_F(MyDialogTest, ValuesShowEnableMenusFocusAndProperties) {
    CMyDialog dialog(nullptr, "Swap", 1, 2, 0);
    WindowPtr window = dialog.create();
    ASSERT_NE(window, nullptr);

    std::int16_t values[6] = {-1, -1, -1, -1, 1, 0};
    dialog.setValues(4, 5, values);
    std::int16_t read[6] = {9, 9, 9, 9, 9, 9};
    dialog.getValues(4, 5, read);
    EXPECT_EQ(read[4], 1);
    EXPECT_EQ(read[5], 0);
    EXPECT_EQ(read[3], 9);  // outside the range: untouched
    EXPECT_EQ(dialog.toggleValue(4), 0);
    EXPECT_EQ(dialog.toggleValue(4), 1);

    dialog.show(3, 5, false);
    EXPECT_FALSE(platform::isWindowShown(dialog.getControl(3)));
    EXPECT_FALSE(platform::isWindowShown(dialog.getControl(5)));
    EXPECT_TRUE(platform::isWindowShown(dialog.getControl(6)));
    dialog.show(4, true);
    EXPECT_TRUE(platform::isWindowShown(dialog.getControl(4)));
    dialog.hide(4);
    EXPECT_FALSE(platform::isWindowShown(dialog.getControl(4)));
    dialog.enable(4, 6, false);
    EXPECT_FALSE(platform::isWindowEnabled(dialog.getControl(6)));
    EXPECT_TRUE(platform::isWindowEnabled(dialog.getControl(3)));

    char text[256];
    ASSERT_TRUE(dialog.getMenuText(6, text));
    EXPECT_STREQ(text, "B");
    dialog.addMenuItem(6, "itemKey");
    dialog.setMenuText(6, "Localised Item");
    EXPECT_EQ(dialog.getValue(6), 3);
    const unsigned char roman[] = {2, 0x8A, 'x'};
    dialog.addMenuItem(6, roman);
    EXPECT_EQ(getMenuItemCnt(dialog.getMenu(6)), 4);
    dialog.setMenuText(6, "\xC3\xA4x");
    ASSERT_TRUE(dialog.getMenuText(6, text));
    EXPECT_STREQ(text, "\xC3\xA4x");

    dialog.setFocus(3);
    EXPECT_EQ(dialog.getFocus(), 3);
    dialog.selectText(3, 1, 3);
    int start = 0, end = 0;
    platform::editSelection(dialog.getControl(3), start, end);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 3);

    EXPECT_EQ(dialog.getProperty(fourCC("abcd"), -5), -5);
    dialog.setProperty(fourCC("abcd"), 77);
    EXPECT_EQ(dialog.getProperty(fourCC("abcd"), -5), 77);
    void* block = std::malloc(64);
    dialog.setProperty(fourCC("blok"), reinterpret_cast<std::intptr_t>(block));
    dialog.freeProperty(fourCC("blok"));  // a leak here shows in the sanitizer build
    EXPECT_EQ(dialog.getProperty(fourCC("blok"), 0), 0);

    FileRef file;
    std::strcpy(file.path, "/Volumes/Work/pictures/photo 1.tif");
    dialog.setTitle(&file);
    EXPECT_EQ(platform::windowText(window), "photo 1.tif");

    EXPECT_EQ(dialog.getRootControl(), platform::firstChild(window));
    EXPECT_EQ(dialog.getControl(-1), nullptr);
}

struct Keys {
    std::vector<int> chars;
};
Keys* keysSeen = nullptr;

std::int16_t dropX(ControlRef, std::int16_t*, std::int16_t* charCode, std::uint16_t*) {
    if (*charCode != 0 && keysSeen != nullptr) keysSeen->chars.push_back(*charCode);
    if (*charCode == 'x') return 0;
    if (*charCode == 'a') *charCode = 'A';
    return 1;
}

TEST_F(MyDialogTest, KeyFilterSeesTypedCharactersAndMaySwallowOrChangeThem) {
    Keys keys;
    keysSeen = &keys;
    CMyDialog dialog(nullptr, "Swap", 1, 2, 0);
    std::string finalText;
    auto callback = [](CMyDialog* d, std::int16_t item, std::intptr_t user) {
        if (item == kItemWillShow) {
            d->setText(3, "%s", "");
            d->setKeyFilter(3, dropX);
            d->setFocus(3);
        }
        if (item == kItemLoopEnded) {
            char text[64];
            d->getText(3, text, sizeof text);
            *reinterpret_cast<std::string*>(user) = text;
        }
        return false;
    };
    agent().queueDialogAction(DialogAction::type("axb"));
    agent().queueDialogAction(DialogAction::click(2));
    EXPECT_EQ(dialog.doModal(callback, reinterpret_cast<std::intptr_t>(&finalText)), 2);
    keysSeen = nullptr;
    EXPECT_EQ(keys.chars, (std::vector<int>{'a', 'x', 'b'}));
    EXPECT_EQ(finalText, "Ab");
}

}  // namespace
}  // namespace lumbrel

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "platform/window_system.h"
#include "ui/controls.h"
#include "ui/dialog_functions.h"
#include "ui/dialog_test_support.h"

namespace lumbrel {
namespace {

using test::control;

bool accept(WindowPtr, std::intptr_t) { return true; }

class Controls : public test::DialogTest {
protected:
    WindowPtr open(std::string_view controls) {
        addDescription("Ctl", controls);
        window_ = doModelessDialog("Ctl", accept, nullptr, 0);
        return window_;
    }
    void TearDown() override {
        platform::destroyWindow(window_);
        DialogTest::TearDown();
    }
    WindowPtr window_ = nullptr;
};

std::string popup(int id, std::string_view text, std::initializer_list<std::string_view> items) {
    std::string fields = "<id>" + std::to_string(id) + "</id><text>" + std::string(text) + "</text>";
    for (auto item : items) fields += "<menu>" + std::string(item) + "</menu>";
    return control("popb", fields + "<rect>10 10 120 13</rect>");
}

TEST_F(Controls, ControlsAreFoundByIdOrCommandFirstInWalkingOrder) {
    ASSERT_NE(open(control("grpb", "<id>30</id><rect>0 0 200 100</rect>") +
                   control("push", "<id>7</id><cmd>frst</cmd><text>inner</text>") + control("####") +
                   control("push", "<id>7</id><cmd>scnd</cmd><text>outer</text>") + control("####")),
              nullptr);
    ControlRef first = getControl(window_, 7UL);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(platform::windowText(first), "inner");
    EXPECT_EQ(getControl(window_, fourCC("scnd")), platform::nextSibling(platform::parentWindow(first)));
    EXPECT_EQ(getControlCommandID(first), fourCC("frst"));
    EXPECT_EQ(getControlID(first), 7);
    EXPECT_EQ(getControl(window_, 99UL), nullptr);
    EXPECT_EQ(getControl(nullptr, 7UL), nullptr);
    EXPECT_EQ(getControlKind(first), kKindPush);
    EXPECT_EQ(getControlOwner(first), window_);
    EXPECT_EQ(getSubControl(getControl(window_, 30UL), 1), first);
    EXPECT_EQ(getSubControl(getControl(window_, 30UL), 2), nullptr);

    setControlCommandID(first, fourCC("new!"));
    EXPECT_EQ(getControl(window_, fourCC("new!")), first);

    const platform::WindowRect r = platform::windowRect(first);
    const Rect bounds = getControlBounds(first);
    EXPECT_EQ(bounds.top, r.top);
    EXPECT_EQ(bounds.left, r.left);
    EXPECT_EQ(bounds.bottom, r.top + r.height);
    EXPECT_EQ(bounds.right, r.left + r.width);
    setSmallSystemFont(first, true);
    EXPECT_EQ(platform::windowFont(first), dialogBoldFont());
    setSmallSystemFont(first, false);
    EXPECT_EQ(platform::windowFont(first), dialogFont());
    setControlFont(first, "Courier", 10);
    EXPECT_NE(platform::windowFont(first), dialogFont());
}

TEST_F(Controls, PopupTextSelectsTheMatchingItemOrElseTheFirst) {
    ASSERT_NE(open(popup(3, "Two", {"One", "Two", "Three"}) + control("####")), nullptr);
    ControlRef menu = getControl(window_, 3UL);
    char text[64];
    getControlText(menu, text, sizeof text);
    EXPECT_STREQ(text, "Two");
    EXPECT_EQ(getControlValue(menu), 2);

    setControlText(menu, "Three");
    EXPECT_EQ(getControlValue(menu), 3);
    setControlText(menu, "");
    EXPECT_EQ(getControlValue(menu), 1);
    setControlText(menu, "Three");
    setControlText(menu, "Four");
    EXPECT_EQ(getControlValue(menu), 1);
    getControlText(menu, text, sizeof text);
    EXPECT_STREQ(text, "One");

    lumbrel::setControlValue(menu, 3);
    EXPECT_EQ(platform::controlValue(menu), 2);  // the window manager counts from 0
    EXPECT_EQ(getControlMaximum(menu), 3);
}

TEST_F(Controls, MenuItemsArePositionedAddedDeletedAndChecked) {
    ASSERT_NE(open(popup(3, "", {"One", "Two", "Three"}) + control("####")), nullptr);
    MenuRef menu = getMenu(getControl(window_, 3UL));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(getMenuItemPos(menu, "Three"), 3);
    EXPECT_EQ(getMenuItemPos(menu, "Four"), 0);
    EXPECT_EQ(getMenuItemPos(menu, "three"), 0);

    setMenuItemText(menu, "Two", 3);
    EXPECT_EQ(getControlValue(menu), 2);
    setMenuItemText(menu, "Nothing", 3);
    EXPECT_EQ(getControlValue(menu), 3);
    setMenuItemText(menu, "Nothing", 9);  // no such item either: unchanged
    EXPECT_EQ(getControlValue(menu), 3);

    EXPECT_EQ(addMenuItemText(menu, "itemKey"), 4);
    EXPECT_EQ(addMenuItemText(menu, "plain"), 5);
    char text[256];
    ASSERT_TRUE(getMenuItemText(menu, 4, text, sizeof text));
    EXPECT_STREQ(text, "Localised Item");
    EXPECT_FALSE(getMenuItemText(menu, 6, text, sizeof text));
    EXPECT_FALSE(getMenuItemText(menu, 0, text, sizeof text));

    deleteMenuItems(menu, 3);
    EXPECT_EQ(getMenuItemCnt(menu), 2);
    ASSERT_TRUE(getMenuItemText(menu, 2, text, sizeof text));
    EXPECT_STREQ(text, "Two");

    MenuRef own = createMenu();
    ASSERT_NE(own, nullptr);
    addMenuItemText(own, "A");
    addMenuItemText(own, "B");
    addMenuItemText(own, "C");
    checkMenu(own, "B");
    EXPECT_FALSE(isMenuItemChecked(own, 1));
    EXPECT_TRUE(isMenuItemChecked(own, 2));
    checkMenu(own, "C");
    EXPECT_FALSE(isMenuItemChecked(own, 2));
    EXPECT_TRUE(isMenuItemChecked(own, 3));
    checkMenu(own, "none");
    EXPECT_FALSE(isMenuItemChecked(own, 3));
    disposeMenu(own);
    EXPECT_FALSE(platform::isWindow(own));
    EXPECT_EQ(getMenu(platform::firstChild(window_)), nullptr);  // a pane has no menu
}

TEST_F(Controls, TrackPopUpMenuAnswersTheCommandOrNumberAndTheText) {
    MenuRef menu = createMenu();
    addMenuItemText(menu, "Open", fourCC("open"));
    addMenuItemText(menu, "itemKey");
    agent().choosePopupItem("Localised Item");
    agent().choosePopupItem("Open");
    agent().dismissPopup();

    char text[256] = "unchanged";
    EXPECT_EQ(trackPopUpMenu(menu, Point{40, 30}, 2, text), 2);
    EXPECT_STREQ(text, "Localised Item");
    ASSERT_EQ(agent().popupMenusSeen().size(), 1U);
    EXPECT_EQ(agent().popupMenusSeen()[0].preselected, 1);
    EXPECT_EQ(agent().popupMenusSeen()[0].x, 30);
    EXPECT_EQ(agent().popupMenusSeen()[0].y, 40);
    EXPECT_EQ(agent().popupMenusSeen()[0].owner, nullptr);  // its hidden list owns nothing: the active window does
    EXPECT_EQ(trackPopUpMenu(menu, Point{0, 0}, 0, nullptr), static_cast<long>(fourCC("open")));
    std::strcpy(text, "unchanged");
    EXPECT_EQ(trackPopUpMenu(menu, Point{0, 0}, 0, text), 0);
    EXPECT_STREQ(text, "unchanged");
    disposeMenu(menu);
}

TEST_F(Controls, TabsShowOnlyThePageOfTheirValue) {
    std::string pages;
    for (int n = 1; n <= 3; ++n) {
        pages += control("upan", "<id>" + std::to_string(100 + n) + "</id><rect>0 20 200 80</rect>") +
                 control("stxt", "<text>page " + std::to_string(n) + "</text>") + control("####");
    }
    ASSERT_NE(open(control("tabs", "<id>9</id><text1>tabKey</text1><text2>Two</text2><text3>Three</text3>"
                                   "<rect>0 0 250 150</rect>") +
                   pages + control("####") + control("####")),
              nullptr);
    ControlRef tabs = getControl(window_, 9UL);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(platform::itemText(tabs, 0), "Localised Tab");  // localised with the window
    // Localising showed the page of the current tab.
    EXPECT_TRUE(platform::isWindowShown(getControl(window_, 101UL)));
    EXPECT_FALSE(platform::isWindowShown(getControl(window_, 102UL)));

    setTabValue(tabs, 2);
    EXPECT_EQ(getControlValue(tabs), 2);
    EXPECT_FALSE(platform::isWindowShown(getControl(window_, 101UL)));
    EXPECT_TRUE(platform::isWindowShown(getControl(window_, 102UL)));
    EXPECT_FALSE(platform::isWindowShown(getControl(window_, 103UL)));

    lumbrel::setControlValue(tabs, 3);
    showTab(tabs);
    EXPECT_FALSE(platform::isWindowShown(getControl(window_, 102UL)));
    EXPECT_TRUE(platform::isWindowShown(getControl(window_, 103UL)));

    EXPECT_EQ(getTabUserPane(tabs, nullptr), getControl(window_, 103UL));
    EXPECT_EQ(getTabUserPane(tabs, "Two"), getControl(window_, 102UL));
    EXPECT_EQ(getTabUserPane(tabs, "Nine"), nullptr);
}

bool neverSwitch(ControlRef, WindowPtr, std::intptr_t user) {
    ++*reinterpret_cast<int*>(user);
    return true;
}

TEST_F(Controls, ClickOnATabSwitchesPagesUnlessItsHandlerTookIt) {
    std::string pages;
    for (int n = 1; n <= 2; ++n) pages += control("upan", "<rect>0 20 200 80</rect>") + control("####");
    addDescription("Tabs", control("tabs", "<id>9</id><text1>One</text1><text2>Two</text2><rect>0 0 250 150</rect>") +
                               pages + control("####") + okCancel() + control("####"));
    struct Seen {
        std::vector<bool> secondShown;
    } seen;
    agent().setDialogStep([&seen](const desktop::DialogRequest& dialog) {
        ControlRef tabs = getControl(dialog.dialog, 9UL);
        seen.secondShown.push_back(platform::isWindowShown(getSubControl(tabs, 2)));
        if (seen.secondShown.size() == 1) return desktop::DialogAction::choose(9, "Two");
        return desktop::DialogAction::click(2);
    });
    EXPECT_EQ(doModalDialog("Tabs", nullptr, 0), kCmdCancel);
    EXPECT_EQ(seen.secondShown, (std::vector<bool>{false, true}));

    int calls = 0;
    seen.secondShown.clear();
    auto start = [](WindowPtr window, std::intptr_t user) {
        setControlHandler(window, 9UL, neverSwitch, user);
        return true;
    };
    EXPECT_EQ(doModalDialog("Tabs", start, reinterpret_cast<std::intptr_t>(&calls)), kCmdCancel);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seen.secondShown, (std::vector<bool>{false, false}));
}

// What a native tab control sends: Win32's NMHDR, filled by user32, not by the module.
struct NativeNotifyHeader {
    void* hwndFrom;
    std::uintptr_t idFrom;
    std::uint32_t code;
};
static_assert(sizeof(platform::NotifyInfo) == sizeof(NativeNotifyHeader));
static_assert(offsetof(platform::NotifyInfo, from) == offsetof(NativeNotifyHeader, hwndFrom));
static_assert(offsetof(platform::NotifyInfo, id) == offsetof(NativeNotifyHeader, idFrom));
static_assert(offsetof(platform::NotifyInfo, code) == offsetof(NativeNotifyHeader, code));

TEST_F(Controls, ANativeTabNotificationSwitchesPagesByItsCode) {
    std::string pages;
    for (int n = 1; n <= 2; ++n) pages += control("upan", "<rect>0 20 200 80</rect>") + control("####");
    addDescription("Tabs", control("tabs", "<id>9</id><text1>One</text1><text2>Two</text2><rect>0 0 250 150</rect>") +
                               pages + control("####") + okCancel() + control("####"));
    const struct {
        std::uint32_t code;
        bool switches;
    } cases[] = {{0xFFFFFDD9U, true},    // TCN_SELCHANGE
                 {0xFFFFFDDAU, false},   // TCN_SELCHANGING: the page has not changed yet
                 {0xFFFFFFFEU, false}};  // NM_CLICK
    for (const auto& c : cases) {
        bool secondShown = false;
        agent().setDialogStep([&](const desktop::DialogRequest& dialog) {
            ControlRef tabs = getControl(dialog.dialog, 9UL);
            platform::setControlValue(tabs, 1);
            NativeNotifyHeader header{tabs, 9, c.code};
            platform::sendMessage(dialog.dialog, platform::Message::Notify, 9, reinterpret_cast<std::intptr_t>(&header));
            secondShown = platform::isWindowShown(getSubControl(tabs, 2));
            return desktop::DialogAction::click(2);
        });
        EXPECT_EQ(doModalDialog("Tabs", nullptr, 0), kCmdCancel);
        EXPECT_EQ(secondShown, c.switches) << std::hex << c.code;
    }
}

TEST_F(Controls, TextByKindAndBoundedFormatting) {
    ASSERT_NE(open(control("stxt", "<id>3</id><text>static</text>") + control("etxt", "<id>4</id><text>edit</text>") +
                   control("push", "<id>5</id><text>button</text>") +
                   control("comb", "<id>6</id><text>combo</text><menu>x</menu>") + control("####")),
              nullptr);
    char text[64];
    for (unsigned long id : {3UL, 4UL, 5UL}) {
        setControlText(window_, id, "new text");
        EXPECT_EQ(platform::windowText(getControl(window_, id)), "new text");
        EXPECT_EQ(getControlText(window_, id, text, sizeof text), 8);
        EXPECT_STREQ(text, "new text");
    }
    ControlRef combo = getControl(window_, 6UL);
    setControlText(combo, "typed");
    EXPECT_EQ(getControlText(combo), "typed");

    ControlRef edit = getControl(window_, 4UL);
    setControlText(edit, -1234L);
    EXPECT_EQ(getControlText(edit), "-1234");
    setControlTextWithFormat(edit, "%s|%d", std::string(5000, 'w').c_str(), 7);
    EXPECT_EQ(getControlText(edit).size(), 4095U);
    setControlTextWithFormat(edit, "%s\xE2\x82\xAC", std::string(4093, 'e').c_str());  // the euro sign would be cut
    EXPECT_EQ(getControlText(edit), std::string(4093, 'e'));

    setControlText(edit, "\xC3\xA4\xC3\xB6");
    char two[4];
    EXPECT_EQ(getControlText(edit, two, sizeof two), 2);  // never half a character
    EXPECT_STREQ(two, "\xC3\xA4");
    EXPECT_EQ(getControlText(edit, two, 0), 0);
    EXPECT_EQ(getControlText(nullptr, text, sizeof text), 0);
    EXPECT_STREQ(text, "");
}

TEST_F(Controls, PropertiesHandlersAndValues) {
    ASSERT_NE(open(control("cbox", "<id>3</id><text>check</text>") +
                   control("etxt", "<id>4</id><text></text><empt>1</empt>") +
                   control("etxt", "<id>5</id><text></text>") + control("prgb", "<id>6</id>") + control("####")),
              nullptr);
    ControlRef check = getControl(window_, 3UL);
    setControlProperty(check, fourCC("abcd"), 12345);
    EXPECT_EQ(getControlProperty(check, fourCC("abcd")), 12345);
    EXPECT_EQ(platform::property(check, "HAVVabcd"), 12345);
    setControlProperty(check, fourCC("note"), "some text");
    char text[5];
    ASSERT_TRUE(getControlProperty(check, fourCC("note"), text, sizeof text));
    EXPECT_STREQ(text, "some");
    EXPECT_NE(platform::textProperty(check, "HAVSnote"), nullptr);
    EXPECT_FALSE(getControlProperty(check, fourCC("none"), text, sizeof text));
    removeControlProperty(check, fourCC("abcd"));
    EXPECT_EQ(getControlProperty(check, fourCC("abcd")), 0);

    setWindowProperty(window_, fourCC("wval"), -7);
    EXPECT_EQ(getWindowProperty(window_, fourCC("wval")), -7);

    EXPECT_EQ(getControlProc(check), nullptr);
    setControlHandler(check, neverSwitch, 99);
    EXPECT_EQ(getControlProc(check), &neverSwitch);
    EXPECT_EQ(getControlUserData(check), 99);

    lumbrel::setControlValue(check, 1);
    EXPECT_EQ(getControlValue(window_, 3UL), 1);
    ControlRef bar = getControl(window_, 6UL);
    setControlMaximum(bar, 40000);  // cut to 16 bits, as every value
    EXPECT_EQ(getControlMaximum(bar), static_cast<std::int16_t>(40000));
    setControlMaximum(bar, 50);
    setControlValue(window_, 6UL, 20);
    EXPECT_EQ(getControlValue(bar), 20);

    // The field that must not be empty is found while it is empty.
    EXPECT_EQ(getEmptyControl(window_), getControl(window_, 4UL));
    setControlText(window_, 4UL, "x");
    EXPECT_EQ(getEmptyControl(window_), nullptr);

    showControl(window_, 3UL, false);
    EXPECT_FALSE(platform::isWindowShown(check));
    enableControl(window_, 3UL, false);
    EXPECT_FALSE(platform::isWindowEnabled(check));
    lumbrel::setFocus(getControl(window_, 5UL));
    clearFocus(window_);
    EXPECT_EQ(platform::focusedWindow(), nullptr);
}

struct Walk {
    std::vector<int> ids;
    std::vector<std::uint32_t> kinds;
    int stopAt = -100;
};

bool record(ControlRef control, std::uint32_t kind, std::intptr_t value) {
    auto* walk = reinterpret_cast<Walk*>(value);
    walk->ids.push_back(platform::controlId(control));
    walk->kinds.push_back(kind);
    return platform::controlId(control) != walk->stopAt;
}

TEST_F(Controls, EnumControlsWalksDepthFirstAndStops) {
    ASSERT_NE(open(control("grpb", "<id>3</id>") + control("cbox", "<id>4</id>") + control("####") +
                   control("stxt", "<id>5</id>") + control("####")),
              nullptr);
    Walk walk;
    EXPECT_TRUE(EnumControls(window_, record, reinterpret_cast<std::intptr_t>(&walk)));
    EXPECT_EQ(walk.ids, (std::vector<int>{-1, 3, 4, 5}));  // the root pane first
    EXPECT_EQ(walk.kinds, (std::vector<std::uint32_t>{kKindUserPane, kKindCheck, kKindCheck, kKindStatic}));

    Walk inner;
    inner.stopAt = 4;
    EXPECT_FALSE(EnumControls(getControl(window_, 3UL), record, reinterpret_cast<std::intptr_t>(&inner)));
    EXPECT_EQ(inner.ids, (std::vector<int>{3, 4}));
}

TEST_F(Controls, LocalisingTakesTitlesAsKeysAndKeepsOtherTexts) {
    ASSERT_NE(open(control("push", "<id>3</id><text>btnKey</text>") + control("push", "<id>4</id><text>Plain</text>") +
                   control("stxt", "<id>5</id><text>titleKey</text>") +
                   control("push", "<id>6</id><text>emptyKey</text>") +
                   popup(7, "itemKey", {"itemKey", "Other"}) +
                   control("etxt", "<id>8</id><text>btnKey</text><rect>10 10 100 13</rect>") + control("####")),
              nullptr);
    EXPECT_EQ(platform::windowText(getControl(window_, 8UL)), "btnKey") << "an edit field keeps its text";
    EXPECT_EQ(platform::windowText(getControl(window_, 3UL)), "Localised Button");
    EXPECT_EQ(platform::windowText(getControl(window_, 4UL)), "Plain");
    EXPECT_EQ(platform::windowText(getControl(window_, 5UL)), "Localised Title");
    EXPECT_EQ(platform::windowText(getControl(window_, 6UL)), "emptyKey");  // an empty text keeps the key
    ControlRef menu = getControl(window_, 7UL);
    EXPECT_EQ(platform::itemText(menu, 0), "Localised Item");
    EXPECT_EQ(platform::itemText(menu, 1), "Other");
    EXPECT_EQ(getControlValue(menu), 1);  // the selection stays on its item

    setWindowTitle(window_, "titleKey");
    EXPECT_EQ(platform::windowText(window_), "Localised Title");
    setWindowTitle(window_, "No key");
    EXPECT_EQ(platform::windowText(window_), "No key");

    // One control alone.
    ControlRef plain = getControl(window_, 4UL);
    platform::setWindowText(plain, "btnKey");
    EXPECT_TRUE(setupTitleProc(plain, kKindPush, 0));
    EXPECT_EQ(platform::windowText(plain), "Localised Button");
    platform::setWindowText(plain, "btnKey");
    for (const std::uint32_t kind : {kKindSeparator, kKindEdit, kKindEditUnicode, kKindEditWindow}) {
        setupTitleProc(plain, kind, 0);  // other kinds, edit fields among them, are left alone
        EXPECT_EQ(platform::windowText(plain), "btnKey");
    }
}

}  // namespace
}  // namespace lumbrel

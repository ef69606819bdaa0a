#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/window_system.h"
#include "ui/controls.h"
#include "ui/dialog_functions.h"
#include "ui/dialog_test_support.h"
#include "ui/list_view.h"
#include "util/my_array.h"

namespace lumbrel {
namespace {

using test::control;

bool accept(WindowPtr, std::intptr_t) { return true; }

// What the caller's procedures saw.
struct Calls {
    std::vector<std::string> names;      // the texts the item-data procedure hands out, by item - 1
    std::vector<std::uint32_t> properties;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> notifications;  // item, message
    std::vector<std::uint32_t> sortProperties;
    std::vector<MenuRef> menus;
    std::vector<std::pair<std::uint32_t, std::string>> chosen;
    int menusMade = 0;
};
Calls* calls = nullptr;

long itemData(ControlRef, std::uint32_t item, std::uint32_t property, void* data, unsigned char setValue) {
    calls->properties.push_back(property);
    if (setValue != 0 || item < 1 || item > calls->names.size()) return -1;
    if (item == 1) {
        setItemStringWithFormat(data, "#%u %s", static_cast<unsigned>(item), calls->names[0].c_str());
    } else {
        setBrowserText(data, calls->names[item - 1].c_str());
    }
    if (item == 2) setBrowserIcon(data, fourCC("fold"));
    return 0;
}

// Orders items by their names, backwards, so that the answer differs from item order.
unsigned char compareNames(ControlRef, std::uint32_t a, std::uint32_t b, std::uint32_t property) {
    calls->sortProperties.push_back(property);
    return calls->names.at(a - 1) > calls->names.at(b - 1) ? 1 : 0;
}

void notify(ControlRef, std::uint32_t item, std::uint32_t message) { calls->notifications.emplace_back(item, message); }

MenuRef makeMenu(ControlRef) {
    ++calls->menusMade;
    MenuRef menu = createMenu();
    addMenuItemText(menu, "Rename", fourCC("renm"));
    addMenuItemText(menu, "Delete", fourCC("dele"));
    calls->menus.push_back(menu);
    return menu;
}

void doMenu(ControlRef, std::uint32_t command, char* text) { calls->chosen.emplace_back(command, text); }

// The window manager's extended-selection list style.
constexpr std::uint32_t kExtendedSelection = 0x800;

std::intptr_t click(int row) { return static_cast<std::intptr_t>((row * 16 + 4) << 16 | 10); }

class ListCallbacks : public test::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        calls = &calls_;
        addDescription("Lists", control("lbox", "<id>3</id><rect>10 10 200 100</rect>") + okCancel() + control("####"));
        window_ = doModelessDialog("Lists", accept, nullptr, 0);
        ASSERT_NE(window_, nullptr);
        list_ = getControl(window_, 3UL);
        ASSERT_NE(list_, nullptr);
        calls_.names = {"banana", "apple", "cherry"};
    }
    void TearDown() override {
        platform::destroyWindow(window_);
        calls = nullptr;
        DialogTest::TearDown();
    }
    std::vector<std::string> shown() const {
        std::vector<std::string> texts;
        for (int i = 0; i < platform::itemCount(list_); ++i) texts.push_back(platform::itemText(list_, i));
        return texts;
    }
    // A list box allowing several selected rows, in the same dialog.
    ControlRef multiList() {
        const platform::WindowRect rect{10, 120, 200, 100};
        return platform::createWindow(platform::kListBoxClass, "",
                                      platform::style::kChild | platform::style::kVisible |
                                          platform::style::kListHasStrings | platform::style::kListNotify |
                                          kExtendedSelection,
                                      0, rect, platform::parentWindow(list_), 7);
    }

    Calls calls_;
    WindowPtr window_ = nullptr;
    ControlRef list_ = nullptr;
};

TEST_F(ListCallbacks, TextsComeFromTheItemDataProcedureWithoutAStringArray) {
    setupBrowserControl(list_, itemData, compareNames, notify, nullptr, nullptr);
    ASSERT_TRUE(hasBrowserCallbacks(list_));
    addBrowserItems(list_, 2);
    EXPECT_EQ(shown(), (std::vector<std::string>{"#1 banana", "apple"}));
    addBrowserItems(list_, 1);  // items 1 to old count + 1
    EXPECT_EQ(shown(), (std::vector<std::string>{"#1 banana", "apple", "cherry"}));
    EXPECT_FALSE(hasBrowserStringArray(list_));
    for (const std::uint32_t property : calls_.properties) EXPECT_EQ(property, kBrowserColumnProperty);
    EXPECT_EQ(browserItemIcon(list_, 2), fourCC("fold"));
    EXPECT_EQ(browserItemIcon(list_, 3), 0U);

    calls_.names[2] = "date";
    updateBrowserItem(list_, 3);
    EXPECT_EQ(platform::itemText(list_, 2), "date");
    updateBrowserItem(list_, 4);  // no such item
    EXPECT_EQ(getBrowserItemsCnt(list_), 3U);

    removeBrowserItem(list_, 1);  // items stay 1 to count: the caller's data answers for them
    EXPECT_EQ(shown(), (std::vector<std::string>{"#1 banana", "apple"}));
    removeBrowserItem(list_, 9);
    EXPECT_EQ(getBrowserItemsCnt(list_), 2U);

    // A string array wins over the procedures.
    const char* texts[] = {"rowKey"};
    MyArray array(1, sizeof(const char*));
    ASSERT_TRUE(array.addElem(&texts[0]));
    addBrowserItems(list_, &array);
    EXPECT_EQ(shown(), (std::vector<std::string>{"Localised Row"}));
}

TEST_F(ListCallbacks, FormattedTextsAreCutBeforeASplitCharacter) {
    // "#1 " and 4091 "x" leave room for one byte of the first two-byte "ä" in 4096.
    calls_.names = {std::string(4091, 'x') + "\xC3\xA4\xC3\xA4"};
    setupBrowserControl(list_, itemData, nullptr, nullptr, nullptr, nullptr);
    const std::string text = browserItemText(list_, 1);
    EXPECT_EQ(text.size(), 3U + 4091U);
    EXPECT_EQ(text.back(), 'x');
    setBrowserText(nullptr, "ignored");
    setItemStringWithFormat(nullptr, "%s", "ignored");
}

TEST_F(ListCallbacks, ItemsCompareThroughTheCompareProcedure) {
    setupBrowserControl(list_, itemData, compareNames, notify, nullptr, nullptr);
    addBrowserItems(list_, 3);
    // Backwards by name: cherry (3) before banana (1) before apple (2).
    EXPECT_TRUE(compareBrowserItems(list_, 3, 1));
    EXPECT_TRUE(compareBrowserItems(list_, 1, 2));
    EXPECT_FALSE(compareBrowserItems(list_, 2, 3));
    EXPECT_FALSE(compareBrowserItems(list_, 1, 3));
    ASSERT_FALSE(calls_.sortProperties.empty());
    EXPECT_EQ(calls_.sortProperties.back(), kBrowserColumnProperty);

    // Without a compare procedure no item sorts first.
    setupBrowserControl(list_, itemData, nullptr, notify, nullptr, nullptr);
    EXPECT_FALSE(compareBrowserItems(list_, 3, 1));
}

TEST_F(ListCallbacks, UserSelectionChangesReachTheNotificationProcedure) {
    setupBrowserControl(list_, itemData, compareNames, notify, nullptr, nullptr);
    addBrowserItems(list_, 3);
    using N = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

    platform::sendMessage(list_, platform::Message::LeftButtonDown, 0, click(1));
    EXPECT_EQ(getSelectedItem(list_), 2U);
    EXPECT_EQ(calls_.notifications, (N{{2, kBrowserItemSelected}, {0, kBrowserSelectionSetChanged}}));

    calls_.notifications.clear();
    platform::sendMessage(list_, platform::Message::KeyDown, static_cast<std::uintptr_t>(platform::Key::Down));
    EXPECT_EQ(calls_.notifications,
              (N{{2, kBrowserItemDeselected}, {3, kBrowserItemSelected}, {0, kBrowserSelectionSetChanged}}));

    calls_.notifications.clear();
    platform::sendMessage(list_, platform::Message::LeftButtonDown, 0, click(2));  // already selected
    EXPECT_TRUE(calls_.notifications.empty());

    // Reset: the procedures are gone and the list box is as before.
    resetBrowserControl(list_);
    EXPECT_FALSE(hasBrowserCallbacks(list_));
    platform::sendMessage(list_, platform::Message::LeftButtonDown, 0, click(0));
    EXPECT_EQ(getSelectedItem(list_), 1U);
    EXPECT_TRUE(calls_.notifications.empty());
}

TEST_F(ListCallbacks, ColumnFlagsAddUpPerProperty) {
    setBrowserProperty(list_, kBrowserColumnProperty, 0x1);
    setBrowserProperty(list_, kBrowserColumnProperty, 0x10);
    setBrowserProperty(list_, fourCC("size"), 0x4);
    EXPECT_EQ(getBrowserProperty(list_, kBrowserColumnProperty), 0x11U);
    EXPECT_EQ(getBrowserProperty(list_, fourCC("size")), 0x4U);
    EXPECT_EQ(getBrowserProperty(list_, fourCC("date")), 0U);
}

TEST_F(ListCallbacks, ContextClickSelectsTheRowUnderItWhenFewerThanTwoAreSelected) {
    setupBrowserControl(list_, itemData, compareNames, notify, nullptr, nullptr);
    addBrowserItems(list_, 3);
    setupContextClickHandler(list_, makeMenu, doMenu);

    // Nothing selected: the clicked row is selected, the menu shown 8 points left of the click.
    agent().choosePopupItem("Delete");
    EXPECT_TRUE(contextClick(list_, 30, 16 + 4));
    EXPECT_EQ(getSelectedItem(list_), 2U);
    EXPECT_EQ(getSelectedItems(list_), 1U);
    ASSERT_EQ(agent().popupMenusSeen().size(), 1U);
    const desktop::PopupMenuRequest& menu = agent().popupMenusSeen().back();
    EXPECT_EQ(menu.items, (std::vector<std::string>{"Rename", "Delete"}));
    const Point atClick = controlToScreen(list_, 30, 20);
    EXPECT_EQ(menu.x, atClick.h - 8);
    EXPECT_EQ(menu.y, atClick.v);
    ASSERT_EQ(calls_.chosen.size(), 1U);
    EXPECT_EQ(calls_.chosen[0].first, fourCC("dele"));
    EXPECT_EQ(calls_.chosen[0].second, "Delete");
    ASSERT_EQ(calls_.menus.size(), 1U);
    EXPECT_FALSE(platform::isWindow(calls_.menus[0]));  // disposed
    EXPECT_EQ(calls_.notifications.back(), (std::pair<std::uint32_t, std::uint32_t>{0, kBrowserSelectionSetChanged}));

    // One selected: the clicked row replaces it. A dismissed menu calls nobody.
    agent().dismissPopup();
    EXPECT_TRUE(contextClick(list_, 30, 2 * 16 + 4));
    EXPECT_EQ(getSelectedItem(list_), 3U);
    EXPECT_EQ(getSelectedItems(list_), 1U);
    EXPECT_EQ(calls_.chosen.size(), 1U);
    EXPECT_FALSE(platform::isWindow(calls_.menus.back()));
}

TEST_F(ListCallbacks, ContextClickKeepsASelectionOfSeveralRows) {
    ControlRef multi = multiList();
    ASSERT_NE(multi, nullptr);
    for (const char* text : {"a", "b", "c", "d"}) platform::addItem(multi, text);
    platform::setItemSelected(multi, 0, true);
    platform::setItemSelected(multi, 1, true);
    setupContextClickHandler(multi, makeMenu, doMenu);
    agent().choosePopupIndex(0);
    EXPECT_TRUE(contextClick(multi, 10, 3 * 16 + 4));
    EXPECT_TRUE(platform::isItemSelected(multi, 0));
    EXPECT_TRUE(platform::isItemSelected(multi, 1));
    EXPECT_FALSE(platform::isItemSelected(multi, 3));
    ASSERT_EQ(calls_.chosen.size(), 1U);
    EXPECT_EQ(calls_.chosen[0].first, fourCC("renm"));
    EXPECT_EQ(calls_.chosen[0].second, "Rename");

    // A single selection on a multiple list is replaced by the clicked row.
    platform::setItemSelected(multi, 1, false);
    agent().choosePopupIndex(1);
    EXPECT_TRUE(contextClick(multi, 10, 3 * 16 + 4));
    EXPECT_FALSE(platform::isItemSelected(multi, 0));
    EXPECT_TRUE(platform::isItemSelected(multi, 3));
    EXPECT_EQ(calls_.chosen.back().second, "Delete");
}

// The window system reports the click to the list, which passes it to its dialog.
void contextClickFromTheUser(ControlRef control, int x, int y) {
    platform::sendMessage(control, platform::Message::ContextMenu, reinterpret_cast<std::uintptr_t>(control),
                          platform::pointParam(platform::clientToScreen(control, {x, y})));
}

bool listWithContextMenu(WindowPtr dialog, std::intptr_t) {
    ControlRef list = getControl(dialog, 3UL);
    setupBrowserControl(list, itemData, compareNames, notify, nullptr, nullptr);
    addBrowserItems(list, 3);
    setupContextClickHandler(list, makeMenu, doMenu);
    return true;
}

TEST_F(ListCallbacks, AContextClickOnTheListReachesItsMenuThroughTheDialog) {
    listWithContextMenu(window_, 0);
    agent().choosePopupItem("Rename");
    contextClickFromTheUser(list_, 30, 2 * 16 + 4);
    EXPECT_EQ(getSelectedItem(list_), 3U);
    ASSERT_EQ(calls_.chosen.size(), 1U);
    EXPECT_EQ(calls_.chosen[0].first, fourCC("renm"));
    ASSERT_EQ(agent().popupMenusSeen().size(), 1U);
    const Point atClick = controlToScreen(list_, 30, 2 * 16 + 4);
    EXPECT_EQ(agent().popupMenusSeen()[0].x, atClick.h - 8);
    EXPECT_EQ(agent().popupMenusSeen()[0].y, atClick.v);

    // A control without a context menu shows none.
    contextClickFromTheUser(getControl(window_, 1UL), 5, 5);
    EXPECT_EQ(agent().popupMenusSeen().size(), 1U);

    // In a modal dialog the user's right click on the second row, then OK.
    calls_.chosen.clear();
    agent().choosePopupItem("Delete");
    agent().queueDialogAction(desktop::DialogAction::contextClick(3, 30, 16 + 4));
    agent().queueDialogAction(desktop::DialogAction::click(1));
    EXPECT_EQ(doModalDialog("Lists", listWithContextMenu, 0), fourCC("ok  "));
    ASSERT_EQ(calls_.chosen.size(), 1U);
    EXPECT_EQ(calls_.chosen[0].first, fourCC("dele"));
    EXPECT_EQ(calls_.chosen[0].second, "Delete");
}

TEST_F(ListCallbacks, ContextClickWithNothingToSelectShowsNoMenu) {
    platform::addItem(list_, "only");
    EXPECT_FALSE(contextClick(list_, 10, 4));  // no procedures: nothing happens
    EXPECT_EQ(getSelectedItems(list_), 0U);
    setupContextClickHandler(list_, makeMenu, doMenu);
    EXPECT_FALSE(contextClick(list_, 10, 5 * 16));  // below the last row, nothing selected
    EXPECT_EQ(calls_.menusMade, 0);
    EXPECT_TRUE(agent().popupMenusSeen().empty());
    setupContextClickHandler(list_, nullptr, nullptr);
    EXPECT_FALSE(contextClick(list_, 10, 4));
    EXPECT_EQ(calls_.menusMade, 0);
}

}  // namespace
}  // namespace lumbrel

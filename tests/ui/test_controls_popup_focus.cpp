#include <gtest/gtest.h>

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

std::vector<std::string>* handled = nullptr;

bool record(ControlRef control, WindowPtr, std::intptr_t user) {
    handled->push_back(getControlText(control) + "/" + std::to_string(user));
    return false;
}

class PopupFocus : public test::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        handled = &handled_;
        addDescription("Pops",
                       control("popb", "<id>4</id><menu>A</menu><menu>B</menu><menu>C</menu><rect>10 10 100 13</rect>") +
                           control("comb", "<id>5</id><text>start</text><rect>10 40 100 20</rect>") +
                           control("lbox", "<id>6</id><rect>10 70 100 40</rect>") + okCancel() + control("####"));
        window_ = doModelessDialog("Pops", accept, nullptr, 0);
        ASSERT_NE(window_, nullptr);
        popup_ = getControl(window_, 4UL);
        combo_ = getControl(window_, 5UL);
        list_ = getControl(window_, 6UL);
        ASSERT_NE(popup_, nullptr);
        ASSERT_NE(combo_, nullptr);
        ASSERT_NE(list_, nullptr);
    }
    void TearDown() override {
        platform::destroyWindow(window_);
        handled = nullptr;
        DialogTest::TearDown();
    }
    void pressDown(ControlRef target) {
        platform::sendMessage(target, platform::Message::KeyDown, static_cast<std::uintptr_t>(platform::Key::Down));
    }

    std::vector<std::string> handled_;
    WindowPtr window_ = nullptr;
    ControlRef popup_ = nullptr;
    ControlRef combo_ = nullptr;
    ControlRef list_ = nullptr;
};

TEST_F(PopupFocus, DownArrowOpensTheMenuOfAFocusedPopUpAtTheCurrentItem) {
    setControlText(popup_, "B");
    setControlHandler(popup_, record, 9);
    setupPopupFocus(window_, 4);
    EXPECT_EQ(getControlProperty(popup_, kTagPopupFocus), 0);
    lumbrel::setFocus(popup_);
    EXPECT_EQ(getControlProperty(popup_, kTagPopupFocus), 1);

    agent().choosePopupItem("C");
    pressDown(popup_);
    ASSERT_EQ(agent().popupMenusSeen().size(), 1U);
    const desktop::PopupMenuRequest& menu = agent().popupMenusSeen()[0];
    EXPECT_EQ(menu.items, (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(menu.preselected, 1);  // "B"
    const Point at = controlToScreen(popup_, 0, 0);
    EXPECT_EQ(menu.x, at.h);
    EXPECT_EQ(menu.y, at.v);
    EXPECT_EQ(getControlText(popup_), "C");
    EXPECT_EQ(handled_, (std::vector<std::string>{"C/9"}));

    // Dismissed: the item stays and nobody is told.
    agent().dismissPopup();
    pressDown(popup_);
    EXPECT_EQ(agent().popupMenusSeen().size(), 2U);
    EXPECT_EQ(agent().popupMenusSeen()[1].preselected, 2);
    EXPECT_EQ(getControlText(popup_), "C");
    EXPECT_EQ(handled_.size(), 1U);
}

TEST_F(PopupFocus, WithoutTheFocusTheDownArrowOpensNoMenu) {
    setupPopupFocus(popup_);
    lumbrel::setFocus(popup_);
    lumbrel::setFocus(list_);
    EXPECT_EQ(getControlProperty(popup_, kTagPopupFocus), 0);
    setControlText(popup_, "A");
    pressDown(popup_);  // the window manager's own step to the next item
    EXPECT_TRUE(agent().popupMenusSeen().empty());
    EXPECT_EQ(getControlText(popup_), "B");

    // Only pop-up buttons are prepared.
    const platform::WindowProc listProc = platform::windowProc(list_);
    setupPopupFocus(list_);
    EXPECT_EQ(platform::windowProc(list_), listProc);
    lumbrel::setFocus(list_);
    pressDown(list_);
    EXPECT_TRUE(agent().popupMenusSeen().empty());
}

TEST_F(PopupFocus, ComboChoiceBecomesItsTextAndCallsItsHandler) {
    addMenuItemText(combo_, "x");
    addMenuItemText(combo_, "y");
    setControlHandler(combo_, record, 3);
    setupControls(window_);
    setupControls(window_);  // twice: still one wrapper, one handler call per choice

    setControlText(combo_, "y");
    agent().choosePopupItem("x");
    platform::sendMessage(combo_, platform::Message::LeftButtonDown, 0, 0);
    ASSERT_EQ(agent().popupMenusSeen().size(), 1U);
    EXPECT_EQ(agent().popupMenusSeen()[0].preselected, 1);  // the item equal to the text
    EXPECT_EQ(getControlText(combo_), "x");
    EXPECT_EQ(lumbrel::getControlValue(combo_), 1);
    EXPECT_EQ(handled_, (std::vector<std::string>{"x/3"}));

    // A typed text no item has: the current item is marked; dismissing changes nothing.
    setControlText(combo_, "typed");
    agent().dismissPopup();
    platform::sendMessage(combo_, platform::Message::LeftButtonDown, 0, 0);
    EXPECT_EQ(agent().popupMenusSeen()[1].preselected, 0);
    EXPECT_EQ(getControlText(combo_), "typed");
    EXPECT_EQ(handled_.size(), 1U);
}

TEST_F(PopupFocus, BevelButtonMenuIsThePopUpsMenu) {
    EXPECT_EQ(getBevelButtonMenu(popup_), getMenu(popup_));
    EXPECT_NE(getBevelButtonMenu(popup_), nullptr);
    EXPECT_EQ(getBevelButtonMenu(combo_), nullptr);
    EXPECT_EQ(getBevelButtonMenu(list_), nullptr);
}

}  // namespace
}  // namespace lumbrel

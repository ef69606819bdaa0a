// The module's own window classes, the key handler of built controls, the
// kinds of windows and the dialog walk.
#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "desktop/agent.h"
#include "desktop/desktop.h"
#include "platform/keyboard.h"
#include "platform/window_system.h"
#include "ui/control_kind.h"
#include "ui/description_builder.h"
#include "ui/key_handler.h"
#include "ui/own_window_classes.h"
#include "ui/property_names.h"
#include "ui/test_dialog_builder_support.h"
#include "ui/ui_types.h"

namespace lumbrel {
namespace {

namespace style = platform::style;
using platform::Message;
using platform::WindowRef;
using test::control;
using test::description;
using test::dialogMessages;

std::intptr_t asParam(WindowRef window) {
    return reinterpret_cast<std::intptr_t>(window);
}

std::vector<Message> messageKinds() {
    std::vector<Message> kinds;
    for (const test::ReceivedMessage& m : dialogMessages()) kinds.push_back(m.message);
    return kinds;
}

class OwnClasses : public test::DescriptionTest {
protected:
    void TearDown() override {
        desktop::Desktop::instance().releaseAllKeys();
        desktop::Desktop::instance().setAgent(nullptr);
        test::DescriptionTest::TearDown();
    }
};

// ---- Separator -------------------------------------------------------------------

struct Line {
    double x1, y1, x2, y2;
};

// The grey lines of a window picture.
std::vector<Line> greyLines(const std::string& svg) {
    std::vector<Line> lines;
    const std::regex line(
        R"re(<line x1="([-0-9.]+)" y1="([-0-9.]+)" x2="([-0-9.]+)" y2="([-0-9.]+)" stroke="#808080")re");
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), line); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        lines.push_back({std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])});
    }
    return lines;
}

TEST_F(OwnClasses, SeparatorPaintsOneGreyLineAlongItsLongerSide) {
    platform::showWindow(shell_, true);  // only shown windows are drawn
    ASSERT_TRUE(build(description(control("sepa", "<rect>330 12 1 221</rect>") + control("####"), "0 0 400 300")));
    std::vector<Line> lines = greyLines(desktop::Desktop::instance().windowPicture(shell_));
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].x1, lines[0].x2);            // vertical
    EXPECT_EQ(lines[0].y2 - lines[0].y1, 221 - 1);  // the whole height, pixel to pixel
    const double left = lines[0].x1;
    const double top = lines[0].y1;
    platform::destroyWindow(root());

    ASSERT_TRUE(build(description(control("sepa", "<rect>330 12 40 2</rect>") + control("####"), "0 0 400 300")));
    lines = greyLines(desktop::Desktop::instance().windowPicture(shell_));
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].y1, lines[0].y2);  // horizontal
    EXPECT_EQ(lines[0].x2 - lines[0].x1, 40 - 1);
    // Both start at the separator's top-left corner.
    EXPECT_EQ(lines[0].x1, left);
    EXPECT_EQ(lines[0].y1, top);
    platform::destroyWindow(root());

    // A square counts as vertical.
    ASSERT_TRUE(build(description(control("sepa", "<rect>0 3 5 5</rect>") + control("####"), "0 0 400 300")));
    lines = greyLines(desktop::Desktop::instance().windowPicture(shell_));
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].x1, lines[0].x2);
    EXPECT_EQ(lines[0].y2 - lines[0].y1, 4);
}

// ---- RadioGroup ------------------------------------------------------------------

TEST_F(OwnClasses, RadioGroupKeepsOneChildCheckedAndTellsTheDialog) {
    ASSERT_TRUE(build(description(control("rgrp", "<id>30</id><rect>10 10 200 80</rect>") +
                                  control("rdio", "<id>31</id><rect>0 0 100 16</rect><text>A</text>") +
                                  control("rdio", "<id>32</id><rect>0 20 100 16</rect><text>B</text>") +
                                  control("rdio", "<id>33</id><rect>0 40 100 16</rect><text>C</text>") +
                                  control("####") + control("####"))));
    const WindowRef group = platform::findChild(shell_, 30);
    const WindowRef a = platform::findChild(shell_, 31);
    const WindowRef b = platform::findChild(shell_, 32);
    const WindowRef c = platform::findChild(shell_, 33);
    EXPECT_EQ(platform::sendMessage(group, kRadioGroupGetChecked), 0);

    platform::setControlValue(a, 1);
    platform::setControlValue(c, 1);
    dialogMessages().clear();
    platform::sendMessage(group, Message::Command, platform::commandParam(32, platform::Notification::Clicked),
                          asParam(b));
    EXPECT_EQ(platform::controlValue(a), 0);
    EXPECT_EQ(platform::controlValue(b), 1);
    EXPECT_EQ(platform::controlValue(c), 0);
    ASSERT_EQ(dialogMessages().size(), 1U);
    EXPECT_EQ(dialogMessages()[0].message, Message::Command);
    EXPECT_EQ(platform::commandId(dialogMessages()[0].wParam), 30);
    EXPECT_EQ(platform::commandNotification(dialogMessages()[0].wParam), platform::Notification::Clicked);
    EXPECT_EQ(dialogMessages()[0].lParam, asParam(group));
    EXPECT_EQ(platform::sendMessage(group, kRadioGroupGetChecked), 2);

    EXPECT_EQ(platform::sendMessage(group, kRadioGroupSetChecked, 3), 3);
    EXPECT_EQ(platform::controlValue(b), 0);
    EXPECT_EQ(platform::controlValue(c), 1);
    EXPECT_EQ(platform::sendMessage(group, kRadioGroupGetChecked), 3);
    EXPECT_EQ(platform::sendMessage(group, kRadioGroupSetChecked, 4), 0);
    EXPECT_EQ(platform::sendMessage(group, kRadioGroupGetChecked), 0);
    platform::sendMessage(group, kRadioGroupSetChecked, 1);
    EXPECT_EQ(platform::sendMessage(group, kRadioGroupGetChecked), 1);

    // A command that names no child of the group changes nothing.
    dialogMessages().clear();
    platform::sendMessage(group, Message::Command, platform::commandParam(99, platform::Notification::Clicked),
                          asParam(shell_));
    EXPECT_EQ(platform::sendMessage(group, kRadioGroupGetChecked), 1);
    EXPECT_TRUE(dialogMessages().empty());
}

// ---- UserPane ---------------------------------------------------------------------

TEST_F(OwnClasses, UserPaneHandsItsChildrensNotificationsToTheDialog) {
    ASSERT_TRUE(build(description(control("upan", "<id>5</id>") + control("tabs", "<id>6</id><text1>A</text1>") +
                                  control("####") + control("####") + control("####"))));
    const WindowRef pane = platform::findChild(shell_, 5);
    const WindowRef tabs = platform::findChild(shell_, 6);
    dialogMessages().clear();
    platform::sendMessage(pane, Message::Command, platform::commandParam(6, platform::Notification::Clicked),
                          asParam(tabs));
    platform::NotifyInfo change{tabs, 6, platform::kTabSelectionChanged};
    platform::sendMessage(pane, Message::Notify, 6, reinterpret_cast<std::intptr_t>(&change));
    platform::NotifyInfo other{tabs, 6, 0U - 2U};
    platform::sendMessage(pane, Message::Notify, 6, reinterpret_cast<std::intptr_t>(&other));
    platform::DrawItem item;
    item.control = tabs;
    platform::sendMessage(pane, Message::DrawItem, 6, reinterpret_cast<std::intptr_t>(&item));
    platform::sendMessage(pane, Message::SetFocus, 0, 0);
    platform::sendMessage(pane, Message::KillFocus, 0, 0);
    platform::sendMessage(pane, Message::User, 0, 0);
    EXPECT_EQ(messageKinds(), (std::vector<Message>{Message::Command, Message::Notify, Message::DrawItem,
                                                    Message::SetFocus, Message::KillFocus}));
    EXPECT_EQ(dialogMessages()[1].lParam, reinterpret_cast<std::intptr_t>(&change));

    // A pane with no dialog above it keeps its messages (and does not loop).
    const WindowRef lonely = platform::createWindow(kUserPaneClass, "", 0, 0, {0, 0, 10, 10}, nullptr, 1);
    ASSERT_NE(lonely, nullptr);
    EXPECT_EQ(platform::sendMessage(lonely, Message::Command, 0, 0), 0);
    platform::destroyWindow(lonely);
}

// ---- FontMenu ----------------------------------------------------------------------

class MenuAgent : public desktop::Agent {
public:
    int answerAlert(const desktop::AlertRequest&) override { return 1; }
    desktop::PopupMenuAnswer answerPopupMenu(const desktop::PopupMenuRequest& menu) override {
        requests.push_back(menu);
        desktop::PopupMenuAnswer answer;
        answer.kind = choice < 0 ? desktop::PopupMenuAnswer::Kind::Dismiss : desktop::PopupMenuAnswer::Kind::Choose;
        answer.index = choice;
        return answer;
    }
    std::vector<desktop::PopupMenuRequest> requests;
    int choice = -1;
};

TEST_F(OwnClasses, FontMenuOpensItsItemsBelowItselfAndKeepsTheChoice) {
    ASSERT_TRUE(build(description(control("####"), "100 50 300 200")));
    const WindowRef menu = platform::createWindow(kFontMenuClass, "Helvetica", style::kChild | style::kVisible, 0,
                                                  {20, 30, 120, 20}, root(), 7);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(controlKind(menu), 0U);
    const std::vector<std::string> items{"Arial", "Helvetica", "Times"};
    EXPECT_EQ(platform::sendMessage(menu, kFontMenuSetItems, 0, reinterpret_cast<std::intptr_t>(&items)), 3);
    const auto* kept =
        reinterpret_cast<const std::vector<std::string>*>(platform::sendMessage(menu, kFontMenuGetItems));
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(*kept, items);
    EXPECT_NE(kept, &items);
    platform::sendMessage(menu, kFontMenuSetValue, 2);
    EXPECT_EQ(platform::sendMessage(menu, kFontMenuGetValue), 2);

    auto agent = std::make_shared<MenuAgent>();
    desktop::Desktop::instance().setAgent(agent);
    agent->choice = 2;
    platform::sendMessage(menu, Message::LeftButtonDown, 0, 0);
    ASSERT_EQ(agent->requests.size(), 1U);
    EXPECT_EQ(agent->requests[0].items, items);
    EXPECT_EQ(agent->requests[0].preselected, 1);
    EXPECT_EQ(agent->requests[0].owner, shell_);  // the dialog the control sits in
    // Just below the control: the shell's client origin plus the control's bottom-left.
    const platform::WindowRect shellRect = platform::windowRect(shell_);
    const platform::WindowRect client = platform::clientRect(shell_);
    // The frame of this shell's own styles (a tool window's caption is lower than a modal one's).
    const platform::WindowRect framed = platform::outerRectForClient(
        {0, 0, client.width, client.height}, platform::windowStyle(shell_), platform::windowExStyle(shell_));
    const int border = (framed.width - client.width) / 2;
    EXPECT_EQ(agent->requests[0].x, shellRect.left + border + 20);
    EXPECT_EQ(agent->requests[0].y, shellRect.top + (framed.height - client.height - border) + 30 + 20);
    EXPECT_EQ(platform::sendMessage(menu, kFontMenuGetValue), 3);
    EXPECT_EQ(platform::controlValue(menu), 3);

    // Dismissed: no change. Disabled: no menu at all.
    agent->choice = -1;
    platform::sendMessage(menu, Message::LeftButtonDown, 0, 0);
    EXPECT_EQ(agent->requests.size(), 2U);
    EXPECT_EQ(platform::sendMessage(menu, kFontMenuGetValue), 3);
    platform::enableWindow(menu, false);
    agent->choice = 0;
    platform::sendMessage(menu, Message::LeftButtonDown, 0, 0);
    EXPECT_EQ(agent->requests.size(), 2U);
    EXPECT_EQ(platform::sendMessage(menu, kFontMenuGetValue), 3);

    EXPECT_EQ(platform::sendMessage(menu, kFontMenuGetOwner), 0);
    platform::sendMessage(menu, kFontMenuSetOwner, 0, asParam(root()));
    EXPECT_EQ(platform::sendMessage(menu, kFontMenuGetOwner), asParam(root()));
    EXPECT_EQ(platform::sendMessage(menu, kFontMenuSetItems, 0, 0), 0);
    platform::destroyWindow(menu);
}

// ---- Key handler --------------------------------------------------------------------

class KeyHandler : public OwnClasses {
protected:
    void SetUp() override {
        OwnClasses::SetUp();
        ASSERT_TRUE(build(description(control("push", "<id>1</id><text>OK</text>") + control("etxt", "<id>3</id>") +
                                      control("etxt", "<id>4</id><multi>1</multi><rect>0 0 100 60</rect>") +
                                      control("grpb", "<id>5</id>") + control("cbox", "<id>6</id>") + control("####") +
                                      control("lbox", "<id>7</id>") + control("####"))));
        dialogMessages().clear();
    }
    void key(int id, platform::Key k) {
        platform::sendMessage(platform::findChild(shell_, id), Message::KeyDown, static_cast<std::uintptr_t>(k));
    }
};

TEST_F(KeyHandler, AsksForAllKeys) {
    for (int id : {1, 3, 4, 5, 6, 7})
        EXPECT_EQ(platform::sendMessage(platform::findChild(shell_, id), Message::GetDialogCode),
                  platform::kWantAllKeys);
}

TEST_F(KeyHandler, TabMovesForwardAndShiftTabBack) {
    key(3, platform::Key::Tab);
    desktop::Desktop::instance().setKeyHeld(platform::kKeyCodeShift, true);
    key(1, platform::Key::Tab);
    desktop::Desktop::instance().releaseAllKeys();
    desktop::Desktop::instance().setKeyHeld(platform::kKeyCodeRightShift, true);
    key(7, platform::Key::Tab);
    desktop::Desktop::instance().releaseAllKeys();
    key(4, platform::Key::Tab);  // also in a multi-line field
    ASSERT_EQ(messageKinds(), std::vector<Message>(4, Message::NextDialogControl));
    EXPECT_EQ(dialogMessages()[0].wParam, 0U);
    EXPECT_EQ(dialogMessages()[1].wParam, 1U);
    EXPECT_EQ(dialogMessages()[2].wParam, 1U);
    EXPECT_EQ(dialogMessages()[3].wParam, 0U);
}

// The dialog manager's rules: Return is the default button's command (IDOK
// here) except in a multi-line field, Escape is IDCANCEL, never Close; each
// names the control of that id, or none.
TEST_F(KeyHandler, ReturnIsOkExceptInAMultiLineFieldAndEscapeIsCancel) {
    key(3, platform::Key::Return);
    key(6, platform::Key::Return);
    key(4, platform::Key::Return);
    key(4, platform::Key::Escape);
    key(1, platform::Key::Escape);
    const struct {
        int id;
    } expected[] = {{kItemOK}, {kItemOK}, {kItemCancel}, {kItemCancel}};
    ASSERT_EQ(dialogMessages().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const test::ReceivedMessage& m = dialogMessages()[i];
        EXPECT_EQ(m.message, Message::Command) << i;
        EXPECT_EQ(platform::commandId(m.wParam), expected[i].id) << i;
        EXPECT_EQ(platform::commandNotification(m.wParam), platform::Notification::Clicked) << i;
        EXPECT_EQ(m.lParam, asParam(platform::findChild(shell_, expected[i].id))) << i;
    }
}

TEST_F(KeyHandler, CommandsFromOwnChildrenGoToTheDialog) {
    const WindowRef group = platform::findChild(shell_, 5);
    const WindowRef box = platform::findChild(shell_, 6);
    platform::sendMessage(group, Message::Command, platform::commandParam(6, platform::Notification::Clicked),
                          asParam(box));
    // Not from a child of the group: the group's own procedure has it.
    platform::sendMessage(group, Message::Command, platform::commandParam(1, platform::Notification::Clicked),
                          asParam(platform::findChild(shell_, 1)));
    ASSERT_EQ(messageKinds(), std::vector<Message>{Message::Command});
    EXPECT_EQ(dialogMessages()[0].lParam, asParam(box));
}

std::vector<Message>& probeMessages() {
    static std::vector<Message> messages;
    return messages;
}

std::intptr_t LUMBREL_CALLBACK probeProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    probeMessages().push_back(message);
    return message == Message::User ? 42 : platform::defWindowProc(window, message, wParam, lParam);
}

TEST_F(KeyHandler, EverythingElseGoesToTheKeptProcedure) {
    ASSERT_TRUE(platform::registerWindowClass("KeyHandlerProbe", probeProc));
    const WindowRef probe = platform::createWindow("KeyHandlerProbe", "", style::kChild, 0, {}, root(), 50);
    ASSERT_NE(probe, nullptr);
    installKeyHandler(probe);
    installKeyHandler(probe);  // a second time keeps the first kept procedure
    EXPECT_EQ(platform::windowProc(probe), keyHandlerProc);
    EXPECT_EQ(platform::property(probe, kPropKeptProc), reinterpret_cast<std::intptr_t>(probeProc));
    probeMessages().clear();
    EXPECT_EQ(platform::sendMessage(probe, Message::User), 42);
    platform::sendMessage(probe, Message::KeyDown, static_cast<std::uintptr_t>(platform::Key::Space));
    platform::sendMessage(probe, Message::Char, 'x');
    platform::sendMessage(probe, Message::Char, '\t');
    platform::sendMessage(probe, Message::KeyDown, static_cast<std::uintptr_t>(platform::Key::Tab));
    platform::sendMessage(probe, Message::Command, 0, 0);
    EXPECT_EQ(probeMessages(),
              (std::vector<Message>{Message::User, Message::KeyDown, Message::Char, Message::Command}));
    platform::destroyWindow(probe);
}

// The keys as a user presses them in a running modal dialog.
class KeyAgent : public desktop::Agent {
public:
    int answerAlert(const desktop::AlertRequest&) override { return 1; }
    desktop::DialogAction nextDialogAction(const desktop::DialogRequest&) override {
        if (keys.empty()) return desktop::DialogAction::closeBox();
        const desktop::DialogKey key = keys.front();
        keys.erase(keys.begin());
        return desktop::DialogAction::press(key);
    }
    std::vector<desktop::DialogKey> keys;
};

std::vector<Message>& modalMessages() {
    static std::vector<Message> messages;
    return messages;
}

std::string& modalTyped() {
    static std::string text;
    return text;
}

std::intptr_t LUMBREL_CALLBACK modalProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
        case Message::InitDialog:
            if (!buildDialog(window, "Keys")) platform::endDialog(window, -5);
            platform::setFocus(platform::findChild(window, 4));
            return 0;  // the focus is set
        case Message::Command:
            if (platform::commandNotification(wParam) == platform::Notification::EditChange) {
                // Typing in a field: the multi-line one takes the line break.
                if (platform::commandId(wParam) == 4)
                    modalTyped() = platform::windowText(platform::findChild(window, 4));
                return 0;
            }
            modalMessages().push_back(message);
            if (platform::commandId(wParam) == kItemOK || platform::commandId(wParam) == kItemCancel)
                platform::endDialog(window, platform::commandId(wParam));
            return 0;
        case Message::Close:
            modalMessages().push_back(message);
            platform::endDialog(window, kItemCancel);
            return 0;
        case Message::NextDialogControl:
            modalMessages().push_back(message);
            break;
        default:
            break;
    }
    return platform::defWindowProc(window, message, wParam, lParam);
}

TEST_F(KeyHandler, KeysInARunningDialogMoveTheFocusAndEndIt) {
    addDescription(
        "Keys", description(control("push", "<id>1</id><text>OK</text>") +
                            control("etxt", "<id>3</id><rect>0 40 100 13</rect>") +
                            control("etxt", "<id>4</id><multi>1</multi><rect>0 60 100 60</rect>") + control("####")));
    auto agent = std::make_shared<KeyAgent>();
    desktop::Desktop::instance().setAgent(agent);
    modalMessages().clear();
    modalTyped().clear();
    // Return in the multi-line field is typed there; Shift-Tab goes back to
    // the single-line field, where Return is OK.
    agent->keys = {desktop::DialogKey::Return, desktop::DialogKey::ShiftTab, desktop::DialogKey::Return};
    EXPECT_EQ(platform::runModalDialog(modalProc, 0), kItemOK);
    EXPECT_EQ(modalMessages(), (std::vector<Message>{Message::NextDialogControl, Message::Command}));
    EXPECT_TRUE(agent->keys.empty());
    EXPECT_NE(modalTyped().find_first_of("\r\n"), std::string::npos);

    modalMessages().clear();
    agent->keys = {desktop::DialogKey::Escape};
    EXPECT_EQ(platform::runModalDialog(modalProc, 0), kItemCancel);
    EXPECT_EQ(modalMessages(), std::vector<Message>{Message::Command});
}

// ---- Kinds and the walk ---------------------------------------------------------------

TEST_F(OwnClasses, KindsFollowClassAndStyle) {
    struct Case {
        const char* className;
        std::uint32_t style;
        std::uint32_t kind;
    };
    const Case cases[] = {
        {"Button", style::kPushButton, kKindPush},
        {"Button", style::kDefPushButton, kKindPush},
        {"Button", style::kAutoCheckBox, kKindCheck},
        {"Button", 0x2, kKindCheck},
        {"Button", style::kAutoRadioButton, kKindCheck},
        {"Button", 0x4, kKindCheck},
        {"Button", style::kGroupBox, kKindCheck},
        {"Button", style::kDefPushButton | style::kTabStop | style::kGroup, kKindPush},
        {"Static", style::kStaticCenter, kKindStatic},
        {"Edit", style::kEditMultiLine, kKindEditWindow},
        {"ComboBox", style::kComboDropDownList, kKindPopup},
        {"ComboBox", style::kComboDropDown, kKindCombo},
        {"ListBox", 0, kKindListBox},
        {"SysTabControl32", 0, kKindTabs},
        {"msctls_progress32", 0, kKindProgress},
        {"Separator", 0, kKindSeparator},
        {"RadioGroup", 0, kKindRadioGroupWindow},
        {"UserPane", 0, kKindUserPane},
        {"FontMenu", 0, 0},
    };
    for (const Case& c : cases) {
        const WindowRef w = platform::createWindow(c.className, "", style::kChild | c.style, 0, {}, root(), 1);
        ASSERT_NE(w, nullptr) << c.className;
        EXPECT_EQ(controlKind(w), c.kind) << c.className << " " << c.style;
        platform::destroyWindow(w);
    }
    const WindowRef pane = platform::createWindow(kUserPaneClass, "", style::kChild, 0, {}, root(), 1);
    platform::setProperty(pane, kPropPaneKind, static_cast<std::intptr_t>(kKindBrowser));
    EXPECT_EQ(controlKind(pane), kKindBrowser);
    platform::destroyWindow(pane);
    EXPECT_EQ(controlKind(pane), 0U);
    EXPECT_EQ(controlKind(shell_), 0U);
    EXPECT_EQ(controlKind(nullptr), 0U);
}

struct Visit {
    std::vector<int> ids;
    std::vector<std::uint32_t> kinds;
    int stopAt = -1000;  // no window has it
};

bool recordVisit(WindowRef window, std::uint32_t kind, std::intptr_t value) {
    auto* visit = reinterpret_cast<Visit*>(value);
    visit->ids.push_back(platform::controlId(window));
    visit->kinds.push_back(kind);
    return platform::controlId(window) != visit->stopAt;
}

TEST_F(OwnClasses, WalkIsDepthFirstInCreationOrderAndStopsOnFalse) {
    ASSERT_TRUE(build(description(control("stxt", "<id>1</id>") + control("grpb", "<id>2</id>") +
                                  control("upan", "<id>3</id>") + control("etxt", "<id>4</id>") + control("####") +
                                  control("cbox", "<id>5</id>") + control("####") + control("push", "<id>6</id>") +
                                  control("####"))));
    Visit all;
    EXPECT_TRUE(walkDialog(shell_, recordVisit, reinterpret_cast<std::intptr_t>(&all)));
    const int shellId = platform::controlId(shell_);
    EXPECT_EQ(all.ids, (std::vector<int>{shellId, -1, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(all.kinds, (std::vector<std::uint32_t>{0, kKindUserPane, kKindStatic, kKindCheck, kKindUserPane,
                                                     kKindEditWindow, kKindCheck, kKindPush}));

    Visit part;
    part.stopAt = 4;
    EXPECT_FALSE(walkDialog(shell_, recordVisit, reinterpret_cast<std::intptr_t>(&part)));
    EXPECT_EQ(part.ids, (std::vector<int>{shellId, -1, 1, 2, 3, 4}));

    Visit sub;
    EXPECT_TRUE(walkDialog(platform::findChild(shell_, 2), recordVisit, reinterpret_cast<std::intptr_t>(&sub)));
    EXPECT_EQ(sub.ids, (std::vector<int>{2, 3, 4, 5}));
    EXPECT_TRUE(walkDialog(nullptr, recordVisit, 0));
}

}  // namespace
}  // namespace lumbrel

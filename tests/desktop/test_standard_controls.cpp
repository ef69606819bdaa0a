#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "desktop_fixture.h"
#include "support/message_sequence.h"
#include "platform/window_system.h"

namespace lumbrel::test {
namespace {

namespace pw = platform;
namespace st = platform::style;
using pw::Message;
using pw::Notification;
using pw::WindowRef;

std::vector<std::string>& events() {
    static std::vector<std::string> log;
    return log;
}

// A parent that logs the notifications of its children.
std::intptr_t LUMBREL_CALLBACK parentProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == Message::Command) {
        const auto control = reinterpret_cast<WindowRef>(lParam);
        events().push_back("command " + std::to_string(pw::commandId(wParam)) + '/' +
                           std::to_string(static_cast<int>(pw::commandNotification(wParam))) +
                           (control != nullptr && pw::controlId(control) == pw::commandId(wParam) ? "" : " bad control"));
    } else if (message == Message::Notify) {
        const auto* info = reinterpret_cast<const pw::NotifyInfo*>(lParam);
        events().push_back("notify " + std::to_string(info->id) + '/' + std::to_string(static_cast<std::int32_t>(info->code)) + " value " +
                           std::to_string(pw::controlValue(info->from)));
    }
    return pw::defWindowProc(window, message, wParam, lParam);
}

class StandardControlTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        events().clear();
        ASSERT_TRUE(pw::registerWindowClass("LogParent", parentProc));
        parent = pw::createWindow("LogParent", "parent", st::kVisible, 0, {0, 0, 400, 300}, nullptr, 0);
        ASSERT_NE(parent, nullptr);
    }

    WindowRef make(const char* cls, std::uint32_t style, int id, const char* text = "") {
        return pw::createWindow(cls, text, st::kChild | st::kVisible | style, 0, {0, 0, 100, 60}, parent, id);
    }

    static void click(WindowRef control) { pw::sendMessage(control, Message::LeftButtonDown, 0, (5 << 16) | 5); }

    WindowRef parent = nullptr;
};

// Setting a text as the program does: only a single-line edit field reports
// it (EN_CHANGE on WM_SETTEXT), once, naming itself; nothing else notifies.
TEST_F(StandardControlTest, SetWindowTextReportsAChangeOnlyFromSingleLineEditFields) {
    const struct {
        const char* what;
        const char* cls;
        std::uint32_t style;
        bool reports;
    } cases[] = {
        {"single-line edit", pw::kEditClass, st::kEditAutoHScroll, true},
        {"password edit", pw::kEditClass, st::kEditPassword, true},
        {"multi-line edit", pw::kEditClass, st::kEditMultiLine | st::kEditWantReturn, false},
        {"static", pw::kStaticClass, 0, false},
        {"push button", pw::kButtonClass, st::kPushButton, false},
        {"editable combo box", pw::kComboBoxClass, st::kComboDropDown, false},
    };
    int id = 20;
    for (const auto& c : cases) {
        const WindowRef control = make(c.cls, c.style, ++id);
        MessageLog log({Message::Command});
        log.watch(parent, "parent");
        pw::setWindowText(control, "new text");
        std::vector<Expected> expected;
        if (c.reports) {
            expected.push_back({"parent", Message::Command, kWParam | kLParam,
                                pw::commandParam(id, Notification::EditChange),
                                reinterpret_cast<std::intptr_t>(control)});
        }
        expectSequence(log, expected, c.what);
        EXPECT_EQ(pw::windowText(control), "new text") << c.what;
    }
}

TEST_F(StandardControlTest, AutoRadioButtonsCheckOnlyWithinTheirGroup) {
    const WindowRef a = make(pw::kButtonClass, st::kAutoRadioButton | st::kGroup, 1);
    const WindowRef b = make(pw::kButtonClass, st::kAutoRadioButton, 2);
    const WindowRef box = make(pw::kButtonClass, st::kAutoCheckBox, 3);  // inside the group, not a radio
    const WindowRef c = make(pw::kButtonClass, st::kAutoRadioButton, 4);
    const WindowRef d = make(pw::kButtonClass, st::kAutoRadioButton | st::kGroup, 5);  // the next group
    pw::setControlValue(box, 1);
    pw::setControlValue(d, 1);

    click(b);
    EXPECT_EQ(pw::controlValue(b), 1);
    click(a);
    EXPECT_EQ(pw::controlValue(a), 1);
    EXPECT_EQ(pw::controlValue(b), 0);
    click(c);
    EXPECT_EQ(pw::controlValue(a), 0);
    EXPECT_EQ(pw::controlValue(c), 1);
    EXPECT_EQ(pw::controlValue(box), 1);  // check boxes are no part of it
    EXPECT_EQ(pw::controlValue(d), 1);    // the other group keeps its choice
    click(d);
    EXPECT_EQ(pw::controlValue(c), 1);
    EXPECT_EQ(events(), (std::vector<std::string>{"command 2/0", "command 1/0", "command 4/0", "command 5/0"}));

    // A check box toggles; a group box does nothing; setting values notifies nobody.
    events().clear();
    click(box);
    click(box);
    EXPECT_EQ(pw::controlValue(box), 1);
    const WindowRef group = make(pw::kButtonClass, st::kGroupBox, 6);
    click(group);
    pw::setControlValue(a, 1);
    EXPECT_EQ(events(), (std::vector<std::string>{"command 3/0", "command 3/0"}));
    // A disabled button takes no click.
    pw::enableWindow(box, false);
    click(box);
    EXPECT_EQ(pw::controlValue(box), 1);
}

TEST_F(StandardControlTest, EditFieldsTypeAtTheSelectionInUtf8AndReportEveryChange) {
    const WindowRef edit = make(pw::kEditClass, st::kEditAutoHScroll, 7, "abc");
    pw::setEditSelection(edit, 1, 2);
    pw::sendMessage(edit, Message::Char, U'\u00E9');  // replaces "b"
    EXPECT_EQ(pw::windowText(edit), "a\xC3\xA9" "c");
    int start = 0;
    int end = 0;
    pw::editSelection(edit, start, end);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 3);
    pw::sendMessage(edit, Message::Char, U'\U0001F600');
    pw::sendMessage(edit, Message::Char, 0x08);  // the whole four-byte character goes
    pw::sendMessage(edit, Message::Char, 0x08);  // and the two-byte one
    EXPECT_EQ(pw::windowText(edit), "ac");
    pw::sendMessage(edit, Message::Char, U'\r');  // single line: no break
    pw::sendMessage(edit, Message::Char, 0x01);   // control characters are not typed
    EXPECT_EQ(pw::windowText(edit), "ac");
    EXPECT_EQ(events(), std::vector<std::string>(4, "command 7/768"));

    const WindowRef multi = make(pw::kEditClass, st::kEditMultiLine | st::kEditWantReturn, 8, "x");
    pw::setEditSelection(multi, -1, -1);
    pw::sendMessage(multi, Message::Char, U'\r');
    pw::sendMessage(multi, Message::Char, U'y');
    EXPECT_EQ(pw::windowText(multi), "x\r\ny");
    pw::setEditSelection(multi, 3, -1);
    pw::sendMessage(multi, Message::Char, 0x08);
    pw::sendMessage(multi, Message::Char, 0x08);  // the line break goes as one
    EXPECT_EQ(pw::windowText(multi), "x");
    const WindowRef noReturn = make(pw::kEditClass, st::kEditMultiLine, 9, "x");
    pw::sendMessage(noReturn, Message::Char, U'\r');
    EXPECT_EQ(pw::windowText(noReturn), "x");

    // Selections are clamped to the text and to whole characters.
    pw::setWindowText(edit, "\xC3\xA9t\xC3\xA9");
    pw::setEditSelection(edit, 1, 100);
    pw::editSelection(edit, start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 5);
}

TEST_F(StandardControlTest, ListsPopUpsAndTabsNotifyWhenTheUserChooses) {
    const WindowRef quiet = make(pw::kListBoxClass, 0, 10);
    const WindowRef list = make(pw::kListBoxClass, st::kListNotify, 11);
    const WindowRef popup = make(pw::kComboBoxClass, st::kComboDropDownList, 12);
    const WindowRef tabs = make(pw::kTabControlClass, st::kTabButtons, 13);
    for (const WindowRef control : {quiet, list, popup, tabs}) {
        EXPECT_EQ(pw::controlValue(control), -1);
        EXPECT_EQ(pw::addItem(control, "one"), 0);
        EXPECT_EQ(pw::addItem(control, "two"), 1);
        EXPECT_EQ(pw::addItem(control, "three"), 2);
    }
    click(quiet);  // row 0
    EXPECT_EQ(pw::controlValue(quiet), 0);
    pw::sendMessage(list, Message::LeftButtonDown, 0, (20 << 16) | 5);  // the second row
    EXPECT_EQ(pw::controlValue(list), 1);
    EXPECT_TRUE(pw::isItemSelected(list, 1));
    EXPECT_FALSE(pw::isItemSelected(list, 0));
    pw::setFocus(popup);
    pw::sendMessage(popup, Message::KeyDown, static_cast<std::uintptr_t>(pw::Key::Down));
    pw::sendMessage(popup, Message::KeyDown, static_cast<std::uintptr_t>(pw::Key::Down));
    EXPECT_EQ(pw::controlValue(popup), 1);
    EXPECT_EQ(pw::windowText(popup), "two");
    pw::sendMessage(tabs, Message::LeftButtonDown, 0, (5 << 16) | 40);  // "one" is 37 wide: the second tab
    EXPECT_EQ(pw::controlValue(tabs), 1);
    EXPECT_EQ(events(), (std::vector<std::string>{"command 11/1", "command 12/1", "command 12/8", "command 12/1",
                                                  "command 12/8", "notify 13/-551 value 1"}));

    // Deleting items keeps the current one pointing at the same item.
    pw::setControlValue(list, 2);
    pw::deleteItem(list, 0);
    EXPECT_EQ(pw::controlValue(list), 1);
    EXPECT_EQ(pw::itemText(list, 1), "three");
    pw::deleteItem(list, 1);
    EXPECT_EQ(pw::controlValue(list), -1);
    pw::setItemData(list, 0, 77);
    EXPECT_EQ(pw::itemData(list, 0), 77);
    EXPECT_EQ(pw::itemData(list, 5), 0);
    EXPECT_EQ(pw::itemText(list, -1), "");
    pw::setControlValue(popup, 9);  // past the end: nothing selected
    EXPECT_EQ(pw::controlValue(popup), -1);
    pw::clearItems(popup);
    EXPECT_EQ(pw::itemCount(popup), 0);
    EXPECT_EQ(pw::addItem(make(pw::kStaticClass, 0, 14), "x"), -1);  // no items on a static text
}

TEST_F(StandardControlTest, ProgressBarsKeepTheirPositionInsideTheRange) {
    const WindowRef bar = make(pw::kProgressClass, 0, 15);
    EXPECT_EQ(pw::controlMinimum(bar), 0);
    EXPECT_EQ(pw::controlMaximum(bar), 100);
    pw::setControlRange(bar, 0, 3);
    pw::setControlValue(bar, 7);
    EXPECT_EQ(pw::controlValue(bar), 3);
    pw::setControlValue(bar, -2);
    EXPECT_EQ(pw::controlValue(bar), 0);
}

std::vector<std::string>& chain() {
    static std::vector<std::string> log;
    return log;
}
pw::WindowProc firstKept = nullptr;
pw::WindowProc secondKept = nullptr;

std::intptr_t LUMBREL_CALLBACK firstSubclass(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == Message::User) chain().push_back("first");
    return pw::callWindowProc(firstKept, window, message, wParam, lParam);
}

std::intptr_t LUMBREL_CALLBACK secondSubclass(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == Message::User) {
        chain().push_back("second");
        return 40 + pw::callWindowProc(secondKept, window, message, wParam, lParam);
    }
    if (message == Message::LeftButtonDown) chain().push_back("click seen");
    return pw::callWindowProc(secondKept, window, message, wParam, lParam);
}

TEST_F(StandardControlTest, SubclassesChainToTheProceduresTheyReplaced) {
    chain().clear();
    const WindowRef box = make(pw::kButtonClass, st::kAutoCheckBox, 16);
    firstKept = pw::setWindowProc(box, firstSubclass);
    ASSERT_NE(firstKept, nullptr);
    secondKept = pw::setWindowProc(box, secondSubclass);
    EXPECT_EQ(secondKept, firstSubclass);
    EXPECT_EQ(pw::windowProc(box), secondSubclass);
    EXPECT_EQ(pw::sendMessage(box, Message::User, 2), 40);
    EXPECT_EQ(chain(), (std::vector<std::string>{"second", "first"}));
    // The class behaviour is still at the end of the chain.
    click(box);
    EXPECT_EQ(pw::controlValue(box), 1);
    EXPECT_EQ(chain().back(), "click seen");
    EXPECT_EQ(events(), (std::vector<std::string>{"command 16/0"}));
    EXPECT_EQ(pw::setWindowProc(box, nullptr), nullptr);
    EXPECT_EQ(pw::windowProc(box), secondSubclass);
}

std::vector<std::string>& focusLog() {
    static std::vector<std::string> log;
    return log;
}

std::intptr_t LUMBREL_CALLBACK focusProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    const auto other = reinterpret_cast<WindowRef>(wParam);
    if (message == Message::SetFocus) focusLog().push_back(pw::windowText(window) + " gets from " + pw::windowText(other));
    if (message == Message::KillFocus) focusLog().push_back(pw::windowText(window) + " loses to " + pw::windowText(other));
    return pw::defWindowProc(window, message, wParam, lParam);
}

TEST_F(StandardControlTest, FocusMovesWithKillAndSetFocus) {
    focusLog().clear();
    ASSERT_TRUE(pw::registerWindowClass("Focus", focusProc));
    const WindowRef a = pw::createWindow("Focus", "a", st::kChild, 0, {}, parent, 1);
    const WindowRef b = pw::createWindow("Focus", "b", st::kChild, 0, {}, parent, 2);
    EXPECT_EQ(pw::setFocus(a), nullptr);
    EXPECT_EQ(pw::setFocus(b), a);
    EXPECT_EQ(pw::setFocus(b), b);  // no messages when nothing changes
    EXPECT_EQ(pw::setFocus(nullptr), b);
    EXPECT_EQ(pw::focusedWindow(), nullptr);
    EXPECT_EQ(focusLog(), (std::vector<std::string>{"a gets from ", "a loses to b", "b gets from a", "b loses to "}));
}

TEST_F(StandardControlTest, PropertiesHoldValuesAndOwnedTexts) {
    const WindowRef w = make(pw::kStaticClass, 0, 17);
    EXPECT_FALSE(pw::hasProperty(w, "HAVVccmd"));
    EXPECT_EQ(pw::property(w, "HAVVccmd"), 0);
    pw::setProperty(w, "HAVVccmd", 0x6F6B2020);
    pw::setProperty(w, "HAVVempt", 0);
    EXPECT_TRUE(pw::hasProperty(w, "HAVVempt"));  // a zero value is still there
    EXPECT_EQ(pw::property(w, "HAVVccmd"), 0x6F6B2020);
    std::string source = "Labels";
    pw::setTextProperty(w, "HAVSpref", source);
    source = "changed";
    const std::string* text = pw::textProperty(w, "HAVSpref");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(*text, "Labels");  // a copy
    EXPECT_EQ(pw::textProperty(w, "HAVVccmd"), nullptr);  // a value is no text
    pw::setProperty(w, "HAVSpref", 5);                     // the kind may change
    EXPECT_EQ(pw::textProperty(w, "HAVSpref"), nullptr);
    EXPECT_EQ(pw::property(w, "HAVSpref"), 5);
    pw::removeProperty(w, "HAVSpref");
    EXPECT_FALSE(pw::hasProperty(w, "HAVSpref"));
}

TEST_F(StandardControlTest, ClientAreasAndDialogFrames) {
    const pw::WindowRect outer = pw::outerRectForClient({100, 50, 400, 200});
    EXPECT_GT(outer.width, 400);
    EXPECT_GT(outer.height, 200 + (outer.width - 400));  // a title bar on top of the frame
    const pw::WindowRect screen = pw::screenRect();
    EXPECT_GE(screen.width, 1024);
    const WindowRef edge = pw::createWindow(pw::kListBoxClass, "", st::kChild, st::kExClientEdge, {0, 0, 50, 40}, parent, 1);
    const pw::WindowRect client = pw::clientRect(edge);
    EXPECT_LT(client.width, 50);
    EXPECT_EQ(pw::clientRect(parent).width, 400);  // no frame on an uncaptioned window
    pw::setWindowRect(edge, {1, 2, -5, 9});
    EXPECT_EQ(pw::windowRect(edge).width, 0);
}

}  // namespace
}  // namespace lumbrel::test

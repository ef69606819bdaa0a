// The window system over user32 on real controls: texts and selections,
// characters, properties, procedures, destroy order, notifications, items,
// timers and owner-drawn rows.
#include <cstddef>
#include <string>
#include <vector>

#include "platform/win32/common_controls.h"
#include "support/message_sequence.h"
#include "ui/ui_types.h"
#include "ui_win32/win32_fixture.h"

namespace lumbrel::test {
namespace {

namespace pw = platform;
using pw::Message;
using pw::Notification;
using pw::WindowRef;

static_assert(offsetof(pw::NotifyInfo, from) == offsetof(NMHDR, hwndFrom));
static_assert(offsetof(pw::NotifyInfo, id) == offsetof(NMHDR, idFrom));
static_assert(offsetof(pw::NotifyInfo, code) == offsetof(NMHDR, code));
static_assert(sizeof(pw::NotifyInfo) == sizeof(NMHDR));

using WindowBasicsTest = Win32Test;

// "Ä" is two UTF-8 bytes and one UTF-16 unit; "𝄞" four bytes and two units.
TEST_F(WindowBasicsTest, EditSelectionsCountUtf8BytesWhateverTheUtf16UnitsAre) {
    struct Row {
        const char* text;
        int start, end;             // as set, in bytes
        int wantStart, wantEnd;     // as read back
        const wchar_t* selected;    // what user32 has selected
    };
    const Row rows[] = {
        {"abc", 1, 2, 1, 2, L"b"},
        {"\xC3\x84x", 2, 3, 2, 3, L"x"},                       // after "Ä"
        {"\xC3\x84x", 0, 2, 0, 2, L"\u00C4"},                  // "Ä" itself
        {"a\xF0\x9D\x84\x9E" "b", 1, 5, 1, 5, L"\U0001D11E"},  // the clef, both units
        {"a\xF0\x9D\x84\x9E" "b", 5, -1, 5, 6, L"b"},          // -1: to the end
        {"\xC3\x84\xC3\x84", 0, 3, 0, 2, L"\u00C4"},           // inside a character: before it
    };
    const WindowRef frame = topLevel();
    const WindowRef edit = child(frame, pw::kEditClass, "", pw::style::kEditAutoHScroll, 5);
    ASSERT_NE(edit, nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        pw::setWindowText(edit, row.text);
        EXPECT_EQ(pw::windowText(edit), row.text);
        pw::setEditSelection(edit, row.start, row.end);
        int start = -7;
        int end = -7;
        pw::editSelection(edit, start, end);
        EXPECT_EQ(start, row.wantStart);
        EXPECT_EQ(end, row.wantEnd);
        DWORD from = 0;
        DWORD to = 0;
        ::SendMessageW(reinterpret_cast<HWND>(edit), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                       reinterpret_cast<LPARAM>(&to));
        wchar_t text[64] = {};
        ::GetWindowTextW(reinterpret_cast<HWND>(edit), text, 64);
        EXPECT_EQ(std::wstring(text + from, text + to), row.selected);
    }
}

std::vector<std::uintptr_t>& typed() {
    static std::vector<std::uintptr_t> codes;
    return codes;
}

std::intptr_t LUMBREL_CALLBACK recordCharacters(WindowRef window, Message message, std::uintptr_t wParam,
                                                std::intptr_t lParam);
pw::WindowProc gKeptEditProc = nullptr;

std::intptr_t LUMBREL_CALLBACK recordCharacters(WindowRef window, Message message, std::uintptr_t wParam,
                                                std::intptr_t lParam) {
    if (message == Message::Char) typed().push_back(wParam);
    return pw::callWindowProc(gKeptEditProc, window, message, wParam, lParam);
}

TEST_F(WindowBasicsTest, TypedCharactersArriveAsCodePointsAndReachTheEditWhole) {
    const WindowRef edit = child(topLevel(), pw::kEditClass, "", pw::style::kEditAutoHScroll, 5);
    ASSERT_NE(edit, nullptr);
    gKeptEditProc = pw::setWindowProc(edit, recordCharacters);
    ASSERT_NE(gKeptEditProc, nullptr);
    EXPECT_EQ(pw::windowProc(edit), recordCharacters);
    typed().clear();
    const HWND hwnd = reinterpret_cast<HWND>(edit);
    for (const WPARAM unit : {WPARAM{'a'}, WPARAM{0xC4}, WPARAM{0xD834}, WPARAM{0xDD1E}}) {
        ::SendMessageW(hwnd, WM_CHAR, unit, 1);
    }
    pw::sendMessage(edit, Message::Char, 0x1F600);  // the module sends a code point too
    EXPECT_EQ(typed(), (std::vector<std::uintptr_t>{'a', 0xC4, 0x1D11E, 0x1F600}));
    EXPECT_EQ(pw::windowText(edit), "a\xC3\x84\xF0\x9D\x84\x9E\xF0\x9F\x98\x80");
    // Putting the kept procedure back ends the subclass.
    EXPECT_EQ(pw::setWindowProc(edit, gKeptEditProc), recordCharacters);
    typed().clear();
    ::SendMessageW(hwnd, WM_CHAR, 'z', 1);
    EXPECT_TRUE(typed().empty());
    EXPECT_EQ(pw::windowText(edit).back(), 'z');
}

TEST_F(WindowBasicsTest, PropertiesTellAStoredZeroFromNoneAndGoWithTheWindow) {
    const WindowRef frame = topLevel();
    const WindowRef button = child(frame, pw::kButtonClass, "b", pw::style::kPushButton, 1);
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(pw::hasProperty(button, "HAVVzero"));
    pw::setProperty(button, "HAVVzero", 0);
    EXPECT_TRUE(pw::hasProperty(button, "HAVVzero"));
    EXPECT_EQ(pw::property(button, "HAVVzero"), 0);
    pw::setProperty(button, "HAVVbig", INTPTR_MAX);
    EXPECT_EQ(pw::property(button, "HAVVbig"), INTPTR_MAX);  // pointer-wide, not narrowed
    pw::setTextProperty(button, "HAVSpref", "Gr\xC3\xBC\xC3\x9F" "e");
    ASSERT_NE(pw::textProperty(button, "HAVSpref"), nullptr);
    EXPECT_EQ(*pw::textProperty(button, "HAVSpref"), "Gr\xC3\xBC\xC3\x9F" "e");
    EXPECT_EQ(pw::property(button, "HAVSpref"), 0);  // a text is no number
    pw::removeProperty(button, "HAVVzero");
    EXPECT_FALSE(pw::hasProperty(button, "HAVVzero"));
    pw::destroyWindow(frame);
    EXPECT_FALSE(pw::isWindow(button));
    EXPECT_FALSE(pw::hasProperty(button, "HAVVbig"));
    EXPECT_EQ(pw::textProperty(button, "HAVSpref"), nullptr);
}

TEST_F(WindowBasicsTest, DestroyGoesToTheParentFirstAndNcDestroyToItLast) {
    const WindowRef frame = topLevel();
    const WindowRef pane = child(frame, kUserPaneClass, "", 0, 3);
    const WindowRef inner = child(pane, pw::kButtonClass, "in", 0, 4);
    const WindowRef edit = child(frame, pw::kEditClass, "", 0, 5);
    MessageLog log({Message::Destroy, Message::NcDestroy});
    log.watch(frame, "frame");
    log.watch(pane, "pane");
    log.watch(inner, "inner");
    log.watch(edit, "edit");
    pw::destroyWindow(frame);
    expectSequence(log,
                   {{"frame", Message::Destroy},
                    {"pane", Message::Destroy},
                    {"inner", Message::Destroy},
                    {"edit", Message::Destroy},
                    {"inner", Message::NcDestroy},
                    {"pane", Message::NcDestroy},
                    {"edit", Message::NcDestroy},
                    {"frame", Message::NcDestroy}},
                   "destroying the frame");
}

std::vector<std::uintptr_t>& commands() {
    static std::vector<std::uintptr_t> seen;
    return seen;
}

std::intptr_t LUMBREL_CALLBACK commandRecorder(WindowRef window, Message message, std::uintptr_t wParam,
                                               std::intptr_t lParam) {
    if (message == Message::Command) commands().push_back(wParam);
    return pw::defWindowProc(window, message, wParam, lParam);
}

TEST_F(WindowBasicsTest, SettingTheTextOfASingleLineEditReportsEditChange) {
    ASSERT_TRUE(pw::registerWindowClass("Win32CommandRecorder", commandRecorder));
    struct Row {
        const char* what;
        const char* className;
        std::uint32_t style;
        std::size_t changes;
    };
    const Row rows[] = {
        {"single-line edit", pw::kEditClass, pw::style::kEditAutoHScroll, 1},
        {"multi-line edit", pw::kEditClass, pw::style::kEditMultiLine, 0},
        {"static text", pw::kStaticClass, 0, 0},
        {"push button", pw::kButtonClass, pw::style::kPushButton, 0},
    };
    const WindowRef frame = topLevel("Win32CommandRecorder");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const WindowRef control = child(frame, row.className, "", row.style, 9);
        ASSERT_NE(control, nullptr);
        commands().clear();
        pw::setWindowText(control, "new");
        std::size_t changes = 0;
        for (const std::uintptr_t w : commands()) {
            if (pw::commandNotification(w) == Notification::EditChange && pw::commandId(w) == 9) ++changes;
        }
        EXPECT_EQ(changes, row.changes);
        pw::destroyWindow(control);
    }
}

TEST_F(WindowBasicsTest, ItemsOfListsCombosAndTabsKeepTextDataAndSelection) {
    const WindowRef frame = topLevel();
    struct Row {
        const char* className;
        std::uint32_t style;
        bool hasData;
    };
    const Row rows[] = {
        {pw::kListBoxClass, pw::style::kListNotify | pw::style::kListHasStrings, true},
        {pw::kComboBoxClass, pw::style::kComboDropDownList, true},
        {pw::kTabControlClass, 0, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.className);
        const WindowRef list = child(frame, row.className, "", row.style, 7, {10, 10, 200, 80});
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(pw::addItem(list, "one"), 0);
        EXPECT_EQ(pw::addItem(list, "Zw\xC3\xB6lf"), 1);
        EXPECT_EQ(pw::addItem(list, "three"), 2);
        EXPECT_EQ(pw::itemCount(list), 3);
        EXPECT_EQ(pw::itemText(list, 1), "Zw\xC3\xB6lf");
        EXPECT_EQ(pw::itemText(list, 5), "");
        if (row.hasData) pw::setItemData(list, 1, INTPTR_MIN + 5);
        pw::setControlValue(list, 1);
        pw::setItemText(list, 1, "two");
        EXPECT_EQ(pw::itemText(list, 1), "two");
        EXPECT_EQ(pw::controlValue(list), 1);
        if (row.hasData) {
            EXPECT_EQ(pw::itemData(list, 1), INTPTR_MIN + 5);
        }
        pw::deleteItem(list, 0);
        EXPECT_EQ(pw::itemText(list, 0), "two");
        pw::clearItems(list);
        EXPECT_EQ(pw::itemCount(list), 0);
    }
}

TEST_F(WindowBasicsTest, ControlValuesByClass) {
    const WindowRef frame = topLevel();
    const WindowRef check = child(frame, pw::kButtonClass, "c", pw::style::kAutoCheckBox, 1);
    const WindowRef bar = child(frame, pw::kProgressClass, "", 0, 2);
    const WindowRef plain = child(frame, pw::kStaticClass, "", 0, 3);
    pw::setControlValue(check, 1);
    EXPECT_EQ(::SendMessageW(reinterpret_cast<HWND>(check), BM_GETCHECK, 0, 0), BST_CHECKED);
    ::SendMessageW(reinterpret_cast<HWND>(check), BM_CLICK, 0, 0);  // the user's click toggles it
    EXPECT_EQ(pw::controlValue(check), 0);
    pw::setControlRange(bar, 0, 3);
    EXPECT_EQ(pw::controlMaximum(bar), 3);
    EXPECT_EQ(pw::controlMinimum(bar), 0);
    pw::setControlValue(bar, 2);
    EXPECT_EQ(pw::controlValue(bar), 2);
    pw::setControlValue(plain, 42);
    EXPECT_EQ(pw::controlValue(plain), 42);
}

std::vector<pw::NotifyInfo>& notifications() {
    static std::vector<pw::NotifyInfo> seen;
    return seen;
}

std::intptr_t LUMBREL_CALLBACK notifyRecorder(WindowRef window, Message message, std::uintptr_t wParam,
                                              std::intptr_t lParam) {
    if (message == Message::Notify) notifications().push_back(*reinterpret_cast<const pw::NotifyInfo*>(lParam));
    return pw::defWindowProc(window, message, wParam, lParam);
}

TEST_F(WindowBasicsTest, ANativeTabControlsPageChangeIsReadAsNotifyInfo) {
    ASSERT_TRUE(pw::registerWindowClass("Win32NotifyRecorder", notifyRecorder));
    const WindowRef frame = topLevel("Win32NotifyRecorder");
    pw::showWindow(frame, true);
    const WindowRef tabs = child(frame, pw::kTabControlClass, "", 0, 12, {10, 10, 300, 100});
    pw::addItem(tabs, "First");
    pw::addItem(tabs, "Second");
    RECT second{};
    ::SendMessageW(reinterpret_cast<HWND>(tabs), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    notifications().clear();
    const LPARAM point = MAKELPARAM((second.left + second.right) / 2, (second.top + second.bottom) / 2);
    ::SendMessageW(reinterpret_cast<HWND>(tabs), WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(reinterpret_cast<HWND>(tabs), WM_LBUTTONUP, 0, point);
    bool changed = false;
    for (const pw::NotifyInfo& info : notifications()) {
        if (info.code != pw::kTabSelectionChanged) continue;
        changed = true;
        EXPECT_EQ(info.from, tabs);
        EXPECT_EQ(info.id, 12U);
    }
    EXPECT_TRUE(changed);
    EXPECT_EQ(pw::controlValue(tabs), 1);
}

struct TimerCounts {
    int ticks = 0;
};
TimerCounts gTimers;

std::intptr_t LUMBREL_CALLBACK timerCounter(WindowRef window, Message message, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
    if (message == Message::Timer && wParam == 7) ++gTimers.ticks;
    return pw::defWindowProc(window, message, wParam, lParam);
}

TEST_F(WindowBasicsTest, TimersTickUntilKilledAndNotForDeadWindows) {
    ASSERT_TRUE(pw::registerWindowClass("Win32TimerCounter", timerCounter));
    const WindowRef frame = topLevel("Win32TimerCounter");
    gTimers = {};
    ASSERT_TRUE(pw::setTimer(frame, 7, 5));
    EXPECT_TRUE(pumpUntil([] { return gTimers.ticks >= 3; }));
    pw::killTimer(frame, 7);
    const int stopped = gTimers.ticks;
    pumpFor(std::chrono::milliseconds(60));
    EXPECT_EQ(gTimers.ticks, stopped);
    pw::destroyWindow(frame);
    EXPECT_FALSE(pw::setTimer(frame, 7, 5));
}

struct DrawnRow {
    int item;
    int controlId;
    bool hasCanvas;
    bool wide;
};
std::vector<DrawnRow> gDrawn;

std::intptr_t LUMBREL_CALLBACK drawRecorder(WindowRef window, Message message, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
    if (message == Message::DrawItem) {
        const auto* item = reinterpret_cast<const pw::DrawItem*>(lParam);
        gDrawn.push_back({item->item, item->controlId, item->canvas != nullptr, item->rect.width > 100});
        pw::fillRect(item->canvas, item->rect, item->selected ? 0x000080 : 0xFFFFFF);
        pw::drawText(item->canvas, item->rect, pw::itemText(item->control, item->item), 0, 0x000000, nullptr);
        return 1;
    }
    return pw::defWindowProc(window, message, wParam, lParam);
}

TEST_F(WindowBasicsTest, OwnerDrawnListRowsReachTheParentAsDrawItemWithACanvas) {
    ASSERT_TRUE(pw::registerWindowClass("Win32DrawRecorder", drawRecorder));
    const WindowRef frame = topLevel("Win32DrawRecorder");
    pw::showWindow(frame, true);
    const WindowRef list =
        child(frame, pw::kListBoxClass, "", pw::style::kListOwnerDrawFixed | pw::style::kListHasStrings, 21,
              {10, 10, 250, 120});
    for (const char* text : {"alpha", "beta", "gamma"}) pw::addItem(list, text);
    gDrawn.clear();
    ::RedrawWindow(reinterpret_cast<HWND>(list), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    std::vector<int> items;
    for (const DrawnRow& row : gDrawn) {
        items.push_back(row.item);
        EXPECT_EQ(row.controlId, 21);
        EXPECT_TRUE(row.hasCanvas);
        EXPECT_TRUE(row.wide);
    }
    EXPECT_EQ(items, (std::vector<int>{0, 1, 2}));
}

TEST_F(WindowBasicsTest, GeometryFollowsTheFrameOfEachStyle) {
    const pw::WindowRect client{0, 0, 300, 200};
    const pw::WindowRect modal = pw::outerRectForClient(client);
    const pw::WindowRect tool =
        pw::outerRectForClient(client, pw::style::kDialogShell, pw::style::kExToolWindow);
    EXPECT_GT(modal.height, client.height);
    EXPECT_GT(modal.width, client.width);
    EXPECT_LT(tool.height, modal.height);  // the tool window's lower caption
    const pw::WindowRect screen = pw::screenRect();
    EXPECT_GT(screen.width, 0);
    const WindowRef frame = topLevel();
    const WindowRef button = child(frame, pw::kButtonClass, "b", 0, 1, {15, 25, 60, 20});
    const pw::WindowRect r = pw::windowRect(button);
    EXPECT_EQ(r.left, 15);
    EXPECT_EQ(r.top, 25);
    EXPECT_EQ(r.width, 60);
    const pw::WindowPoint onScreen = pw::clientToScreen(frame, {5, 6});
    const pw::WindowPoint back = pw::screenToClient(frame, onScreen);
    EXPECT_EQ(back.x, 5);
    EXPECT_EQ(back.y, 6);
    EXPECT_EQ(pw::parentWindow(button), frame);
    EXPECT_EQ(pw::topLevelWindow(button), frame);
    EXPECT_EQ(pw::parentWindow(frame), nullptr);
    EXPECT_EQ(pw::findChild(frame, 1), button);
    EXPECT_EQ(pw::className(button), "Button");
}

}  // namespace
}  // namespace lumbrel::test

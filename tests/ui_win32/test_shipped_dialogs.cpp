// The shipped dialog descriptions built by the module into real controls and
// run by the dialog manager: typing, Return, Escape, clicks, the close box,
// Tab through containers, checking, choosing, and the progress dialog.
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"
#include "ui/controls.h"
#include "ui/dialog_functions.h"
#include "ui/ui_types.h"
#include "ui_win32/win32_fixture.h"
#include "util/my_array.h"

namespace lumbrel::test {
namespace {

namespace pw = platform;
using pw::WindowRef;

// The modal dialog now running: the active window, once shown.
HWND runningDialog() {
    const HWND active = ::GetActiveWindow();
    wchar_t name[16] = {};
    if (active == nullptr || !::IsWindowVisible(active) || ::GetClassNameW(active, name, 16) <= 0) return nullptr;
    return ::lstrcmpW(name, L"#32770") == 0 ? active : nullptr;
}

HWND control(HWND dialog, int id) { return reinterpret_cast<HWND>(pw::findChild(reinterpret_cast<WindowRef>(dialog), id)); }

int focusedId(HWND dialog) {
    HWND focus = ::GetFocus();
    // The edit field of a combo box stands for the combo box.
    if (focus != nullptr && ::GetParent(focus) != dialog) {
        wchar_t name[16] = {};
        ::GetClassNameW(::GetParent(focus), name, 16);
        if (::lstrcmpiW(name, L"ComboBox") == 0) focus = ::GetParent(focus);
    }
    return focus != nullptr ? ::GetDlgCtrlID(focus) : 0;
}

using ShippedDialogTest = Win32Test;

enum class Finish { Return, Escape, ClickOK, ClickCancel, CloseBox, TabTwiceThenReturn };

TEST_F(ShippedDialogTest, RenameAnswersAndCopiesTheTypedTextOnlyOnOK) {
    struct Row {
        const char* what;
        Finish finish;
        std::uint32_t expected;
        bool copied;
    };
    const Row rows[] = {
        {"Return in the field", Finish::Return, kCmdOK, true},
        {"OK clicked", Finish::ClickOK, kCmdOK, true},
        {"Escape", Finish::Escape, kCmdCancel, false},
        {"Cancel clicked", Finish::ClickCancel, kCmdCancel, false},
        {"the close box", Finish::CloseBox, kCmdCancel, false},
        // The module moves the focus itself and leaves the default button as
        // it is, so Return keeps answering it, as on the desktop.
        {"Return on Cancel, reached by Tab: still the default", Finish::TabTwiceThenReturn, kCmdOK, true},
    };
    const std::string typed = "Gr\xC3\xBC\xC3\x9F" "e \xF0\x9D\x84\x9E.tif";
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        HWND dialog = nullptr;
        int tabs = 0;
        std::vector<int> focus;
        UserSteps steps({
            [&] { return (dialog = runningDialog()) != nullptr; },
            [&] {
                const HWND field = control(dialog, 3);
                EXPECT_EQ(::GetFocus(), field);
                pw::setWindowText(reinterpret_cast<WindowRef>(field), typed);
                return true;
            },
            [&] {
                switch (row.finish) {
                    case Finish::Return: postKey(::GetFocus(), VK_RETURN); return true;
                    case Finish::Escape: postKey(::GetFocus(), VK_ESCAPE); return true;
                    case Finish::ClickOK: ::PostMessageW(control(dialog, 1), BM_CLICK, 0, 0); return true;
                    case Finish::ClickCancel: ::PostMessageW(control(dialog, 2), BM_CLICK, 0, 0); return true;
                    case Finish::CloseBox: ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); return true;
                    case Finish::TabTwiceThenReturn:
                        if (tabs > 0) focus.push_back(focusedId(dialog));
                        if (tabs++ < 2) {
                            postKey(::GetFocus(), VK_TAB);
                            return false;
                        }
                        postKey(::GetFocus(), VK_RETURN);
                        return true;
                }
                return true;
            },
        });
        char text[256] = "old.tif";
        EXPECT_EQ(getStringFromDialog("Rename", text), row.expected);
        EXPECT_EQ(std::string(text), row.copied ? typed : "old.tif");
        if (row.finish == Finish::TabTwiceThenReturn) {
            EXPECT_EQ(focus, (std::vector<int>{1, 2}));
        }
    }
}

// Tab visits the tab stops in the order of the description, inside its
// group boxes too, and wraps around.
TEST_F(ShippedDialogTest, TabWalksIntoContainersInDescriptionOrder) {
    struct Row {
        const char* name;
        int first;
        std::vector<int> order;  // the focus after each Tab
    };
    const Row rows[] = {
        {"SWAP", 5, {6, 7, 8, 4, 3, 2, 9, 5}},
        {"Rename", 3, {1, 2, 3}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND dialog = nullptr;
        std::vector<int> seen;
        UserSteps steps({
            [&] { return (dialog = runningDialog()) != nullptr; },
            [&] {
                ::SetFocus(control(dialog, row.first));
                return true;
            },
            [&] {
                if (!seen.empty() || ::GetFocus() != control(dialog, row.first)) seen.push_back(focusedId(dialog));
                if (seen.size() >= row.order.size()) return true;
                postKey(::GetFocus(), VK_TAB);
                return false;
            },
            [&] {
                ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
                return true;
            },
        });
        doModalDialog(row.name, nullptr, 0);
        EXPECT_EQ(seen, row.order);
    }
}

// Rows: a dialog, whether its first check box toggles on a click, whether its
// first pop-up menu moves to the next entry on a Down key in its open list.
TEST_F(ShippedDialogTest, ClicksCheckAndOpenListsChooseInShippedDialogs) {
    struct Row {
        const char* name;
        bool hasCheckBox;
        bool hasChoices;
    };
    const Row rows[] = {
        {"IMGLIST", true, false},
        {"PDFIMPORT", false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HWND dialog = nullptr;
        HWND check = nullptr;
        HWND popup = nullptr;
        int checkedBefore = -1;
        int checkedAfter = -1;
        int chosenBefore = -1;
        int chosenAfter = -1;
        std::string shown;
        std::string entry;
        UserSteps steps({
            [&] { return (dialog = runningDialog()) != nullptr; },
            [&] {
                for (HWND c = ::GetWindow(::GetWindow(dialog, GW_CHILD), GW_CHILD); c != nullptr;
                     c = ::GetWindow(c, GW_HWNDNEXT)) {
                    wchar_t name[16] = {};
                    ::GetClassNameW(c, name, 16);
                    const auto type = ::GetWindowLongPtrW(c, GWL_STYLE) & 0xF;
                    if (check == nullptr && ::lstrcmpiW(name, L"Button") == 0 && type == BS_AUTOCHECKBOX) check = c;
                    if (popup == nullptr && ::lstrcmpiW(name, L"ComboBox") == 0) popup = c;
                }
                if (row.hasCheckBox && check != nullptr) {
                    checkedBefore = pw::controlValue(reinterpret_cast<WindowRef>(check));
                    ::SendMessageW(check, BM_CLICK, 0, 0);
                    checkedAfter = pw::controlValue(reinterpret_cast<WindowRef>(check));
                }
                if (row.hasChoices && popup != nullptr) {
                    const auto ref = reinterpret_cast<WindowRef>(popup);
                    chosenBefore = pw::controlValue(ref);
                    // The user opens the list, moves down one entry and closes it.
                    ::SetFocus(popup);
                    ::SendMessageW(popup, CB_SHOWDROPDOWN, TRUE, 0);
                    ::SendMessageW(popup, WM_KEYDOWN, VK_DOWN, 1);
                    ::SendMessageW(popup, CB_SHOWDROPDOWN, FALSE, 0);
                    chosenAfter = pw::controlValue(ref);
                    shown = pw::windowText(ref);
                    entry = pw::itemText(ref, chosenAfter);
                }
                return true;
            },
            [&] {
                ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
                return true;
            },
        });
        EXPECT_EQ(doModalDialog(row.name, nullptr, 0), kCmdCancel);
        if (row.hasCheckBox) {
            ASSERT_NE(check, nullptr);
            EXPECT_EQ(checkedAfter, 1 - checkedBefore);
        }
        if (row.hasChoices) {
            ASSERT_NE(popup, nullptr);
            EXPECT_EQ(chosenAfter, chosenBefore + 1);
            EXPECT_EQ(shown, entry);
            EXPECT_FALSE(shown.empty());
        }
    }
}

// ---- Progress ------------------------------------------------------------------------
struct ProgressRun {
    std::vector<int> items;
    std::vector<int> barValues;
    int barMaximum = -1;
    int cancelAt = -1;   // the user presses Cancel while this item is worked on
    int refuseAt = -1;   // the step answers false for this item
};
ProgressRun gProgress;

bool progressStep(WindowPtr window, void* item, std::intptr_t) {
    const int value = *static_cast<int*>(item);
    gProgress.items.push_back(value);
    const WindowRef bar = getControl(window, kCmdProgressBar);
    gProgress.barValues.push_back(pw::controlValue(bar));
    gProgress.barMaximum = pw::controlMaximum(bar);
    if (value == gProgress.cancelAt) {
        ::PostMessageW(reinterpret_cast<HWND>(pw::findChild(window, kItemCancel)), BM_CLICK, 0, 0);
    }
    return value != gProgress.refuseAt;
}

TEST_F(ShippedDialogTest, TheProgressDialogStepsThroughItsItemsUntilDoneCancelledOrRefused) {
    struct Row {
        const char* what;
        int cancelAt;
        int refuseAt;
        std::uint32_t expected;
        std::vector<int> stepped;
    };
    const Row rows[] = {
        {"every item", -1, -1, kCmdOK, {10, 11, 12}},
        {"Cancel during the first", 10, -1, kCmdCancel, {10}},
        {"a step refusing the second", -1, 11, 0, {10, 11}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        MyArray items(4, sizeof(int));
        for (int value : {10, 11, 12}) ASSERT_TRUE(items.addElem(&value));
        gProgress = ProgressRun{};
        gProgress.cancelAt = row.cancelAt;
        gProgress.refuseAt = row.refuseAt;
        EXPECT_EQ(doProgressDialog(progressStep, &items, 0), row.expected);
        EXPECT_EQ(gProgress.items, row.stepped);
        EXPECT_EQ(gProgress.barMaximum, 3);
        for (std::size_t i = 0; i < gProgress.barValues.size(); ++i) {
            EXPECT_EQ(gProgress.barValues[i], static_cast<int>(i) + 1);  // the bar moves before the step
        }
    }
}

}  // namespace
}  // namespace lumbrel::test

// Modal and modeless shells on the dialog manager: the keyboard rules
// (IsDialogMessage), EndDialog, the owner while a dialog runs, and the
// modeless shell's class.
#include <string>
#include <vector>

#include "platform/win32/windows_api.h"
#include "ui_win32/win32_fixture.h"

namespace lumbrel::test {
namespace {

namespace pw = platform;
using pw::Message;
using pw::WindowRef;

// ---- Return, Escape and the close box ---------------------------------------------
struct KeyRow {
    const char* what;
    int focus;          // the control given the focus by the dialog manager (WM_NEXTDLGCTL)
    bool withDefault;   // button 4 styled as the default push button
    bool defaultEnabled;
    UINT key;           // 0: the close box
    int expected;       // the command the dialog gets (0: none)
    int underWine = -1; // where Wine differs: what it does instead
    bool withCancel = true;
};

struct KeyRun {
    const KeyRow* row = nullptr;
    WindowRef dialog = nullptr;
    int command = 0;
    bool pressed = false;
};
KeyRun gKeys;

std::intptr_t LUMBREL_CALLBACK keyDialogProc(WindowRef dialog, Message message, std::uintptr_t wParam,
                                             std::intptr_t lParam) {
    switch (message) {
        case Message::InitDialog: {
            const KeyRow& row = *reinterpret_cast<const KeyRow*>(lParam);
            gKeys.dialog = dialog;
            const auto make = [&](const char* cls, const char* text, std::uint32_t style, int id, int left) {
                return pw::createWindow(cls, text, pw::style::kChild | pw::style::kVisible | pw::style::kTabStop | style,
                                        0, {left, 10, 60, 22}, dialog, id);
            };
            make(pw::kButtonClass, "OK", pw::style::kPushButton, 1, 10);
            if (row.withCancel) make(pw::kButtonClass, "Cancel", pw::style::kPushButton, 2, 80);
            make(pw::kButtonClass, "Other", pw::style::kPushButton, 3, 150);
            const WindowRef fourth =
                make(pw::kButtonClass, "Four", row.withDefault ? pw::style::kDefPushButton : pw::style::kPushButton, 4, 220);
            pw::enableWindow(fourth, row.defaultEnabled);
            const WindowRef edit = make(pw::kEditClass, "text", pw::style::kEditAutoHScroll, 5, 290);
            const WindowRef focus = pw::findChild(dialog, row.focus);
            ::SendMessageW(reinterpret_cast<HWND>(dialog), WM_NEXTDLGCTL,
                           reinterpret_cast<WPARAM>(focus != nullptr ? focus : edit), TRUE);
            return 0;
        }
        case Message::Command:
            if (pw::commandNotification(wParam) == pw::Notification::Clicked && gKeys.command == 0) {
                gKeys.command = pw::commandId(wParam);
                pw::endDialog(dialog, gKeys.command);
            }
            return 0;
        default:
            return pw::defWindowProc(dialog, message, wParam, lParam);
    }
}

class DialogShellTest : public Win32Test {};

TEST_F(DialogShellTest, ReturnEscapeAndTheCloseBoxFollowTheDialogManager) {
    const KeyRow rows[] = {
        {"Escape in an edit", 5, true, true, VK_ESCAPE, IDCANCEL},
        {"Escape on a push button", 3, true, true, VK_ESCAPE, IDCANCEL},
        {"Return in an edit: the enabled default button", 5, true, true, VK_RETURN, 4},
        // Wine clicks nothing when the default button is disabled.
        {"Return in an edit: the default button disabled, IDOK", 5, true, false, VK_RETURN, IDOK, 0},
        {"Return in an edit without a default button: IDOK", 5, false, true, VK_RETURN, IDOK},
        {"Return on a focused push button clicks it", 3, true, true, VK_RETURN, 3},
        {"the close box, unhandled: IDCANCEL", 5, true, true, 0, IDCANCEL},
        {"Escape without a Cancel button: IDCANCEL all the same", 5, true, true, VK_ESCAPE, IDCANCEL, -1, false},
    };
    for (const KeyRow& row : rows) {
        SCOPED_TRACE(row.what);
        gKeys = KeyRun{&row};
        UserSteps steps({
            [] { return gKeys.dialog != nullptr && ::IsWindowVisible(reinterpret_cast<HWND>(gKeys.dialog)); },
            [&row] {
                if (row.key == 0) {
                    ::PostMessageW(reinterpret_cast<HWND>(gKeys.dialog), WM_SYSCOMMAND, SC_CLOSE, 0);
                } else {
                    postKey(::GetFocus(), row.key);
                }
                gKeys.pressed = true;
                return true;
            },
            // A key that clicks nothing leaves the dialog open: it is ended with 0.
            [waited = 0]() mutable {
                if (++waited < 10) return false;
                if (pw::isWindow(gKeys.dialog)) pw::endDialog(gKeys.dialog, 0);
                return true;
            },
        });
        const std::intptr_t result = pw::runModalDialog(keyDialogProc, reinterpret_cast<std::intptr_t>(&row));
        const int expected = row.underWine >= 0 && runningUnderWine() ? row.underWine : row.expected;
        EXPECT_TRUE(gKeys.pressed);
        EXPECT_EQ(gKeys.command, expected);
        EXPECT_EQ(result, expected);
        EXPECT_FALSE(pw::isWindow(gKeys.dialog));  // the loop destroyed the shell
    }
}

// ---- EndDialog ------------------------------------------------------------------------
std::vector<std::string> gEndLog;

std::intptr_t LUMBREL_CALLBACK endTwiceProc(WindowRef dialog, Message message, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
    if (message == Message::InitDialog) {
        gEndLog.push_back("init " + std::to_string(lParam));
        EXPECT_TRUE(pw::endDialog(dialog, 5));
        EXPECT_TRUE(pw::endDialog(dialog, 7));
        return 1;
    }
    if (message == Message::Destroy) gEndLog.push_back("destroy");
    if (message == Message::NcDestroy) gEndLog.push_back("ncdestroy");
    return pw::defWindowProc(dialog, message, wParam, lParam);
}

TEST_F(DialogShellTest, EndDialogKeepsTheLastResultAndOnlyShellsAnswerIt) {
    gEndLog.clear();
    EXPECT_EQ(pw::runModalDialog(endTwiceProc, 42), 7);
    EXPECT_EQ(gEndLog, (std::vector<std::string>{"init 42", "destroy", "ncdestroy"}));
    const WindowRef frame = topLevel();
    EXPECT_FALSE(pw::endDialog(frame, 1));
    EXPECT_FALSE(pw::endDialog(nullptr, 1));
}

// ---- The owner ---------------------------------------------------------------------
struct OwnerRun {
    HWND owner = nullptr;
    bool ownerEnabledDuring = true;
    WindowRef dialog = nullptr;
};
OwnerRun gOwner;

std::intptr_t LUMBREL_CALLBACK ownedProc(WindowRef dialog, Message message, std::uintptr_t wParam,
                                         std::intptr_t lParam) {
    if (message == Message::InitDialog) gOwner.dialog = dialog;
    return pw::defWindowProc(dialog, message, wParam, lParam);
}

TEST_F(DialogShellTest, TheActiveWindowIsDisabledWhileTheDialogRunsAndGetsItsFocusBack) {
    const WindowRef frame = topLevel();
    const WindowRef edit = child(frame, pw::kEditClass, "", pw::style::kEditAutoHScroll, 3);
    ::ShowWindow(reinterpret_cast<HWND>(frame), SW_SHOW);
    ::SetActiveWindow(reinterpret_cast<HWND>(frame));
    pw::setFocus(edit);
    ASSERT_EQ(pw::focusedWindow(), edit);
    gOwner = OwnerRun{reinterpret_cast<HWND>(frame)};
    UserSteps steps({
        [] { return gOwner.dialog != nullptr && ::IsWindowVisible(reinterpret_cast<HWND>(gOwner.dialog)); },
        [] {
            gOwner.ownerEnabledDuring = ::IsWindowEnabled(gOwner.owner) != FALSE;
            EXPECT_EQ(::GetWindow(reinterpret_cast<HWND>(gOwner.dialog), GW_OWNER), gOwner.owner);
            pw::endDialog(gOwner.dialog, 3);
            return true;
        },
    });
    EXPECT_EQ(pw::runModalDialog(ownedProc, 0), 3);
    EXPECT_FALSE(gOwner.ownerEnabledDuring);
    EXPECT_TRUE(pw::isWindowEnabled(frame));
    EXPECT_EQ(pw::focusedWindow(), edit);
}

// ---- The modeless shell ----------------------------------------------------------------
struct ModelessRun {
    std::intptr_t initParam = 0;
    std::vector<int> commands;
};
ModelessRun gModeless;

std::intptr_t LUMBREL_CALLBACK modelessProc(WindowRef dialog, Message message, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
    if (message == Message::InitDialog) {
        gModeless.initParam = lParam;
        pw::createWindow(pw::kEditClass, "", pw::style::kChild | pw::style::kVisible | pw::style::kTabStop, 0,
                         {10, 10, 100, 22}, dialog, 5);
        pw::createWindow(pw::kButtonClass, "OK", pw::style::kChild | pw::style::kVisible | pw::style::kTabStop, 0,
                         {10, 40, 60, 22}, dialog, 1);
        return 0;
    }
    if (message == Message::Command && pw::commandNotification(wParam) == pw::Notification::Clicked) {
        gModeless.commands.push_back(pw::commandId(wParam));
        return 0;
    }
    return pw::defWindowProc(dialog, message, wParam, lParam);
}

// The host's loop hands each message to IsDialogMessageW for the modeless shell.
void pumpWithDialogMessages(HWND shell, std::chrono::milliseconds time) {
    const auto until = std::chrono::steady_clock::now() + time;
    while (std::chrono::steady_clock::now() < until) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (::IsDialogMessageW(shell, &message)) continue;
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(2);
    }
}

TEST_F(DialogShellTest, AModelessShellIsAToolWindowAnsweringTheKeyboardThroughIsDialogMessage) {
    gModeless = {};
    const WindowRef shell = pw::createModelessDialog(modelessProc, 77);
    ASSERT_NE(shell, nullptr);
    const HWND hwnd = reinterpret_cast<HWND>(shell);
    EXPECT_EQ(gModeless.initParam, 77);
    EXPECT_EQ(pw::className(shell), "ModelessDialog");
    EXPECT_NE(pw::windowExStyle(shell) & pw::style::kExToolWindow, 0U);
    EXPECT_EQ(pw::windowStyle(shell) & pw::style::kDialogShell, pw::style::kDialogShell);
    EXPECT_FALSE(pw::isWindowShown(shell));
    pw::showWindow(shell, true);
    ::SetActiveWindow(hwnd);
    const WindowRef edit = pw::findChild(shell, 5);
    pw::setFocus(edit);
    postKey(reinterpret_cast<HWND>(edit), VK_TAB);
    pumpWithDialogMessages(hwnd, std::chrono::milliseconds(80));
    EXPECT_EQ(pw::focusedWindow(), pw::findChild(shell, 1));
    postKey(::GetFocus(), VK_ESCAPE);
    pumpWithDialogMessages(hwnd, std::chrono::milliseconds(80));
    EXPECT_EQ(gModeless.commands, (std::vector<int>{IDCANCEL}));
    // Ending a modeless dialog hides it; the caller destroys it.
    EXPECT_TRUE(pw::endDialog(shell, 1));
    EXPECT_FALSE(pw::isWindowShown(shell));
    EXPECT_TRUE(pw::isWindow(shell));
    pw::destroyWindow(shell);
    EXPECT_FALSE(pw::isWindow(shell));
}

}  // namespace
}  // namespace lumbrel::test

// The Windows host's user: real dialogs run by DialogBoxIndirectParamW are
// answered from the agent's actions through their own modal loop, and the
// transcript says what the user did and how the dialog ended, as the POSIX
// stand-in words it. This program's own EndDialog calls are watched as a
// loaded module's are.
#include "hostsim/host/win32/real_dialogs.h"

#include "hostsim/host/win32/dialog_results.h"

#include "desktop/desktop.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace hostsim::win32 {
namespace {

using desktop::DialogAction;
using desktop::DialogKey;

constexpr int kEdit = 10;
constexpr int kCheck = 11;
constexpr int kPopUp = 12;
constexpr int kPassword = 13;
// Ends the dialog with a value of its own, twice: the second call counts.
constexpr int kOwnEnd = 14;
constexpr INT_PTR kOwnFirst = 7;
constexpr INT_PTR kOwnResult = 0x6F6B2020;  // a four-character code, as the module's dialogs return

// A dialog template in memory, as a resource compiler lays it out.
class Template {
public:
    Template(const wchar_t* title, int items) {
        dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
        dword(0);
        word(static_cast<std::uint16_t>(items));
        for (const short v : {short{10}, short{10}, short{200}, short{120}}) word(static_cast<std::uint16_t>(v));
        word(0);  // no menu
        word(0);  // the dialog class
        text(title);
        word(8);
        text(L"MS Shell Dlg");
    }
    void item(std::uint16_t atom, std::uint32_t style, int id, const wchar_t* title, short y) {
        while (words_.size() % 2 != 0) words_.push_back(0);  // DWORD aligned
        dword(style | WS_CHILD | WS_VISIBLE);
        dword(0);
        for (const short v : {short{8}, y, short{120}, short{12}}) word(static_cast<std::uint16_t>(v));
        word(static_cast<std::uint16_t>(id));
        word(0xFFFF);
        word(atom);
        text(title);
        word(0);  // no creation data
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void word(std::uint16_t w) { words_.push_back(w); }
    void dword(std::uint32_t d) {
        word(static_cast<std::uint16_t>(d & 0xFFFF));
        word(static_cast<std::uint16_t>(d >> 16));
    }
    void text(const wchar_t* s) {
        for (; *s != 0; ++s) word(static_cast<std::uint16_t>(*s));
        word(0);
    }
    std::vector<std::uint16_t> words_;
};

// What the dialog's procedure saw.
struct Seen {
    std::wstring text;
    std::wstring password;
    int checked = -1;
    int chosen = -1;
    int editChanges = 0;
    int selectionChanges = 0;
};

INT_PTR CALLBACK testDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            for (const wchar_t* item : {L"Inches", L"Millimetres", L"Points"}) {
                SendDlgItemMessageW(dialog, kPopUp, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            }
            SendDlgItemMessageW(dialog, kPopUp, CB_SETCURSEL, 0, 0);
            return TRUE;
        case WM_COMMAND: {
            Seen& seen = *reinterpret_cast<Seen*>(GetWindowLongPtrW(dialog, DWLP_USER));
            const int id = LOWORD(wParam);
            if (id == kEdit && HIWORD(wParam) == EN_CHANGE) ++seen.editChanges;
            if (id == kPopUp && HIWORD(wParam) == CBN_SELCHANGE) ++seen.selectionChanges;
            if (id == kOwnEnd) {
                EndDialog(dialog, kOwnFirst);
                EndDialog(dialog, kOwnResult);
            }
            if (id == IDOK || id == IDCANCEL) {
                wchar_t buffer[64] = {};
                GetDlgItemTextW(dialog, kEdit, buffer, 64);
                seen.text = buffer;
                GetDlgItemTextW(dialog, kPassword, buffer, 64);
                seen.password = buffer;
                seen.checked = static_cast<int>(IsDlgButtonChecked(dialog, kCheck));
                seen.chosen = static_cast<int>(SendDlgItemMessageW(dialog, kPopUp, CB_GETCURSEL, 0, 0));
                EndDialog(dialog, id);
            }
            return TRUE;
        }
        default: return FALSE;
    }
}

struct DialogRun {
    INT_PTR result = 0;
    Seen seen;
    std::vector<std::string> lines;
};

DialogRun runDialog(const std::vector<DialogAction>& actions) {
    EXPECT_TRUE(watchDialogResults(GetModuleHandleW(nullptr)));
    desktop::Desktop::instance().reset();
    auto agent = std::make_shared<desktop::ScriptedAgent>();
    for (const DialogAction& action : actions) agent->queueDialogAction(action);
    desktop::Desktop::instance().setAgent(agent);
    Template dialog(L"Units", 8);
    dialog.item(0x0081, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER, kEdit, L"", 8);
    dialog.item(0x0080, BS_AUTOCHECKBOX | WS_TABSTOP, kCheck, L"Labels", 24);
    dialog.item(0x0085, CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, kPopUp, L"", 40);
    dialog.item(0x0081, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER, kPassword, L"", 56);
    dialog.item(0x0082, SS_LEFT, -1, L"Name:", 72);
    dialog.item(0x0080, BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, L"OK", 88);
    dialog.item(0x0080, BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, L"Cancel", 104);
    dialog.item(0x0080, BS_PUSHBUTTON | WS_TABSTOP, kOwnEnd, L"Done", 120);
    DialogRun run;
    {
        RealDialogDriver driver(5);
        EXPECT_TRUE(driver.running());
        run.result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), nullptr, testDialogProc,
                                             reinterpret_cast<LPARAM>(&run.seen));
    }
    run.lines = desktop::Desktop::instance().transcript().linesOf(desktop::EntryKind::Dialog);
    desktop::Desktop::instance().setAgent(nullptr);
    return run;
}

TEST(RealDialogs, AreDescribedFromTheirWindowTree) {
    desktop::DialogRequest seen;
    auto agent = std::make_shared<desktop::ScriptedAgent>();
    agent->setDialogStep([&](const desktop::DialogRequest& request) {
        if (request.turn == 1) seen = request;
        return DialogAction::click(IDCANCEL);
    });
    desktop::Desktop::instance().reset();
    desktop::Desktop::instance().setAgent(agent);
    Template dialog(L"Units", 3);
    dialog.item(0x0080, BS_AUTOCHECKBOX | WS_TABSTOP, kCheck, L"Labels", 24);
    dialog.item(0x0085, CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, kPopUp, L"", 40);
    dialog.item(0x0080, BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, L"Cancel", 104);
    Seen values;
    {
        RealDialogDriver driver(5);
        EXPECT_EQ(DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), nullptr, testDialogProc,
                                          reinterpret_cast<LPARAM>(&values)),
                  IDCANCEL);
    }
    desktop::Desktop::instance().setAgent(nullptr);
    EXPECT_EQ(seen.title, "Units");
    ASSERT_EQ(seen.controls.size(), 3u);
    const desktop::ControlView* check = seen.control(kCheck);
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->kind, desktop::ControlKind::CheckBox);
    EXPECT_EQ(check->text, "Labels");
    EXPECT_EQ(seen.focusedId, kCheck) << "the first tab stop has the focus";
    const desktop::ControlView* popUp = seen.control(kPopUp);
    ASSERT_NE(popUp, nullptr);
    EXPECT_EQ(popUp->kind, desktop::ControlKind::PopUp);
    EXPECT_EQ(popUp->items, (std::vector<std::string>{"Inches", "Millimetres", "Points"}));
    EXPECT_EQ(popUp->value, 0);
    const desktop::ControlView* cancel = seen.control(IDCANCEL);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->kind, desktop::ControlKind::PushButton);
}

struct ActionCase {
    const char* name;
    std::vector<DialogAction> actions;
    INT_PTR result;
    std::wstring text;
    std::wstring password;
    int checked;
    int chosen;
    std::vector<std::string> lines;
};

TEST(RealDialogs, ActionsReachTheDialogAsAUsersInputWould) {
    const ActionCase cases[] = {
        {"fields then OK",
         {DialogAction::setText(kEdit, "Grüße"), DialogAction::check(kCheck), DialogAction::choose(kPopUp, "Points"),
          DialogAction::setText(kPassword, "pw"), DialogAction::click(IDOK)},
         IDOK, L"Gr\u00fc\u00dfe", L"pw", 1, 2,
         {"dialog \"Units\" opened", "dialog \"Units\": set text 10 \"Grüße\"", "dialog \"Units\": check 11 \"Labels\"",
          "dialog \"Units\": choose 12 \"Points\"", "dialog \"Units\": set text 13 \"**\"", "dialog \"Units\": click 1 \"OK\"",
          "dialog \"Units\" closed -> 1"}},
        {"Escape cancels through the dialog manager",
         {DialogAction::press(DialogKey::Escape)},
         IDCANCEL, L"", L"", 0, 0,
         {"dialog \"Units\" opened", "dialog \"Units\": key Escape", "dialog \"Units\" closed -> 2"}},
        {"no decision presses the default button",
         {},
         IDOK, L"", L"", 0, 0,
         {"dialog \"Units\" opened", "dialog \"Units\": no decision, key Return (default)", "dialog \"Units\" closed -> 1"}},
        {"typing goes to the focused field; refused actions leave the dialog",
         {DialogAction::type("ab"), DialogAction::setText(kCheck, "x"), DialogAction::uncheck(kCheck),
          DialogAction::choose(kPopUp, "Feet"), DialogAction::click(99), DialogAction::press(DialogKey::Return)},
         IDOK, L"ab", L"", 0, 0,
         {"dialog \"Units\" opened", "dialog \"Units\": type \"ab\"",
          "dialog \"Units\": refused set text 11 \"Labels\": the control takes no typing",
          "dialog \"Units\": uncheck 11 \"Labels\" (already)", "dialog \"Units\": refused choose 12 \"Inches\": no item \"Feet\"",
          "dialog \"Units\": refused click 99: no such control", "dialog \"Units\": key Return", "dialog \"Units\" closed -> 1"}},
        {"Tab moves the focus before typing",
         {DialogAction::press(DialogKey::Tab), DialogAction::press(DialogKey::Space), DialogAction::click(IDCANCEL)},
         IDCANCEL, L"", L"", 1, 0,
         {"dialog \"Units\" opened", "dialog \"Units\": key Tab", "dialog \"Units\": key Space",
          "dialog \"Units\": click 2 \"Cancel\"", "dialog \"Units\" closed -> 2"}},
        {"the dialog's own result, not the id of the button that ended it",
         {DialogAction::click(kOwnEnd)},
         kOwnResult, L"", L"", -1, -1,
         {"dialog \"Units\" opened", "dialog \"Units\": click 14 \"Done\"", "dialog \"Units\" closed -> 1869291552"}},
    };
    for (const ActionCase& c : cases) {
        SCOPED_TRACE(c.name);
        const DialogRun run = runDialog(c.actions);
        EXPECT_EQ(run.result, c.result);
        EXPECT_EQ(run.seen.text, c.text);
        EXPECT_EQ(run.seen.password, c.password);
        EXPECT_EQ(run.seen.checked, c.checked);
        EXPECT_EQ(run.seen.chosen, c.chosen);
        EXPECT_EQ(run.lines, c.lines);
    }
}

TEST(RealDialogs, TextAndChoiceNotifyTheDialog) {
    const DialogRun run = runDialog({DialogAction::setText(kEdit, "a"), DialogAction::setText(kEdit, "b"),
                               DialogAction::chooseIndex(kPopUp, 1), DialogAction::click(IDOK)});
    EXPECT_EQ(run.result, IDOK);
    EXPECT_EQ(run.seen.editChanges, 2) << "one EN_CHANGE per text set";
    EXPECT_EQ(run.seen.selectionChanges, 1);
    EXPECT_EQ(run.seen.chosen, 1);
}

// A dialog that ends on nothing a user does.
INT_PTR CALLBACK stubbornProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG || message == WM_COMMAND || message == WM_CLOSE ? TRUE : FALSE;
}

TEST(RealDialogs, ADialogThatIgnoresReturnAndItsCloseBoxIsEndedWithCancel) {
    EXPECT_TRUE(watchDialogResults(GetModuleHandleW(nullptr)));
    desktop::Desktop::instance().reset();
    desktop::Desktop::instance().setAgent(std::make_shared<desktop::ScriptedAgent>());
    Template dialog(L"Stubborn", 1);
    dialog.item(0x0080, BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, L"OK", 88);
    INT_PTR result = 0;
    {
        RealDialogDriver driver(5);
        result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), nullptr, stubbornProc, 0);
    }
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(desktop::Desktop::instance().transcript().linesOf(desktop::EntryKind::Dialog),
              (std::vector<std::string>{"dialog \"Stubborn\" opened", "dialog \"Stubborn\": no decision, key Return (default)",
                                        "dialog \"Stubborn\": no decision again, closed (default)",
                                        "dialog \"Stubborn\" closed -> 2"}));
    desktop::Desktop::instance().setAgent(nullptr);
}

INT_PTR CALLBACK messageBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetDlgItemTextW(dialog, 10, reinterpret_cast<const wchar_t*>(lParam));
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

TEST(DialogResults, OnlyModulesImportingEndDialogAreWatched) {
    EXPECT_FALSE(watchDialogResults(nullptr));
    // The probe module imports nothing of USER32.
    const HMODULE probe = LoadLibraryW(desktop::files::wideText(HOSTSIM_PROBE_MODULE).c_str());
    ASSERT_NE(probe, nullptr);
    EXPECT_FALSE(watchDialogResults(probe));
    FreeLibrary(probe);
    // A window no watched call ended has no result, and a result is taken once.
    const HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(endDialogRecorded(plain, 5)) << "EndDialog refuses a window that is no dialog";
    EXPECT_FALSE(takeDialogResult(plain));
    DestroyWindow(plain);
}

struct AlertCase {
    const char* name;
    const char* button;  // nullptr: no decision
    INT_PTR result;
    const char* line;
};

TEST(RealDialogs, MessageBoxesAreAnsweredAsAlerts) {
    const AlertCase cases[] = {
        {"by title", "Cancel", IDCANCEL, "alert \"Lumbrel\" note: Not saved. | Save first? [OK] [Cancel] -> Cancel"},
        {"no decision", nullptr, IDOK, "alert \"Lumbrel\" note: Not saved. | Save first? [OK] [Cancel] -> OK (default)"},
    };
    for (const AlertCase& c : cases) {
        SCOPED_TRACE(c.name);
        desktop::Desktop::instance().reset();
        auto agent = std::make_shared<desktop::ScriptedAgent>();
        if (c.button != nullptr) agent->answerWithButton(c.button);
        desktop::Desktop::instance().setAgent(agent);
        Template box(L"Lumbrel", 3);
        box.item(0x0082, SS_LEFT | SS_NOPREFIX, 10, L"", 8);
        box.item(0x0080, BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, L"OK", 88);
        box.item(0x0080, BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, L"Cancel", 104);
        INT_PTR result = 0;
        {
            RealDialogDriver driver(5);
            result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), box.get(), nullptr, messageBoxProc,
                                             reinterpret_cast<LPARAM>(L"Not saved.\r\rSave first?"));
        }
        EXPECT_EQ(result, c.result);
        const desktop::Transcript& transcript = desktop::Desktop::instance().transcript();
        EXPECT_EQ(transcript.linesOf(desktop::EntryKind::Alert), std::vector<std::string>{c.line});
        EXPECT_TRUE(transcript.linesOf(desktop::EntryKind::Dialog).empty()) << "a message box is no dialog in the transcript";
        desktop::Desktop::instance().setAgent(nullptr);
    }
}

}  // namespace
}  // namespace hostsim::win32

// The application chooser is the common open-file dialog: a thread timer
// plays the user, typing a name and pressing OK, or pressing Cancel.
#include <windows.h>
#include <commdlg.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/file_chooser.h"

namespace lumbrel::test {
namespace {

struct Player {
    std::wstring typed;  // empty: Cancel
    std::wstring title;  // the dialog's, as seen
    bool acted = false;
    int field = 0;       // the name field found
};
Player* gPlayer = nullptr;

BOOL CALLBACK findChooser(HWND window, LPARAM found) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK playUser(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND chooser = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findChooser, reinterpret_cast<LPARAM>(&chooser));
    if (chooser == nullptr || gPlayer == nullptr || gPlayer->acted) return;
    gPlayer->acted = true;
    KillTimer(nullptr, timer);
    wchar_t title[256] = {};
    GetWindowTextW(chooser, title, 256);
    gPlayer->title = title;
    if (gPlayer->typed.empty()) {
        PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    // The name field: a combo box (cmb13) in the explorer look, an edit (edt1) in the old one.
    int field = 0x47C;
    if (!SetDlgItemTextW(chooser, field, gPlayer->typed.c_str())) {
        field = 0x480;
        if (!SetDlgItemTextW(chooser, field, gPlayer->typed.c_str())) field = 0;
    }
    gPlayer->field = field;
    PostMessageW(chooser, WM_COMMAND, IDOK, 0);
}

bool choose(Player& player, std::string& path) {
    gPlayer = &player;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, playUser);
    const bool chosen = platform::chooseApplication("Anwendung wählen", path);
    if (!player.acted) KillTimer(nullptr, timer);
    gPlayer = nullptr;
    return chosen;
}

TEST(Win32ApplicationChooser, OkGivesTheChosenProgramsPathAndCancelLeavesThePath) {
    const std::filesystem::path recorder = LUMBREL_ARGUMENT_RECORDER;
    Player ok;
    wchar_t full[MAX_PATH] = {};
    GetFullPathNameW(recorder.wstring().c_str(), MAX_PATH, full, nullptr);
    ok.typed = full;
    std::string path = "unchanged";
    ASSERT_TRUE(choose(ok, path)) << "dialog error " << CommDlgExtendedError() << ", field " << ok.field
                                  << ", acted " << ok.acted;
    EXPECT_TRUE(ok.acted);
    EXPECT_EQ(ok.title, L"Anwendung w\u00E4hlen");
    std::error_code error;
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::path(std::u8string(path.begin(), path.end())), recorder,
                                            error))
        << path;

    Player cancel;
    path = "unchanged";
    EXPECT_FALSE(choose(cancel, path));
    EXPECT_TRUE(cancel.acted);
    EXPECT_EQ(path, "unchanged");
}

}  // namespace
}  // namespace lumbrel::test

// The shell, the keyboard state, the user's folders and saving files, over
// Win32.
#include <windows.h>
#include <shlobj.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/atomic_write.h"
#include "platform/keyboard.h"
#include "platform/processes.h"
#include "platform/user_folders.h"
#include "platform/win32/shell_parameters.h"
#include "support/test_support.h"

namespace lumbrel::test {
namespace {

namespace pw = platform;

// ---- Keys ---------------------------------------------------------------------------

struct KeyCase {
    const char* what;
    std::vector<int> virtualKeys;  // held down
    std::vector<int> toggled;      // on (Caps Lock)
    std::uint32_t modifierWord;
    std::vector<int> codes;        // held in the key map
};

TEST(Win32Keys, TheKeyMapShowsTheThreadsKeyState) {
    const KeyCase cases[] = {
        {"nothing", {}, {}, 0, {}},
        {"Shift alone is exactly 1", {VK_SHIFT, VK_LSHIFT}, {}, 1, {pw::kKeyCodeShift}},
        {"Shift without its side counts as the left one", {VK_SHIFT}, {}, 1, {pw::kKeyCodeShift}},
        {"right Shift", {VK_SHIFT, VK_RSHIFT}, {}, 0x10, {pw::kKeyCodeRightShift}},
        {"Control", {VK_CONTROL, VK_LCONTROL}, {}, 8, {pw::kKeyCodeControl}},
        {"Alt is Option", {VK_MENU, VK_LMENU}, {}, 4, {pw::kKeyCodeOption}},
        {"the Windows key is Command", {VK_LWIN}, {}, 0x8000, {pw::kKeyCodeCommand}},
        {"Caps Lock on, not held", {}, {VK_CAPITAL}, 2, {pw::kKeyCodeCapsLock}},
        {"Control and Shift", {VK_CONTROL, VK_SHIFT}, {}, 9, {pw::kKeyCodeControl, pw::kKeyCodeShift}},
        {"Escape: code 53 lies in the modifier bytes", {VK_ESCAPE}, {}, 0x2000, {pw::kKeyCodeEscape}},
    };
    BYTE saved[256];
    ASSERT_TRUE(GetKeyboardState(saved));
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        BYTE state[256] = {};
        for (const int key : c.virtualKeys) state[key] = 0x80;
        for (const int key : c.toggled) state[key] = 0x01;
        ASSERT_TRUE(SetKeyboardState(state));
        pw::KeyMap keys{};
        pw::getKeys(keys);
        EXPECT_EQ(pw::keyMapModifierWord(keys), c.modifierWord);
        int held = 0;
        for (int code = 0; code < 128; ++code) held += pw::keyMapHolds(keys, code) ? 1 : 0;
        EXPECT_EQ(held, static_cast<int>(c.codes.size()));
        for (const int code : c.codes) EXPECT_TRUE(pw::keyMapHolds(keys, code)) << code;
    }
    SetKeyboardState(saved);
}

TEST(Win32Keys, AWaitingKeyDownIsSeenAndLeftInTheQueue) {
    MSG drain{};
    while (PeekMessageW(&drain, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
    }
    EXPECT_FALSE(pw::isKeyDownWaiting(27));
    ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0));
    EXPECT_TRUE(pw::isKeyDownWaiting(27));
    EXPECT_FALSE(pw::isKeyDownWaiting('A'));
    EXPECT_TRUE(pw::isKeyDownWaiting(27));  // still there
    EXPECT_TRUE(PeekMessageW(&drain, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_FALSE(pw::isKeyDownWaiting(27));
}

// ---- The user's folders -------------------------------------------------------------

std::string utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

// The older shell call answers the same folders: a second opinion.
std::string shellFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return "<none>";
    return utf8(path);
}

TEST(Win32UserFolders, TheShellsFoldersWithoutTrailingSeparator) {
    struct Case {
        pw::SpecialFolder folder;
        int csidl;
    };
    const Case cases[] = {
        {pw::SpecialFolder::Documents, CSIDL_PERSONAL},
        {pw::SpecialFolder::Desktop, CSIDL_DESKTOPDIRECTORY},
        {pw::SpecialFolder::Preferences, CSIDL_APPDATA},
        {pw::SpecialFolder::AppSupport, CSIDL_LOCAL_APPDATA},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.csidl);
        std::string path;
        ASSERT_TRUE(pw::findSpecialFolder(c.folder, path));
        EXPECT_EQ(path, shellFolder(c.csidl));
        ASSERT_GE(path.size(), 3U);
        EXPECT_NE(path.back(), '\\');
    }
    std::string temporary;
    ASSERT_TRUE(pw::findSpecialFolder(pw::SpecialFolder::Temporary, temporary));
    wchar_t expected[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, expected);
    std::string withSeparator = utf8(expected);
    if (withSeparator.size() > 3 && withSeparator.back() == '\\') withSeparator.pop_back();
    EXPECT_EQ(temporary, withSeparator);
    EXPECT_TRUE(std::filesystem::is_directory(pathFromUtf8(temporary)));
}

// ---- Saving files -------------------------------------------------------------------

std::vector<std::string> namesIn(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    return names;
}

TEST(Win32AtomicWrite, NewAndReplacedFilesGetTheWholeContentAndNoTemporaryRemains) {
    TempDir dir;
    const std::string path = dir.text() + "\\Einstellungen ü.ini";
    ASSERT_TRUE(pw::saveFileContent(path.c_str(), "first", 5));
    EXPECT_EQ(readFile(path), "first");
    const std::string longer(100000, 'x');
    ASSERT_TRUE(pw::saveFileContent(path.c_str(), longer.data(), longer.size()));
    EXPECT_EQ(readFile(path), longer);
    ASSERT_TRUE(pw::saveFileContent(path.c_str(), "", 0));
    EXPECT_EQ(readFile(path), "");
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"Einstellungen ü.ini"});

    // A hidden file stays hidden: the replacement takes the old attributes.
    const std::wstring wide = pathFromUtf8(path).wstring();
    ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(pw::saveFileContent(path.c_str(), "again", 5));
    EXPECT_EQ(readFile(path), "again");
    EXPECT_NE(GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0U);
}

// A read-only file is one the user protected: it is not saved over, and it
// keeps its content and its attribute.
TEST(Win32AtomicWrite, AReadOnlyTargetIsLeftAsItWas) {
    TempDir dir;
    const std::string path = dir.text() + "\\locked.ini";
    writeFile(path, "old");
    const std::wstring wide = pathFromUtf8(path).wstring();
    ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(pw::saveFileContent(path.c_str(), "new", 3));
    EXPECT_EQ(readFile(path), "old");
    EXPECT_NE(GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_READONLY, 0U);
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"locked.ini"});
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32AtomicWrite, NoFileIsMadeWhereTheTargetIsAFolderOrItsFolderIsMissing) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "folder");
    EXPECT_FALSE(pw::saveFileContent((dir.text() + "\\folder").c_str(), "x", 1));
    EXPECT_FALSE(pw::saveFileContent((dir.text() + "\\missing\\a.ini").c_str(), "x", 1));
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"folder"});
    EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "folder"));
}

TEST(Win32AtomicWrite, ALongPathIsSaved) {
    TempDir dir;
    std::string path = dir.text();
    for (int i = 0; path.size() < 300; ++i) {
        path += "\\" + std::string(40, static_cast<char>('a' + i));
        std::filesystem::create_directory(pathFromUtf8(path));
    }
    path += "\\long.ini";
    ASSERT_TRUE(pw::saveFileContent(path.c_str(), "deep", 4));
    EXPECT_EQ(readFile(path), "deep");
}

// ---- The shell ----------------------------------------------------------------------

TEST(Win32Shell, ArgumentsAreQuotedWholeOrRefused) {
    struct Case {
        const wchar_t* path;
        const wchar_t* argument;  // null: refused
    };
    const Case cases[] = {
        {L"C:\\a b\\c,d.txt", L"\"C:\\a b\\c,d.txt\""},
        {L"C:\\", L"\"C:\\\\\""},
        {L"C:\\x\"y", nullptr},
        {L"C:\\x\ny", nullptr},
        {L"", nullptr},
    };
    for (const Case& c : cases) {
        std::wstring out = L"unchanged";
        EXPECT_EQ(pw::win32::quotedArgument(c.path, out), c.argument != nullptr);
        EXPECT_EQ(out, c.argument != nullptr ? c.argument : L"unchanged");
    }
    std::wstring reveal;
    ASSERT_TRUE(pw::win32::revealArguments(L"C:\\Jobs, 2024\\a.tif", reveal));
    EXPECT_EQ(reveal, L"/n,/select,\"C:\\Jobs, 2024\\a.tif\"");
}

// The application the shell starts is a recorder of ours: it writes the
// arguments it got beside itself.
TEST(Win32Shell, ADocumentOpensWithTheGivenApplicationAsItsOneArgument) {
    const std::filesystem::path recorder = LUMBREL_ARGUMENT_RECORDER;
    const std::filesystem::path record = recorder.string() + ".txt";
    std::error_code ignored;
    std::filesystem::remove(record, ignored);
    TempDir dir;
    const std::string document = dir.text() + "\\Bilder liste, ü.txt";
    writeFile(document, "list");
    const std::u8string recorderText = recorder.u8string();
    const std::string application(recorderText.begin(), recorderText.end());

    ASSERT_EQ(pw::openDocument(document.c_str(), application.c_str()), 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!std::filesystem::exists(record) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the recorder closes its file
    EXPECT_EQ(readFile(record.string()), document + "\n");
    std::filesystem::remove(record, ignored);

    const std::string missing = dir.text() + "\\missing.txt";
    EXPECT_EQ(pw::openDocument(missing.c_str(), application.c_str()), -1);
    EXPECT_EQ(pw::openDocument(document.c_str(), (dir.text() + "\\no.exe").c_str()), -1);
    EXPECT_EQ(pw::openDocument(missing.c_str(), nullptr), -1);
    EXPECT_EQ(pw::openDocumentWithCreator(missing.c_str(), pw::kFileTypeText, 0x74747874), -1);
    EXPECT_EQ(pw::revealInFileManager(missing.c_str()), -1);
    EXPECT_FALSE(std::filesystem::exists(record));
}

TEST(Win32Shell, OnlyThisHostIsKnownBySignature) {
    pw::ProcessRef previous = pw::ProcessRef::None;
    EXPECT_EQ(pw::bringApplicationToFront(pw::kCreatorFileManager, &previous), -1);
    EXPECT_EQ(previous, pw::ProcessRef::None);
    EXPECT_EQ(pw::bringProcessToFront(pw::ProcessRef::None), -1);
    // A test program has no main window to bring forward.
    EXPECT_EQ(pw::bringApplicationToFront(pw::kCreatorThisHost, &previous), -1);
}

}  // namespace
}  // namespace lumbrel::test

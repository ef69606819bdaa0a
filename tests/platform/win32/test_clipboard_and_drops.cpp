// The clipboard as Unicode text and dropped-file lists built as the shell
// builds them, read through the pasteboard interface.
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "drop/my_pasteboard.h"
#include "platform/pasteboard.h"
#include "platform/win32/file_url.h"
#include "support/test_support.h"

namespace lumbrel::test {
namespace {

namespace pw = platform;

std::wstring wide(const std::string& utf8) {
    const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, out.data(), units);
    out.resize(out.size() - 1);
    return out;
}

// What another application finds on the clipboard as Unicode text.
std::wstring clipboardAsOthersSeeIt() {
    if (!OpenClipboard(nullptr)) return L"<not open>";
    std::wstring text = L"<none>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* at = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = at;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// Another application replaces the clipboard's content.
bool putAsAnotherApplication(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(block), text.c_str(), bytes);
    GlobalUnlock(block);
    const bool ok = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    CloseClipboard();
    return ok;
}

std::string readText(pw::PasteboardRef board) {
    char buffer[256] = {};
    const std::ptrdiff_t size = pw::pasteboardCopyFlavorData(board, 1, pw::kFlavorUtf8Text, buffer, sizeof buffer - 1);
    return size < 0 ? "<none>" : std::string(buffer, static_cast<std::size_t>(size));
}

TEST(Win32Clipboard, UnicodeTextRoundTripsAndOnlyTheClearingReferencePutsOnce) {
    const std::string text = "Grüße, 東京 — naïve \xF0\x9F\x93\xB7";  // a character beyond 16 bits too
    const pw::PasteboardRef mine = pw::createPasteboard(pw::kClipboardPasteboardName);
    const pw::PasteboardRef other = pw::createPasteboard(pw::kClipboardPasteboardName);
    ASSERT_NE(mine, pw::PasteboardRef::None);
    ASSERT_NE(other, pw::PasteboardRef::None);
    EXPECT_EQ(pw::createPasteboard("com.example.private"), pw::PasteboardRef::None);  // Windows keeps no others

    EXPECT_EQ(pw::putPasteboardFlavor(mine, 1, pw::kFlavorUtf8Text, "x", 1), -1);  // not cleared yet
    ASSERT_EQ(pw::clearPasteboard(mine), 0);
    EXPECT_EQ(pw::pasteboardItemCount(mine), 0);
    EXPECT_EQ(pw::putPasteboardFlavor(other, 1, pw::kFlavorUtf8Text, "x", 1), -1);  // the other did not clear
    EXPECT_EQ(pw::putPasteboardFlavor(mine, 2, pw::kFlavorUtf8Text, "x", 1), -1);   // one text only
    EXPECT_EQ(pw::putPasteboardFlavor(mine, 1, pw::kFlavorFileUrl, "x", 1), -1);
    EXPECT_EQ(pw::putPasteboardFlavor(mine, 1, pw::kFlavorUtf8Text, "a\0b", 3), -1);  // would be cut
    EXPECT_EQ(pw::putPasteboardFlavor(mine, 1, pw::kFlavorUtf8Text, "\xC3", 1), -1);  // no UTF-8
    ASSERT_EQ(pw::putPasteboardFlavor(mine, 1, pw::kFlavorUtf8Text, text.data(), text.size()), 0);
    EXPECT_EQ(pw::putPasteboardFlavor(mine, 1, pw::kFlavorUtf8Text, "x", 1), -1);  // a flavour is put once

    EXPECT_EQ(clipboardAsOthersSeeIt(), wide(text));
    EXPECT_EQ(pw::pasteboardItemCount(other), 1);
    EXPECT_EQ(readText(other), text);
    char small[4] = "old";
    EXPECT_EQ(pw::pasteboardCopyFlavorData(other, 1, pw::kFlavorUtf8Text, small, sizeof small),
              static_cast<std::ptrdiff_t>(text.size()));
    EXPECT_STREQ(small, "old");  // too small: untouched

    // Another application takes the clipboard: its text is read, and the
    // module's reference no longer owns it.
    ASSERT_TRUE(putAsAnotherApplication(L"Ärger über 10 €"));
    EXPECT_EQ(readText(mine), "Ärger über 10 €");
    ASSERT_EQ(pw::clearPasteboard(mine), 0);
    EXPECT_EQ(readText(mine), "<none>");
    ASSERT_TRUE(putAsAnotherApplication(L"theirs"));
    EXPECT_EQ(pw::putPasteboardFlavor(mine, 1, pw::kFlavorUtf8Text, "mine", 4), -1);
    EXPECT_EQ(clipboardAsOthersSeeIt(), L"theirs");

    pw::releasePasteboard(mine);
    pw::releasePasteboard(other);
    EXPECT_EQ(pw::pasteboardItemCount(mine), -1);
    EXPECT_EQ(pw::clearPasteboard(other), -1);

    // The copy-name shortcut's way: clear, then the file name as text. (In
    // this one test: the clipboard is shared by every process of the session.)
    MyPasteboard clipboard(pw::kClipboardPasteboardName);
    ASSERT_TRUE(clipboard.owned());
    ASSERT_EQ(clipboard.clear(), 0);
    ASSERT_EQ(clipboard.addString("Bild-ü.tif"), 0);
    EXPECT_EQ(clipboardAsOthersSeeIt(), L"Bild-\u00FC.tif");
}

// A dropped-file list as the shell makes it: DROPFILES, then the paths, each
// with its zero, then one more zero; in UTF-16 (fWide) or the ANSI code page.
HGLOBAL shellDropList(const std::vector<std::wstring>& paths, bool wideNames = true) {
    std::vector<char> names;
    for (const std::wstring& path : paths) {
        if (wideNames) {
            const auto* bytes = reinterpret_cast<const char*>(path.c_str());
            names.insert(names.end(), bytes, bytes + (path.size() + 1) * sizeof(wchar_t));
        } else {
            const int size = WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
            std::string ansi(static_cast<std::size_t>(size), '\0');
            WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, ansi.data(), size, nullptr, nullptr);
            names.insert(names.end(), ansi.begin(), ansi.end());
        }
    }
    names.insert(names.end(), wideNames ? 2 : 1, '\0');
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = wideNames ? TRUE : FALSE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(block);
    return block;
}

pw::DragRef dragOf(HGLOBAL list) { return static_cast<pw::DragRef>(reinterpret_cast<std::uintptr_t>(list)); }

TEST(Win32Drops, AShellFileListGivesEveryPathWithItsNonAsciiName) {
    TempDir dir;
    const std::vector<std::string> names{"Bild ä.tif", "写真.jpg", "Ordner ø"};
    std::vector<std::wstring> paths;
    for (const std::string& name : names) {
        const std::string path = dir.text() + "\\" + name;
        if (name.find('.') != std::string::npos) {
            writeFile(path, "x");
        } else {
            std::filesystem::create_directory(pathFromUtf8(path));
        }
        paths.push_back(wide(path));
    }
    HGLOBAL list = shellDropList(paths);
    const pw::PasteboardRef board = pw::dragPasteboard(dragOf(list));
    ASSERT_NE(board, pw::PasteboardRef::None);
    EXPECT_EQ(pw::dragPasteboard(dragOf(list)), board);  // one reference per drag
    ASSERT_EQ(pw::pasteboardItemCount(board), 3);
    EXPECT_EQ(pw::pasteboardItemIdentifier(board, 4), 0U);
    EXPECT_EQ(pw::clearPasteboard(board), -1);  // the drag belongs to its source

    const MyPasteboard drag(dragOf(list));
    EXPECT_FALSE(drag.owned());
    for (int item = 1; item <= 3; ++item) {
        SCOPED_TRACE(item);
        char path[kPathSize] = {};
        ASSERT_TRUE(drag.getPath(item, path));
        EXPECT_EQ(path, dir.text() + "\\" + names[static_cast<std::size_t>(item - 1)]);
    }
    EXPECT_FALSE(drag.getPath(4));
    char tooSmall[8] = {};
    EXPECT_FALSE(drag.getPath(1, tooSmall, sizeof tooSmall));
    EXPECT_EQ(pw::pasteboardCopyFlavorData(board, 1, pw::kFlavorUtf8Text, nullptr, 0), -1);

    // The same list in the ANSI form (Latin names only: the code page's).
    HGLOBAL ansi = shellDropList({paths[0]}, false);
    char path[kPathSize] = {};
    EXPECT_TRUE(MyPasteboard(dragOf(ansi)).getPath(1, path));
    EXPECT_EQ(path, dir.text() + "\\" + names[0]);
    GlobalFree(ansi);
    GlobalFree(list);
}

TEST(Win32Drops, BrokenFileListsAreRefusedBeforeAnythingReadsThem) {
    struct Case {
        const char* what;
        DWORD pFiles;
        std::vector<wchar_t> names;
    };
    const Case cases[] = {
        {"list offset past the end", 4096, {L'a', 0, 0}},
        {"list offset inside the header", 4, {L'a', 0, 0}},
        {"no closing zero", sizeof(DROPFILES), {L'C', L':', L'\\', L'a'}},
        {"one zero only after a name", sizeof(DROPFILES), {L'C', L':', 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + c.names.size() * sizeof(wchar_t));
        auto* header = static_cast<DROPFILES*>(GlobalLock(block));
        header->pFiles = c.pFiles;
        header->fWide = TRUE;
        std::memcpy(header + 1, c.names.data(), c.names.size() * sizeof(wchar_t));
        GlobalUnlock(block);
        EXPECT_EQ(pw::dragPasteboard(dragOf(block)), pw::PasteboardRef::None);
        GlobalFree(block);
    }
    EXPECT_EQ(pw::dragPasteboard(pw::DragRef::None), pw::PasteboardRef::None);
}

TEST(Win32FileUrls, PathsAndUrlsTurnIntoEachOther) {
    struct Case {
        const char* path;
        const char* url;
    };
    const Case cases[] = {
        {"C:\\Bilder\\a b.tif", "file:///C:/Bilder/a%20b.tif"},
        {"C:\\", "file:///C:/"},
        {"D:\\Jobs\\Grüße\\#1%.eps", "file:///D:/Jobs/Gr%C3%BC%C3%9Fe/%231%25.eps"},
        {"\\\\server\\share\\x.pdf", "file://server/share/x.pdf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(platform::win32::fileUrlFromPath(c.path), c.url);
        std::string back;
        ASSERT_TRUE(platform::win32::pathFromFileUrl(c.url, back, 1024));
        EXPECT_EQ(back, c.path);
    }
    EXPECT_EQ(platform::win32::fileUrlFromPath("\\\\?\\C:\\long\\x"), "file:///C:/long/x");
    EXPECT_EQ(platform::win32::fileUrlFromPath("\\\\?\\UNC\\srv\\s\\x"), "file://srv/s/x");

    struct Other {
        const char* url;
        const char* path;  // null: refused
    };
    const Other others[] = {
        {"FILE://localhost/C:/a/", "C:\\a"},
        {"file:///C:/a%2", nullptr},
        {"file:///C:/a%zz", nullptr},
        {"file:///C:/a%00b", nullptr},
        {"file:///relative", nullptr},
        {"http://host/C:/a", nullptr},
        {"file://", nullptr},
    };
    for (const Other& o : others) {
        SCOPED_TRACE(o.url);
        std::string path = "unchanged";
        EXPECT_EQ(platform::win32::pathFromFileUrl(o.url, path, 1024), o.path != nullptr);
        EXPECT_EQ(path, o.path != nullptr ? o.path : "unchanged");
    }
    std::string path;
    EXPECT_TRUE(platform::win32::pathFromFileUrl("file:///C:/abc", path, 6));
    EXPECT_FALSE(platform::win32::pathFromFileUrl("file:///C:/abcd", path, 6));
}

}  // namespace
}  // namespace lumbrel::test

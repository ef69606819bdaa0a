// The module's dialogs on the real screen: placed centred horizontally at a
// quarter of the free height of the work area, modal or modeless; and the
// modeless shell's message log, one CR LF line per message but the cursor,
// hit-test and non-client mouse-move ones.
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>

#include "platform/win32/windows_api.h"
#include "ui/dialog_functions.h"
#include "ui_win32/win32_fixture.h"
#include "util/log.h"

namespace lumbrel::test {
namespace {

namespace pw = platform;

bool accept(WindowPtr, std::intptr_t) { return true; }

// Where the module places a window of that outer size.
POINT expectedPlace(const RECT& outer) {
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const LONG freeWidth = (work.right - work.left) - (outer.right - outer.left);
    const LONG freeHeight = (work.bottom - work.top) - (outer.bottom - outer.top);
    return {work.left + (freeWidth > 0 ? freeWidth / 2 : 0), work.top + (freeHeight > 0 ? freeHeight / 4 : 0)};
}

using DialogPlacementTest = Win32Test;

TEST_F(DialogPlacementTest, ModalAndModelessDialogsSitCentredAtAQuarterOfTheFreeHeight) {
    for (const char* name : {"Rename", "SWAP", "IMGLIST"}) {
        SCOPED_TRACE(name);
        RECT modal{};
        UserSteps steps({[&] {
            const HWND active = ::GetActiveWindow();
            if (active == nullptr || !::IsWindowVisible(active)) return false;
            modal = screenRectOf(active);
            ::PostMessageW(active, WM_COMMAND, IDCANCEL, 0);
            return true;
        }});
        EXPECT_EQ(doModalDialog(name, accept, 0), kCmdCancel);
        ASSERT_TRUE(steps.finished());
        const POINT wanted = expectedPlace(modal);
        EXPECT_EQ(modal.left, wanted.x);
        EXPECT_EQ(modal.top, wanted.y);

        const WindowPtr modeless = doModelessDialog(name, accept, nullptr, 0);
        ASSERT_NE(modeless, nullptr);
        const RECT outer = screenRectOf(reinterpret_cast<HWND>(modeless));
        const POINT place = expectedPlace(outer);
        EXPECT_EQ(outer.left, place.x);
        EXPECT_EQ(outer.top, place.y);
        pw::destroyWindow(modeless);
    }
}

TEST_F(DialogPlacementTest, TheModelessShellLogsEveryMessageButCursorAndHitTestsInCrLfLines) {
    TempDir documents;
    DocumentsFolderRedirect redirect;
    ASSERT_TRUE(redirect.set(documents.text()));
    setupDump(2);
    const WindowPtr window = doModelessDialog("Rename", accept, nullptr, 0);
    ASSERT_NE(window, nullptr);
    const HWND hwnd = reinterpret_cast<HWND>(window);
    ::SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(10, 10));
    ::SendMessageW(hwnd, WM_NCMOUSEMOVE, HTCAPTION, 0);
    ::SendMessageW(hwnd, WM_USER + 1, 0xABCDEF, -1);
    pw::destroyWindow(window);
    const std::string log = readFile(documents.file("Lumbrel.log"));
    setupDump(0);

    EXPECT_NE(log.find(": msg = 401, wParam = 00abcdef, lParam = ffffffff\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find(": msg = 2, wParam = 00000000, lParam = 00000000\r\n"), std::string::npos);  // WM_DESTROY
    for (const char* absent : {": msg = 20,", ": msg = 84,", ": msg = a0,"}) EXPECT_EQ(log.find(absent), std::string::npos) << absent;
    // Nothing else is written in between: every line has the one form.
    const std::regex line(": msg = [0-9a-f]+, wParam = [0-9a-f]{8}, lParam = [0-9a-f]{8}\r");
    std::istringstream lines(log);
    int count = 0;
    for (std::string text; std::getline(lines, text); ++count) EXPECT_TRUE(std::regex_match(text, line)) << text;
    EXPECT_GT(count, 3);
    EXPECT_EQ(log.back(), '\n');
}

}  // namespace
}  // namespace lumbrel::test

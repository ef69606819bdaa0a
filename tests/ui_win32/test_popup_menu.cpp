// The pop-up menu: keys in its loop choose an item or dismiss it.
#include <string>
#include <vector>

#include "ui_win32/win32_fixture.h"

namespace lumbrel::test {
namespace {

namespace pw = platform;

using PopupMenuTest = Win32Test;

TEST_F(PopupMenuTest, KeysChooseAnItemOrDismissTheMenu) {
    struct Row {
        const char* what;
        std::vector<UINT> keys;
        int expected;
    };
    const Row rows[] = {
        {"down twice, Return: the second item", {VK_DOWN, VK_DOWN, VK_RETURN}, 1},
        {"down once, Return: the first item", {VK_DOWN, VK_RETURN}, 0},
        {"Escape: dismissed", {VK_ESCAPE}, -1},
    };
    const pw::WindowRef frame = topLevel();
    ::ShowWindow(reinterpret_cast<HWND>(frame), SW_SHOW);
    ::SetActiveWindow(reinterpret_cast<HWND>(frame));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        std::size_t next = 0;
        bool menuSeen = false;
        UserSteps steps({
            [&] { return menuSeen = ::FindWindowW(L"#32768", nullptr) != nullptr; },
            [&] {
                postKey(reinterpret_cast<HWND>(frame), row.keys[next]);
                return ++next == row.keys.size();
            },
        });
        const pw::WindowPoint at = pw::clientToScreen(frame, {20, 20});
        EXPECT_EQ(pw::trackPopupMenu(frame, {"Alpha", "Gr\xC3\xBC\xC3\x9F" "e", "Gamma"}, at.x, at.y, -1),
                  row.expected);
        EXPECT_TRUE(menuSeen);
    }
}

}  // namespace
}  // namespace lumbrel::test

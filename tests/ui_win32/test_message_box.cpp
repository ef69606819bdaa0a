// Alerts through the "MSGBOX" template: texts, buttons, answers, and the box
// growing with its text (compared with the short-text box, never in pixels).
#include <string>

#include "platform/alerts.h"
#include "ui_win32/win32_fixture.h"

namespace lumbrel::test {
namespace {

namespace pw = platform;

enum class Act { ClickDefault, ClickCancel, ClickOther, Return, Escape, CloseBox };

struct AlertRow {
    const char* what;
    const char* message;
    const char* informative;
    const char* cancel;
    const char* other;
    Act act;
    int expected;
};

struct Seen {
    bool found = false;
    std::wstring title;
    std::wstring text;
    std::wstring defaultTitle;
    bool cancelShown = false;
    bool otherShown = false;
    RECT box{};
    RECT textRect{};
    RECT defaultButton{};
    bool ownerDisabled = false;
};

HWND gOwner = nullptr;

void press(HWND box, Act act) {
    switch (act) {
        case Act::ClickDefault: ::PostMessageW(::GetDlgItem(box, 1), BM_CLICK, 0, 0); break;
        case Act::ClickCancel: ::PostMessageW(::GetDlgItem(box, 2), BM_CLICK, 0, 0); break;
        case Act::ClickOther: ::PostMessageW(::GetDlgItem(box, 3), BM_CLICK, 0, 0); break;
        case Act::Return: postKey(::GetFocus(), VK_RETURN); break;
        case Act::Escape: postKey(::GetFocus(), VK_ESCAPE); break;
        case Act::CloseBox: ::PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    }
}

std::wstring itemText(HWND box, int id) {
    wchar_t text[1024] = {};
    ::GetDlgItemTextW(box, id, text, 1024);
    return text;
}

Seen runRow(const AlertRow& row) {
    Seen seen;
    UserSteps steps({[&] {
        const HWND box = findThreadWindow(L"Lumbrel");
        if (box == nullptr) return false;
        seen.found = true;
        seen.title = L"Lumbrel";
        seen.text = itemText(box, 10);
        seen.defaultTitle = itemText(box, 1);
        seen.cancelShown = ::IsWindowVisible(::GetDlgItem(box, 2)) != FALSE;
        seen.otherShown = ::GetDlgItem(box, 3) != nullptr && ::IsWindowVisible(::GetDlgItem(box, 3));
        seen.box = screenRectOf(box);
        seen.textRect = screenRectOf(::GetDlgItem(box, 10));
        seen.defaultButton = screenRectOf(::GetDlgItem(box, 1));
        seen.ownerDisabled = gOwner != nullptr && !::IsWindowEnabled(gOwner);
        press(box, row.act);
        return true;
    }});
    const int answer = pw::runAlert(pw::AlertStyle::Note, pw::kProductName, row.message, row.informative, nullptr,
                                    row.cancel, row.other);
    EXPECT_TRUE(steps.finished());
    EXPECT_EQ(answer, row.expected);
    return seen;
}

using MessageBoxTest = Win32Test;

const std::string kLong = [] {
    std::string text;
    for (int i = 0; i < 40; ++i) text += "A rather long sentence that has to wrap. ";
    return text;
}();

TEST_F(MessageBoxTest, ButtonsAnswerTheirItemAndTheCloseBoxAndEscapeAnswerCancel) {
    const AlertRow rows[] = {
        {"OK clicked", "Short.", nullptr, "Cancel", nullptr, Act::ClickDefault, 1},
        {"Cancel clicked", "Short.", nullptr, "Cancel", nullptr, Act::ClickCancel, 2},
        {"Return", "Short.", nullptr, "Cancel", nullptr, Act::Return, 1},
        {"Escape", "Short.", nullptr, "Cancel", nullptr, Act::Escape, 2},
        {"the close box", "Short.", nullptr, "Cancel", nullptr, Act::CloseBox, 2},
        {"the close box without Cancel: the only button", "Short.", nullptr, nullptr, nullptr, Act::CloseBox, 1},
        {"Escape without Cancel", "Short.", nullptr, nullptr, nullptr, Act::Escape, 1},
        {"the third button", "Short.", nullptr, "Cancel", "Other", Act::ClickOther, 3},
    };
    for (const AlertRow& row : rows) {
        SCOPED_TRACE(row.what);
        const Seen seen = runRow(row);
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.cancelShown, row.cancel != nullptr);
        EXPECT_EQ(seen.otherShown, row.other != nullptr);
        EXPECT_EQ(seen.defaultTitle, L"OK");
    }
}

TEST_F(MessageBoxTest, TheBoxGrowsWithItsTextAndItsButtonsMoveDownAsMuch) {
    const Seen small = runRow({"short", "Short.", nullptr, "Cancel", nullptr, Act::ClickDefault, 1});
    const Seen large = runRow({"long", kLong.c_str(), nullptr, "Cancel", nullptr, Act::ClickDefault, 1});
    const Seen both = runRow({"informative", "Short.", "Second line.", "Cancel", nullptr, Act::ClickDefault, 1});
    ASSERT_TRUE(small.found && large.found && both.found);
    const long grown = (large.box.bottom - large.box.top) - (small.box.bottom - small.box.top);
    EXPECT_GT(grown, 0);
    EXPECT_EQ(large.box.right - large.box.left, small.box.right - small.box.left);  // wraps, never widens
    EXPECT_EQ((large.textRect.bottom - large.textRect.top) - (small.textRect.bottom - small.textRect.top), grown);
    EXPECT_EQ((large.defaultButton.top - large.box.top) - (small.defaultButton.top - small.box.top), grown);
    EXPECT_LE(large.box.bottom - large.box.top, pw::screenRect().height);
    // The informative text follows two carriage returns.
    EXPECT_EQ(both.text, L"Short.\r\rSecond line.");
    // Three lines (the blank one between) need more than the short box has.
    EXPECT_GT(both.box.bottom - both.box.top, small.box.bottom - small.box.top);
}

TEST_F(MessageBoxTest, TheActiveWindowIsDisabledWhileTheBoxIsShown) {
    const pw::WindowRef frame = topLevel();
    ::ShowWindow(reinterpret_cast<HWND>(frame), SW_SHOW);
    ::SetActiveWindow(reinterpret_cast<HWND>(frame));
    gOwner = reinterpret_cast<HWND>(frame);
    const Seen seen = runRow({"owned", "Short.", nullptr, nullptr, nullptr, Act::ClickDefault, 1});
    gOwner = nullptr;
    EXPECT_TRUE(seen.ownerDisabled);
    EXPECT_TRUE(pw::isWindowEnabled(frame));
}

}  // namespace
}  // namespace lumbrel::test

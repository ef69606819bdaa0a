#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/window_system.h"
#include "ui/controls.h"
#include "ui/dialog_functions.h"
#include "ui/dialog_test_support.h"
#include "util/log.h"
#include "util/my_array.h"

namespace lumbrel {
namespace {

using desktop::DialogAction;
using desktop::DialogKey;
using desktop::DialogRequest;
using test::control;

class DialogFunctions : public test::DialogTest {};

struct HandlerLog {
    int calls = 0;
    bool answer = false;
    std::intptr_t user = 0;
};

bool recordHandler(ControlRef, WindowPtr, std::intptr_t user) {
    auto* log = reinterpret_cast<HandlerLog*>(user);
    ++log->calls;
    return log->answer;
}

bool installOKHandler(WindowPtr window, std::intptr_t user) {
    setControlHandler(window, static_cast<unsigned long>(kItemOK), recordHandler, user);
    return true;
}

TEST_F(DialogFunctions, OKWithAHandlerAnsweringTrueStaysOpenAndFalseEndsWithOK) {
    addDescription("Dlg", okCancel() + control("####"));
    HandlerLog log;
    log.answer = true;
    agent().queueDialogAction(DialogAction::click(1));
    agent().queueDialogAction(DialogAction::click(2));
    EXPECT_EQ(doModalDialog("Dlg", installOKHandler, reinterpret_cast<std::intptr_t>(&log)), kCmdCancel);
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(agent().dialogsSeen().size(), 2U);  // still open after OK

    log = HandlerLog{};
    agent().queueDialogAction(DialogAction::click(1));
    EXPECT_EQ(doModalDialog("Dlg", installOKHandler, reinterpret_cast<std::intptr_t>(&log)), kCmdOK);
    EXPECT_EQ(log.calls, 1);

    // No handler at all: OK ends with OK, Cancel with Cancel.
    agent().queueDialogAction(DialogAction::click(1));
    EXPECT_EQ(doModalDialog("Dlg", nullptr, 0), kCmdOK);
    agent().queueDialogAction(DialogAction::click(2));
    EXPECT_EQ(doModalDialog("Dlg", nullptr, 0), kCmdCancel);
}

bool refuse(WindowPtr, std::intptr_t) { return false; }

TEST_F(DialogFunctions, KeyboardCloseBoxAndFailuresGiveTheirCodes) {
    addDescription("Dlg", okCancel() + control("etxt", "<id>3</id><rect>10 10 100 13</rect>") + control("####"));
    agent().queueDialogAction(DialogAction::press(DialogKey::Return));
    EXPECT_EQ(doModalDialog("Dlg", nullptr, 0), kCmdOK);
    agent().queueDialogAction(DialogAction::press(DialogKey::Escape));
    EXPECT_EQ(doModalDialog("Dlg", nullptr, 0), kCmdCancel);
    agent().queueDialogAction(DialogAction::closeBox());
    EXPECT_EQ(doModalDialog("Dlg", nullptr, 0), kCmdCancel);

    const std::size_t seen = agent().dialogsSeen().size();
    EXPECT_EQ(doModalDialog("Missing", nullptr, 0), 0U);
    EXPECT_EQ(doModalDialog("Dlg", refuse, 0), 0U);
    EXPECT_EQ(agent().dialogsSeen().size(), seen);  // neither was shown
    EXPECT_EQ(doModalDialog(nullptr, nullptr, 0), 0U);
}

struct ReturnCase {
    const char* what;
    unsigned long focus;  // the control holding the focus
    bool okEnabled;
    bool okShown;
    std::uint32_t result;  // Return, then a click on Cancel
};

bool prepareReturnCase(WindowPtr window, std::intptr_t user) {
    const auto& c = *reinterpret_cast<const ReturnCase*>(user);
    enableControl(window, static_cast<unsigned long>(kItemOK), c.okEnabled);
    showControl(window, static_cast<unsigned long>(kItemOK), c.okShown);
    lumbrel::setFocus(getControl(window, c.focus));
    return true;
}

TEST_F(DialogFunctions, ReturnPressesOnlyAnOKButtonTheUserCouldPress) {
    addDescription("Dlg", okCancel() + control("etxt", "<id>3</id><rect>10 10 100 13</rect>") +
                              control("popb", "<id>4</id><menu>A</menu><menu>B</menu><rect>10 40 100 13</rect>") +
                              control("####"));
    const ReturnCase cases[] = {
        {"edit field, OK enabled", 3, true, true, kCmdOK},
        {"edit field, OK disabled", 3, false, true, kCmdCancel},
        {"pop-up, OK disabled", 4, false, true, kCmdCancel},
        {"edit field, OK hidden", 3, true, false, kCmdCancel},
    };
    for (const ReturnCase& c : cases) {
        SCOPED_TRACE(c.what);
        agent().queueDialogAction(DialogAction::press(DialogKey::Return));
        agent().queueDialogAction(DialogAction::click(2));
        EXPECT_EQ(doModalDialog("Dlg", prepareReturnCase, reinterpret_cast<std::intptr_t>(&c)), c.result);
    }
}

bool keepOpen(WindowPtr, std::intptr_t user) {
    ++*reinterpret_cast<int*>(user);
    return true;
}

bool installCloseProc(WindowPtr window, std::intptr_t) { return setWindowHandler(window, kEventWindowClose, keepOpen); }

TEST_F(DialogFunctions, CloseProcedureAnsweringTrueKeepsTheDialog) {
    addDescription("Dlg", okCancel() + control("####"));
    int closes = 0;
    agent().queueDialogAction(DialogAction::closeBox());
    agent().queueDialogAction(DialogAction::click(1));
    EXPECT_EQ(doModalDialog("Dlg", installCloseProc, reinterpret_cast<std::intptr_t>(&closes)), kCmdOK);
    EXPECT_EQ(closes, 1);
}

bool quitWithCode(ControlRef, WindowPtr window, std::intptr_t user) {
    quitModalDialog(window, static_cast<std::uint32_t>(user));
    return true;
}

bool installQuit(WindowPtr window, std::intptr_t) {
    setControlHandler(window, 5, quitWithCode, static_cast<std::intptr_t>(fourCC("done")));
    return true;
}

TEST_F(DialogFunctions, QuitModalDialogEndsWithItsCode) {
    addDescription("Dlg", okCancel() + control("push", "<id>5</id><cmd>quit</cmd><text>Quit</text>") + control("####"));
    agent().queueDialogAction(DialogAction::click(5));
    EXPECT_EQ(doModalDialog("Dlg", installQuit, 0), fourCC("done"));
}

bool installPopupHandler(WindowPtr window, std::intptr_t user) {
    setControlHandler(window, 4UL, recordHandler, user);
    return true;
}

TEST_F(DialogFunctions, PopupHandlerIsCalledOnceWhenItsListCloses) {
    addDescription("Dlg", okCancel() +
                              control("popb", "<id>4</id><text>A</text><menu>A</menu><menu>B</menu><rect>10 10 100 13</rect>") +
                              control("####"));
    HandlerLog log;
    agent().queueDialogAction(DialogAction::choose(4, "B"));
    agent().queueDialogAction(DialogAction::click(2));
    EXPECT_EQ(doModalDialog("Dlg", installPopupHandler, reinterpret_cast<std::intptr_t>(&log)), kCmdCancel);
    EXPECT_EQ(log.calls, 1);
}

struct TimerRun {
    int ticks = 0;
    std::intptr_t userSeen = 0;
};

bool tick(WindowPtr window, std::intptr_t user) {
    auto* run = reinterpret_cast<TimerRun*>(user);
    run->userSeen = user;
    if (++run->ticks == 3) quitModalDialog(window, fourCC("tick"));
    return true;
}

bool startTimer(WindowPtr window, std::intptr_t) { return setTimer(window, tick, 0.05F); }

TEST_F(DialogFunctions, TimerTicksWithTheDialogValueUntilQuit) {
    addDescription("Dlg", okCancel() + control("####"));
    TimerRun run;
    const std::uint64_t before = desk().clockMilliseconds();
    EXPECT_EQ(doModalDialog("Dlg", startTimer, reinterpret_cast<std::intptr_t>(&run)), fourCC("tick"));
    EXPECT_EQ(run.ticks, 3);
    EXPECT_EQ(run.userSeen, reinterpret_cast<std::intptr_t>(&run));
    // The first tick comes at once, then two periods of 50 ms.
    EXPECT_GE(desk().clockMilliseconds() - before, 100U);
    EXPECT_LT(desk().clockMilliseconds() - before, 150U);
}

// ---- Progress -----------------------------------------------------------------------

struct StepLog {
    std::vector<std::int32_t> items;
    std::size_t failAt = SIZE_MAX;
    std::vector<std::int16_t> barValues;
};

bool step(WindowPtr window, void* item, std::intptr_t user) {
    auto* log = reinterpret_cast<StepLog*>(user);
    log->items.push_back(*static_cast<std::int32_t*>(item));
    log->barValues.push_back(getControlValue(window, kCmdProgressBar));
    return log->items.size() - 1 != log->failAt;
}

std::string progressDescription() {
    return control("prgb", "<cmd>prog</cmd><rect>10 10 280 16</rect>") +
           control("push", "<id>2</id><cmd>not!</cmd><text>Cancel</text><rect>200 40 80 20</rect>") + control("####");
}

void fill(MyArray& items, std::initializer_list<std::int32_t> values) {
    ASSERT_TRUE(items.setup(4, sizeof(std::int32_t)));
    for (std::int32_t v : values) ASSERT_TRUE(items.addElem(&v));
}

TEST_F(DialogFunctions, ProgressStepsEveryItemInOrderAndEndsWithOK) {
    addDescription("Progress", progressDescription());
    MyArray items;
    fill(items, {10, 20, 30});
    StepLog log;
    EXPECT_EQ(doProgressDialog("progTitle", step, &items, reinterpret_cast<std::intptr_t>(&log)), kCmdOK);
    EXPECT_EQ(log.items, (std::vector<std::int32_t>{10, 20, 30}));
    EXPECT_EQ(log.barValues, (std::vector<std::int16_t>{1, 2, 3}));
    ASSERT_FALSE(agent().dialogsSeen().empty());
    const DialogRequest& shown = agent().dialogsSeen().front();
    EXPECT_EQ(shown.title, "Working");
    ASSERT_NE(shown.control(2), nullptr);
    EXPECT_EQ(shown.control(2)->text, "Stop it");
    bool sawBar = false;
    for (const auto& c : shown.controls) {
        if (c.kind == desktop::ControlKind::ProgressBar) {
            sawBar = true;
            EXPECT_EQ(c.maximum, 3);
        }
    }
    EXPECT_TRUE(sawBar);

    // The product name as title.
    StepLog again;
    EXPECT_EQ(doProgressDialog(step, &items, reinterpret_cast<std::intptr_t>(&again)), kCmdOK);
    EXPECT_EQ(agent().dialogsSeen().back().title, "Lumbrel");
}

TEST_F(DialogFunctions, ProgressWithoutItemsShowsNothingAndFailingStepOrCancelEndIt) {
    addDescription("Progress", progressDescription());
    MyArray empty;
    StepLog log;
    EXPECT_EQ(doProgressDialog("progTitle", step, &empty, reinterpret_cast<std::intptr_t>(&log)), kCmdOK);
    EXPECT_EQ(doProgressDialog("progTitle", step, nullptr, reinterpret_cast<std::intptr_t>(&log)), kCmdOK);
    EXPECT_TRUE(log.items.empty());
    EXPECT_TRUE(agent().dialogsSeen().empty());
    EXPECT_EQ(desk().liveWindowCount(), 0U);

    MyArray items;
    fill(items, {1, 2, 3});
    log.failAt = 1;
    EXPECT_EQ(doProgressDialog("progTitle", step, &items, reinterpret_cast<std::intptr_t>(&log)), 0U);
    EXPECT_EQ(log.items, (std::vector<std::int32_t>{1, 2}));

    StepLog cancelled;
    agent().queueDialogAction(DialogAction::click(2));
    EXPECT_EQ(doProgressDialog("progTitle", step, &items, reinterpret_cast<std::intptr_t>(&cancelled)), kCmdCancel);
    EXPECT_LT(cancelled.items.size(), 3U);
    StepLog escaped;
    agent().queueDialogAction(DialogAction::press(DialogKey::Escape));
    EXPECT_EQ(doProgressDialog("progTitle", step, &items, reinterpret_cast<std::intptr_t>(&escaped)), kCmdCancel);
    EXPECT_LT(escaped.items.size(), 3U);

    // Return has no OK to press: only the end of the walk answers OK.
    StepLog returned;
    agent().queueDialogAction(DialogAction::press(DialogKey::Return));
    EXPECT_EQ(doProgressDialog("progTitle", step, &items, reinterpret_cast<std::intptr_t>(&returned)), kCmdOK);
    EXPECT_EQ(returned.items, (std::vector<std::int32_t>{1, 2, 3}));

    // Without the description the progress dialog cannot run.
    std::remove(dir_.file("Progress_E.xml").c_str());
    StepLog missing;
    EXPECT_EQ(doProgressDialog("progTitle", step, &items, reinterpret_cast<std::intptr_t>(&missing)), 0U);
    EXPECT_TRUE(missing.items.empty());
}

// ---- Text entry ----------------------------------------------------------------------

TEST_F(DialogFunctions, StringFromDialogCopiesBackAtMost255BytesOnOKOnly) {
    addDescription("Rename", okCancel() + control("etxt", "<id>3</id><rect>10 10 200 13</rect>") + control("####"));
    char buffer[300];
    std::memset(buffer, '#', sizeof buffer);
    std::strcpy(buffer, "old name");

    agent().setDialogStep([](const DialogRequest& dialog) {
        if (dialog.turn == 1) {
            EXPECT_EQ(dialog.control(3)->text, "old name");
            EXPECT_TRUE(dialog.control(3)->focused);
        }
        return DialogAction::none();
    });
    agent().queueDialogAction(DialogAction::setText(3, "new name"));
    agent().queueDialogAction(DialogAction::click(2));
    EXPECT_EQ(getStringFromDialog("Rename", buffer), kCmdCancel);
    EXPECT_STREQ(buffer, "old name");
    agent().setDialogStep(nullptr);

    agent().queueDialogAction(DialogAction::setText(3, std::string(400, 'x')));
    agent().queueDialogAction(DialogAction::click(1));
    EXPECT_EQ(getStringFromDialog("Rename", buffer), kCmdOK);
    EXPECT_EQ(std::strlen(buffer), 255U);
    EXPECT_EQ(buffer[256], '#');  // nothing written past the 256 bytes

    EXPECT_EQ(getStringFromDialog("Rename", nullptr), 0U);
}

// ---- Focus navigation ------------------------------------------------------------------

bool accept(WindowPtr, std::intptr_t) { return true; }

TEST_F(DialogFunctions, FocusNavigationSkipsHiddenAndDisabledAndWraps) {
    addDescription("Focus",
                   control("etxt", "<id>3</id><text>abc</text><rect>10 10 100 13</rect>") +
                       control("upan", "<id>20</id><rect>0 40 300 60</rect>") +
                       control("push", "<id>4</id><text>Inner</text><rect>10 10 80 20</rect>") +
                       control("stxt", "<id>7</id><text>label</text><rect>10 30 80 13</rect>") + control("####") +
                       control("push", "<id>5</id><text>Hidden</text><rect>10 110 80 20</rect>") +
                       control("push", "<id>6</id><text>Off</text><rect>100 110 80 20</rect>") +
                       control("etxt", "<id>8</id><text>defg</text><rect>10 140 100 13</rect>") + control("####"));
    WindowPtr window = doModelessDialog("Focus", accept, nullptr, 0);
    ASSERT_NE(window, nullptr);
    showControl(getControl(window, 5UL), false);
    enableControl(getControl(window, 6UL), false);
    platform::setFocus(nullptr);

    std::vector<int> forward;
    for (int i = 0; i < 4; ++i) {
        moveDialogFocus(window, false);
        forward.push_back(platform::controlId(platform::focusedWindow()));
    }
    EXPECT_EQ(forward, (std::vector<int>{3, 4, 8, 3}));
    int start = -1, end = -1;
    platform::editSelection(getControl(window, 3UL), start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 3);

    // Backwards from the first wraps to the last; with no focus it starts at the last.
    moveDialogFocus(window, true);
    EXPECT_EQ(platform::controlId(platform::focusedWindow()), 8);
    platform::setFocus(nullptr);
    moveDialogFocus(window, true);
    EXPECT_EQ(platform::controlId(platform::focusedWindow()), 8);

    // The dialog message does the same.
    platform::sendMessage(window, platform::Message::NextDialogControl, 0, 0);
    EXPECT_EQ(platform::controlId(platform::focusedWindow()), 3);
    platform::destroyWindow(window);
}

TEST_F(DialogFunctions, TabKeysInAModalDialogMoveTheFocus) {
    addDescription("Dlg", control("etxt", "<id>3</id><rect>10 10 100 13</rect>") +
                              control("etxt", "<id>4</id><rect>10 40 100 13</rect>") + okCancel() + control("####"));
    std::vector<int> focused;
    agent().setDialogStep([&focused](const DialogRequest& dialog) {
        focused.push_back(dialog.focusedId);
        if (focused.size() < 5) return DialogAction::press(DialogKey::Tab);
        if (focused.size() == 5) return DialogAction::press(DialogKey::ShiftTab);
        return DialogAction::click(2);
    });
    EXPECT_EQ(doModalDialog("Dlg", nullptr, 0), kCmdCancel);
    EXPECT_EQ(focused, (std::vector<int>{3, 4, 1, 2, 3, 2}));
}

// ---- Modeless --------------------------------------------------------------------------

bool closeCounter(WindowPtr, std::intptr_t user) {
    auto* count = reinterpret_cast<int*>(user);
    return ++*count == 1;  // keeps the window the first time only
}

TEST_F(DialogFunctions, ModelessDialogIsShownAndClosesThroughItsCloseProcedure) {
    addDescription("Tool", okCancel() + control("####"), "titleKey");
    int closes = 0;
    EXPECT_EQ(doModelessDialog("Missing", accept, closeCounter, 0), nullptr);
    EXPECT_EQ(doModelessDialog("Tool", refuse, closeCounter, 0), nullptr);
    EXPECT_EQ(desk().liveWindowCount(), 0U);

    WindowPtr window = doModelessDialog("Tool", accept, closeCounter, reinterpret_cast<std::intptr_t>(&closes));
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(platform::isWindowVisible(window));
    EXPECT_EQ(platform::windowText(window), "Localised Title");
    platform::sendMessage(window, platform::Message::Close);
    EXPECT_TRUE(platform::isWindow(window));
    platform::sendMessage(window, platform::Message::Close);
    EXPECT_FALSE(platform::isWindow(window));
    EXPECT_EQ(closes, 2);

    // OK without a handler ends a modeless dialog too: it closes.
    window = doModelessDialog("Tool", accept, nullptr, 0);
    ASSERT_NE(window, nullptr);
    platform::sendMessage(window, platform::Message::Command,
                          platform::commandParam(kItemOK, platform::Notification::Clicked), 0);
    EXPECT_FALSE(platform::isWindow(window));
}

// The log lands in the Documents folder of a scratch home; the mode goes back
// to 0 while that home is still set, so no real log is touched.
TEST_F(DialogFunctions, ModelessDialogLogsItsMessagesButCursorAndHitTests) {
    addDescription("Tool", okCancel() + control("####"));
    std::optional<std::string> home;
    if (const char* value = std::getenv("HOME")) home = value;
    std::optional<std::string> config;
    if (const char* value = std::getenv("XDG_CONFIG_HOME")) config = value;
    test::TempDir scratch;
    std::filesystem::create_directory(scratch.path() / "Documents");
    ::setenv("HOME", scratch.path().c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    setupDump(2);

    WindowPtr window = doModelessDialog("Tool", accept, nullptr, 0);
    ASSERT_NE(window, nullptr);
    platform::sendMessage(window, static_cast<platform::Message>(0x0020), 0x12, 0x34);  // cursor
    platform::sendMessage(window, static_cast<platform::Message>(0x0084), 0, 0);        // hit test
    platform::sendMessage(window, static_cast<platform::Message>(0x00A0), 0, 0);        // non-client move
    platform::sendMessage(window, static_cast<platform::Message>(0x0401), 0xABCDEF, -1);
    platform::destroyWindow(window);
    const std::string log = test::readFile(scratch.file("Documents/Lumbrel.txt"));
    setupDump(0);
    if (home) {
        ::setenv("HOME", home->c_str(), 1);
    } else {
        ::unsetenv("HOME");
    }
    if (config) ::setenv("XDG_CONFIG_HOME", config->c_str(), 1);

    EXPECT_NE(log.find(": msg = 110, wParam = 00000000, lParam = "), std::string::npos);  // InitDialog
    EXPECT_NE(log.find(": msg = 401, wParam = 00abcdef, lParam = ffffffff\r\n"), std::string::npos);
    EXPECT_EQ(log.find(": msg = 20,"), std::string::npos);
    EXPECT_EQ(log.find(": msg = 84,"), std::string::npos);
    EXPECT_EQ(log.find(": msg = a0,"), std::string::npos);
    EXPECT_NE(log.find(": msg = 2, "), std::string::npos);  // Destroy
}

TEST_F(DialogFunctions, DialogIsCentredAtAQuarterOfTheFreeHeight) {
    addDescription("Dlg", okCancel() + control("####"));
    WindowPtr window = doModelessDialog("Dlg", accept, nullptr, 0);
    ASSERT_NE(window, nullptr);
    const platform::WindowRect screen = platform::screenRect();
    const platform::WindowRect rect = platform::windowRect(window);
    EXPECT_EQ(rect.left, screen.left + (screen.width - rect.width) / 2);
    EXPECT_EQ(rect.top, screen.top + (screen.height - rect.height) / 4);
    platform::destroyWindow(window);
}

}  // namespace
}  // namespace lumbrel

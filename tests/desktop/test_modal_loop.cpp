#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialog_fixture.h"
#include "support/message_sequence.h"

namespace lumbrel::test {
namespace {

namespace pw = platform;
using desktop::DialogAction;
using desktop::DialogKey;
using pw::Message;
using pw::WindowRef;
using namespace dialog_ids;

class ModalLoopTest : public DialogTest {};

TEST_F(ModalLoopTest, ClickingOkEndsTheDialogAndTheTranscriptTellsTheStory) {
    agent->queueDialogAction(DialogAction::check(kCheck));
    agent->queueDialogAction(DialogAction::setText(kEdit, "Ä new"));
    agent->queueDialogAction(DialogAction::click(kOk));
    DialogScript script;
    script.title = "Image List";
    EXPECT_EQ(runTestDialog(script), 1);
    EXPECT_EQ(dialogLog(), (std::vector<std::string>{"command 3 clicked", "command 4 change", "command 1 clicked"}));
    EXPECT_EQ(dialogLines(), (std::vector<std::string>{
                                 "dialog \"Image List\" opened",
                                 "dialog \"Image List\": check 3 \"Labels\"",
                                 "dialog \"Image List\": set text 4 \"Ä new\"",
                                 "dialog \"Image List\": click 1 \"OK\"",
                                 "dialog \"Image List\" closed -> 1",
                             }));
    // The dialog is gone once the loop is over.
    EXPECT_EQ(desk().liveWindowCount(), 0u);
    EXPECT_EQ(desk().modalDepth(), 0u);
    EXPECT_EQ(desk().agentFaults(), 0u);
}

TEST_F(ModalLoopTest, TheAgentSeesEveryControlWithItsState) {
    agent->queueDialogAction(DialogAction::clickTitled("Cancel"));
    DialogScript script;
    EXPECT_EQ(runTestDialog(script), 2);
    ASSERT_EQ(agent->dialogsSeen().size(), 1u);
    const desktop::DialogRequest& seen = agent->dialogsSeen()[0];
    EXPECT_EQ(seen.title, "Test Dialog");
    EXPECT_EQ(seen.turn, 1u);
    EXPECT_EQ(seen.nesting, 1);
    EXPECT_FALSE(seen.timerRunning);

    const desktop::ControlView* ok = seen.control(kOk);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->kind, desktop::ControlKind::DefaultButton);
    EXPECT_EQ(ok->className, "Button");
    EXPECT_EQ(ok->text, "OK");
    EXPECT_EQ(ok->rect.left, 220);
    EXPECT_EQ(ok->rect.width, 70);
    EXPECT_TRUE(ok->actionable());
    // InitDialog answered nonzero, so the first tab stop got the focus.
    EXPECT_TRUE(ok->focused);
    EXPECT_EQ(seen.focusedId, kOk);

    EXPECT_EQ(seen.control(kCheck)->kind, desktop::ControlKind::CheckBox);
    EXPECT_EQ(seen.control(kRadioA)->kind, desktop::ControlKind::RadioButton);
    EXPECT_EQ(seen.control(kEdit)->kind, desktop::ControlKind::EditText);
    EXPECT_EQ(seen.control(kEdit)->text, "start");
    EXPECT_EQ(seen.control(kPopup)->kind, desktop::ControlKind::PopUp);
    EXPECT_EQ(seen.control(kPopup)->items, (std::vector<std::string>{"Inches", "Millimetres"}));
    EXPECT_EQ(seen.control(kPopup)->value, 0);
    EXPECT_EQ(seen.control(kList)->kind, desktop::ControlKind::ListBox);
    EXPECT_EQ(seen.control(kTabs)->kind, desktop::ControlKind::TabControl);
    EXPECT_EQ(seen.control(kProgress)->maximum, 4);
    EXPECT_TRUE(seen.control(kPassword)->password);
    EXPECT_FALSE(seen.control(kDisabled)->enabled);
    EXPECT_FALSE(seen.control(kHidden)->visible);
    EXPECT_EQ(seen.controlTitled("Units:")->kind, desktop::ControlKind::StaticText);
}

// Return and Escape as IsDialogMessage turns them into commands: a focused
// push button wins, else the default button if enabled, else IDOK; Escape is
// IDCANCEL. lParam names the control of that id (null when there is none).
TEST_F(ModalLoopTest, ReturnAndEscapeBecomeTheDialogManagersCommands) {
    using namespace dialog_ids;
    constexpr int kOwnDefault = 20;
    struct Case {
        const char* what;
        DialogKey key;
        int focus;                                  // kOk (focused first), kCancel (by Tab) or kEdit (typed into)
        std::function<void(WindowRef)> prepare;     // changes to the test dialog
        int command;                                // the id the dialog gets
        int lParamControl;                          // whose handle lParam carries; 0: none
    };
    const auto ownDefault = [](WindowRef dialog) {
        pw::destroyWindow(pw::findChild(dialog, kOk));
        pw::createWindow(pw::kButtonClass, "Go", pw::style::kChild | pw::style::kVisible | pw::style::kDefPushButton,
                         0, {0, 0, 50, 20}, dialog, kOwnDefault);
    };
    const std::vector<Case> cases = {
        {"focused push button", DialogKey::Return, kCancel, nullptr, kCancel, kCancel},
        {"default button", DialogKey::Return, kEdit, nullptr, kOk, kOk},
        {"default button other than OK", DialogKey::Return, kEdit, ownDefault, kOwnDefault, kOwnDefault},
        {"disabled default: IDOK", DialogKey::Return, kEdit,
         [&](WindowRef dialog) {
             ownDefault(dialog);
             pw::enableWindow(pw::findChild(dialog, kOwnDefault), false);
         },
         kOk, 0},
        {"Escape", DialogKey::Escape, kEdit, nullptr, kCancel, kCancel},
        {"Escape on a focused OK", DialogKey::Escape, kOk, nullptr, kCancel, kCancel},
        {"Escape without Cancel", DialogKey::Escape, kEdit,
         [](WindowRef dialog) { pw::destroyWindow(pw::findChild(dialog, kCancel)); }, kCancel, 0},
    };
    for (const Case& c : cases) {
        MessageLog log({Message::Command, Message::Close});
        std::intptr_t lParam = 0;
        DialogScript script;
        script.onInit = [&](WindowRef dialog) {
            if (c.prepare) c.prepare(dialog);
            lParam = reinterpret_cast<std::intptr_t>(c.lParamControl != 0 ? pw::findChild(dialog, c.lParamControl)
                                                                            : nullptr);
            log.watch(dialog, "dialog");
        };
        script.onCommand = [](WindowRef dialog, int id, pw::Notification code) {
            if (code != pw::Notification::Clicked) return false;
            pw::endDialog(dialog, 100 + id);
            return true;
        };
        if (c.focus == kCancel) agent->queueDialogAction(DialogAction::press(DialogKey::Tab));
        if (c.focus == kEdit) agent->queueDialogAction(DialogAction::setText(kEdit, "x"));
        agent->queueDialogAction(DialogAction::press(c.key));
        EXPECT_EQ(runTestDialog(script), 100 + c.command) << c.what;
        expectSequence(log,
                       {{"dialog", Message::Command, kWParam | kOptional,
                         pw::commandParam(kEdit, pw::Notification::EditChange)},
                        {"dialog", Message::Command, kWParam | kLParam,
                         pw::commandParam(c.command, pw::Notification::Clicked), lParam}},
                       c.what);
    }
}

TEST_F(ModalLoopTest, KeysGoToTheDialogManagerUnlessTheControlWantsThemAll) {
    // Tab from OK (focused first) reaches Cancel, Shift-Tab goes back, Escape closes.
    agent->queueDialogAction(DialogAction::press(DialogKey::Tab));
    agent->queueDialogAction(DialogAction::press(DialogKey::ShiftTab));
    agent->queueDialogAction(DialogAction::press(DialogKey::ShiftTab));  // wraps round to the last tab stop
    agent->queueDialogAction(DialogAction::press(DialogKey::Escape));
    DialogScript script;
    EXPECT_EQ(runTestDialog(script), 2);
    ASSERT_EQ(agent->dialogsSeen().size(), 4u);
    EXPECT_EQ(agent->dialogsSeen()[1].focusedId, kCancel);
    EXPECT_EQ(agent->dialogsSeen()[2].focusedId, kOk);
    // Disabled and hidden tab stops are skipped: the last candidate is the password field.
    EXPECT_EQ(agent->dialogsSeen()[3].focusedId, kPassword);
    // Escape is Command IDCANCEL straight away, never the close request.
    EXPECT_EQ(dialogLog(), (std::vector<std::string>{"command 2 clicked"}));
}

std::vector<std::string>& keyLog() {
    static std::vector<std::string> log;
    return log;
}

pw::WindowProc keptEditProc = nullptr;

std::intptr_t LUMBREL_CALLBACK greedyEdit(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == Message::GetDialogCode) return pw::kWantAllKeys;
    if (message == Message::KeyDown) keyLog().push_back("down " + std::to_string(wParam));
    if (message == Message::Char) keyLog().push_back("char " + std::to_string(wParam));
    return pw::callWindowProc(keptEditProc, window, message, wParam, lParam);
}

TEST_F(ModalLoopTest, ReturnPressesTheDefaultButtonButAGreedyControlGetsTheKeyItself) {
    keyLog().clear();
    DialogScript script;
    script.onInit = [](WindowRef dialog) {
        const WindowRef edit = pw::findChild(dialog, kEdit);
        keptEditProc = pw::setWindowProc(edit, greedyEdit);
    };
    agent->queueDialogAction(DialogAction::click(kEdit));
    agent->queueDialogAction(DialogAction::press(DialogKey::Return));  // to the edit field: no end
    agent->queueDialogAction(DialogAction::type("é"));
    agent->queueDialogAction(DialogAction::press(DialogKey::Backspace));
    agent->queueDialogAction(DialogAction::type("x"));
    agent->queueDialogAction(DialogAction::click(kOk));
    agent->queueDialogAction(DialogAction::press(DialogKey::Return));  // OK has the focus now: the default button
    EXPECT_EQ(runTestDialog(script), 1);
    EXPECT_EQ(keyLog(), (std::vector<std::string>{"down 13", "char 13", "down 233", "char 233", "down 8", "char 8",
                                                  "down 88", "char 120"}));
    // The single-line field took no line break; the typed é was erased again.
    const desktop::DialogRequest& last = agent->dialogsSeen().back();
    EXPECT_EQ(last.control(kEdit)->text, "startx");
}

TEST_F(ModalLoopTest, WithoutADecisionTimersRunAndThenReturnTakesTheDefault) {
    // A progress-like dialog: three ticks, then it ends itself.
    DialogScript script;
    script.title = "Progress";
    script.onInit = [](WindowRef dialog) { ASSERT_TRUE(pw::setTimer(dialog, 1, 250)); };
    script.onTimer = [](WindowRef dialog, std::uintptr_t) {
        const WindowRef bar = pw::findChild(dialog, kProgress);
        pw::setControlValue(bar, pw::controlValue(bar) + 1);
        if (pw::controlValue(bar) == 4) pw::endDialog(dialog, 7);
    };
    desk().setAgent(nullptr);  // the default agent decides nothing
    EXPECT_EQ(runTestDialog(script), 7);
    EXPECT_EQ(dialogLog(), (std::vector<std::string>{"timer 1", "timer 1", "timer 1"}));
    EXPECT_EQ(desk().clockMilliseconds(), 750u);
    EXPECT_EQ(dialogLines(), (std::vector<std::string>{
                                 "dialog \"Progress\" opened",
                                 "dialog \"Progress\": no decision, waiting for the timer",
                                 "dialog \"Progress\" closed -> 7",
                             }));

    // No timer: Return presses the default button.
    dialogLog().clear();
    DialogScript plain;
    EXPECT_EQ(runTestDialog(plain), 1);
    EXPECT_EQ(dialogLog(), (std::vector<std::string>{"command 1 clicked"}));
    EXPECT_EQ(dialogLines()[4], "dialog \"Test Dialog\": no decision, key Return (default)");
    EXPECT_EQ(desk().defaultAgent().dialogQuestions(), 4u);
}

TEST_F(ModalLoopTest, ADefaultThatDoesNotEndTheDialogLeadsToClosingIt) {
    DialogScript stubborn;
    // OK is refused (as a handler answering true would); Cancel still works.
    stubborn.onCommand = [](WindowRef, int id, pw::Notification) { return id == kOk; };
    EXPECT_EQ(runTestDialog(stubborn), 2);
    EXPECT_EQ(dialogLog(), (std::vector<std::string>{"command 1 clicked", "close", "command 2 clicked"}));
    const std::vector<std::string> lines = dialogLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "dialog \"Test Dialog\": no decision again, closed (default)");
    EXPECT_EQ(lines[3], "dialog \"Test Dialog\" closed -> 2");
}

TEST_F(ModalLoopTest, ActionsOnMissingDisabledOrHiddenControlsAreRefusedAndCounted) {
    agent->queueDialogAction(DialogAction::click(99));
    agent->queueDialogAction(DialogAction::click(kDisabled));
    agent->queueDialogAction(DialogAction::click(kHidden));
    agent->queueDialogAction(DialogAction::clickTitled("Nobody"));
    agent->queueDialogAction(DialogAction::setText(kCheck, "text"));
    agent->queueDialogAction(DialogAction::choose(kPopup, "Feet"));
    agent->queueDialogAction(DialogAction::chooseIndex(kList, 5));
    agent->queueDialogAction(DialogAction::uncheck(kRadioA));
    agent->queueDialogAction(DialogAction::wait());  // no timer runs
    agent->queueDialogAction(DialogAction::type("\xFF"));
    agent->queueDialogAction(DialogAction::click(kCancel));
    DialogScript script;
    EXPECT_EQ(runTestDialog(script), 2);
    EXPECT_EQ(desk().agentFaults(), 10u);
    EXPECT_EQ(dialogLog(), (std::vector<std::string>{"command 2 clicked"}));
    const std::vector<std::string> lines = dialogLines();
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[1], "dialog \"Test Dialog\": refused click 99: no such control");
    EXPECT_EQ(lines[2], "dialog \"Test Dialog\": refused click 11 \"Off\": the control is disabled");
    EXPECT_EQ(lines[3], "dialog \"Test Dialog\": refused click 12 \"Hidden\": the control is hidden");
    EXPECT_EQ(lines[4], "dialog \"Test Dialog\": refused click titled \"Nobody\": no such control");
    EXPECT_EQ(lines[6], "dialog \"Test Dialog\": refused choose 8 \"Inches\": no item \"Feet\"");
    EXPECT_EQ(lines[9], "dialog \"Test Dialog\": refused wait: no timer is running");
}

TEST_F(ModalLoopTest, AContextClickReachesTheDialogNamingTheControlAndThePoint) {
    agent->queueDialogAction(DialogAction::contextClick(kList, 30, 20));
    agent->queueDialogAction(DialogAction::contextClick(kCheck));  // its middle
    agent->queueDialogAction(DialogAction::contextClick(kList, 500, 5));
    agent->queueDialogAction(DialogAction::contextClick(kDisabled));
    agent->queueDialogAction(DialogAction::click(kOk));
    DialogScript script;
    EXPECT_EQ(runTestDialog(script), 1);
    EXPECT_EQ(desk().agentFaults(), 2u);
    EXPECT_EQ(dialogLog(), (std::vector<std::string>{"context 9 at 30,20", "context 3 at 60,12", "command 1 clicked"}));
    const std::vector<std::string> lines = dialogLines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[1], "dialog \"Test Dialog\": context click 9 at 30,20");
    EXPECT_EQ(lines[2], "dialog \"Test Dialog\": context click 3 \"Labels\" at 60,12");
    EXPECT_EQ(lines[3], "dialog \"Test Dialog\": refused context click 9 at 500,5: outside the control");
    EXPECT_EQ(lines[4], "dialog \"Test Dialog\": refused context click 11 \"Off\": the control is disabled");
}

TEST_F(ModalLoopTest, AnAgentThatThrowsIsAFaultAndDecidesNothing) {
    agent->setDialogStep([](const desktop::DialogRequest&) -> DialogAction { throw std::runtime_error("boom"); });
    DialogScript script;
    EXPECT_EQ(runTestDialog(script), 1);  // no decision: Return
    EXPECT_EQ(desk().agentFaults(), 1u);
    EXPECT_EQ(dialogLines()[1], "dialog \"Test Dialog\": agent error: boom");
}

TEST_F(ModalLoopTest, DialogsNestAndEachLoopEndsItsOwnDialog) {
    DialogScript inner;
    inner.title = "Inner";
    DialogScript outer;
    outer.title = "Outer";
    std::intptr_t innerResult = -5;
    outer.onCommand = [&](WindowRef, int id, pw::Notification) {
        if (id != kCheck) return false;
        innerResult = runTestDialog(inner);
        return true;
    };
    std::vector<std::pair<std::string, int>> asked;
    agent->setDialogStep([&](const desktop::DialogRequest& request) {
        asked.emplace_back(request.title, request.nesting);
        EXPECT_EQ(desk().frontDialog(), request.dialog);
        if (request.title == "Inner") return DialogAction::click(kCancel);
        return asked.size() == 1 ? DialogAction::click(kCheck) : DialogAction::click(kOk);
    });
    EXPECT_EQ(runTestDialog(outer), 1);
    EXPECT_EQ(innerResult, 2);
    EXPECT_EQ(asked, (std::vector<std::pair<std::string, int>>{{"Outer", 1}, {"Inner", 2}, {"Outer", 1}}));
    EXPECT_EQ(dialogLines(), (std::vector<std::string>{
                                 "dialog \"Outer\" opened",
                                 "dialog \"Inner\" opened",
                                 "dialog \"Inner\": click 2 \"Cancel\"",
                                 "dialog \"Inner\" closed -> 2",
                                 "dialog \"Outer\": click 3 \"Labels\"",
                                 "dialog \"Outer\": click 1 \"OK\"",
                                 "dialog \"Outer\" closed -> 1",
                             }));
}

TEST_F(ModalLoopTest, NestingTooDeepClosesTheDialogWithoutAsking) {
    DialogScript nested;
    nested.title = "Deep";
    int depth = 0;
    int deepest = 0;
    nested.onInit = [&](WindowRef) {
        ++depth;
        deepest = std::max(deepest, depth);
        if (depth < 20) runTestDialog(nested);
        --depth;
    };
    desk().setAgent(nullptr);
    runTestDialog(nested);
    EXPECT_EQ(deepest, 20);  // InitDialog still runs: the dialog exists, only the user is not asked
    const std::vector<std::string> lines = dialogLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "dialog \"Deep\": nested too deep, closed"), lines.end());
    EXPECT_EQ(desk().liveWindowCount(), 0u);
    EXPECT_EQ(desk().modalDepth(), 0u);
}

// EndDialog's rule: every call stores its result, the last one counts, and
// the loop ends only after the message that called it is handled.
TEST_F(ModalLoopTest, EndDialogKeepsTheLastResultAndModelessDialogsOnlyHide) {
    const struct {
        std::vector<std::intptr_t> calls;
        std::intptr_t result;
    } cases[] = {{{5}, 5}, {{5, 9}, 9}, {{0, 7, 3}, 3}, {{7, 0}, 0}};
    for (const auto& c : cases) {
        DialogScript script;
        bool allAnswered = true;
        bool shellLivedOn = false;
        script.onInit = [&](WindowRef dialog) {
            for (const std::intptr_t result : c.calls) allAnswered = pw::endDialog(dialog, result) && allAnswered;
            shellLivedOn = pw::isWindow(dialog);
        };
        dialogLog().clear();
        desk().transcript().clear();
        EXPECT_EQ(runTestDialog(script), c.result) << c.calls.size();
        EXPECT_TRUE(allAnswered);
        EXPECT_TRUE(shellLivedOn);
        EXPECT_EQ(dialogLines(), (std::vector<std::string>{"dialog \"Test Dialog\" closed before it was shown -> " +
                                                           std::to_string(c.result)}));
    }
    EXPECT_EQ(agent->dialogsSeen().size(), 0u);

    DialogScript plain;
    const WindowRef modeless = pw::createModelessDialog(testDialogProc, reinterpret_cast<std::intptr_t>(&plain));
    ASSERT_NE(modeless, nullptr);
    pw::showWindow(modeless, true);
    EXPECT_TRUE(pw::endDialog(modeless, 1));
    EXPECT_FALSE(pw::isWindowShown(modeless));
    EXPECT_EQ(desk().windowTitled("Test Dialog"), modeless);
    const WindowRef plainWindow = pw::createWindow("Static", "", 0, 0, {}, nullptr, 0);
    EXPECT_FALSE(pw::endDialog(plainWindow, 1));
    pw::destroyWindow(plainWindow);
    pw::destroyWindow(modeless);
    EXPECT_FALSE(pw::endDialog(modeless, 1));
}

TEST_F(ModalLoopTest, PostedMessagesArriveInOrderBeforeTheUserActs) {
    DialogScript script;
    script.onInit = [](WindowRef dialog) {
        pw::postMessage(dialog, Message::Timer, 3);
        pw::postMessage(dialog, Message::Timer, 1);
        const WindowRef doomed = pw::findChild(dialog, kLabel);
        pw::postMessage(doomed, Message::Timer, 8);  // goes with the window
        pw::destroyWindow(doomed);
        pw::postMessage(dialog, Message::Timer, 2);
    };
    agent->setDialogStep([](const desktop::DialogRequest&) {
        dialogLog().push_back("asked");
        return DialogAction::click(kOk);
    });
    EXPECT_EQ(runTestDialog(script), 1);
    EXPECT_EQ(dialogLog(), (std::vector<std::string>{"timer 3", "timer 1", "timer 2", "asked", "command 1 clicked"}));
}

TEST_F(ModalLoopTest, ALoopWithoutAnEndIsClosedAfterTheTurnLimit) {
    desk().setModalTurnLimit(50);
    DialogScript endless;
    endless.onCommand = [](WindowRef, int, pw::Notification) { return true; };  // nothing ends it
    endless.onInit = [](WindowRef dialog) { pw::setTimer(dialog, 1, 10); };
    EXPECT_EQ(runTestDialog(endless), 2);
    EXPECT_EQ(std::count(dialogLog().begin(), dialogLog().end(), "timer 1"), 50);
    const std::vector<std::string> lines = dialogLines();
    EXPECT_EQ(lines[lines.size() - 2], "dialog \"Test Dialog\": no end after 50 turns, closed");
    EXPECT_EQ(lines.back(), "dialog \"Test Dialog\" closed -> 2");
}

TEST_F(ModalLoopTest, AProcedureDestroyingItsOwnDialogEndsTheLoop) {
    DialogScript script;
    script.onCommand = [](WindowRef dialog, int id, pw::Notification) {
        if (id == kCheck) pw::destroyWindow(dialog);
        return true;
    };
    agent->queueDialogAction(DialogAction::click(kCheck));
    EXPECT_EQ(runTestDialog(script), 0);
    EXPECT_EQ(dialogLines().back(), "dialog \"Test Dialog\" destroyed while open -> 0");
    EXPECT_EQ(desk().modalDepth(), 0u);
}

}  // namespace
}  // namespace lumbrel::test

namespace lumbrel::test {
namespace {

TEST_F(DialogTest, TheSummaryForAPersonListsEveryControlWithItsState) {
    DialogScript script;
    script.title = "Image List";
    script.onInit = [](pw::WindowRef dialog) { pw::setControlValue(pw::findChild(dialog, kCheck), 1); };
    std::string summary;
    agent->setDialogStep([&](const desktop::DialogRequest& request) {
        summary = desktop::dialogSummary(request);
        return DialogAction::click(kOk);
    });
    runTestDialog(script);
    EXPECT_EQ(summary.substr(0, summary.find('\n')), "dialog \"Image List\"");
    for (const char* line : {"\n  1 default push \"OK\" (focused)\n", "\n  3 check box \"Labels\" [x]\n",
                             "\n  6 radio \"Date\" [ ]\n", "\n  8 pop-up \"Inches\" {*Inches | Millimetres}\n",
                             "\n  9 list {alpha.tif | beta.eps}\n", "\n  11 push \"Off\" (disabled)\n",
                             "\n  12 push \"Hidden\" (hidden)\n", "\n  14 progress 1 of 0..4\n",
                             "\n  15 edit \"********\"\n"}) {
        EXPECT_NE(summary.find(line), std::string::npos) << line << summary;
    }
    EXPECT_EQ(summary.find("secret"), std::string::npos);
}

}  // namespace
}  // namespace lumbrel::test

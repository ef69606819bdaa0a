// Sessions acting in modal dialogs: the `dialog`, `popup`, `choose app` and
// `expect dialog` lines as parsed, the session agent carrying them out in a
// dialog of the desktop (actions, pictures, checks, lines that cannot be done
// failing their line and closing the dialog), the person at the terminal
// acting in a dialog, and the module's preference pane driven by dialog lines.
#include "session_fixture.h"

#include "hostsim/session/line_input.h"
#include "hostsim/session/terminal_agent.h"

#include "desktop/desktop.h"
#include "src/platform/window_system.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace hostsim::session::test {
namespace {

namespace lp = lumbrel::platform;
namespace ps = lumbrel::platform::style;
using desktop::DialogAction;
using lumbrel::test::readFile;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

Action parseOk(const std::string& line) {
    ParseError error;
    const std::optional<Action> action = parseLine(line, 1, error);
    EXPECT_TRUE(action.has_value()) << line << ": " << error.message;
    return action.value_or(Action{});
}

ParseError parseBad(const std::string& line) {
    ParseError error;
    EXPECT_FALSE(parseLine(line, 1, error).has_value()) << line;
    return error;
}

TEST(DialogLineParser, ActionsNameTheirControlByIdentifierOrTitle) {
    Action a = parseOk("dialog \"Image List\" set 3 \"list.txt\"");
    EXPECT_EQ(a.verb, Verb::Dialog);
    EXPECT_FALSE(a.dialog.anyDialog);
    EXPECT_EQ(a.dialog.title, "Image List");
    EXPECT_EQ(a.dialog.action.kind, DialogAction::Kind::SetText);
    EXPECT_EQ(a.dialog.action.id, 3);
    EXPECT_EQ(a.dialog.action.text, "list.txt");

    a = parseOk("dialog any click \"OK\"");
    EXPECT_TRUE(a.dialog.anyDialog);
    EXPECT_EQ(a.dialog.action.kind, DialogAction::Kind::Click);
    EXPECT_EQ(a.dialog.action.title, "OK");
    // A quoted number is a title, as with `answer`.
    EXPECT_EQ(parseOk("dialog any click \"2\"").dialog.action.title, "2");
    EXPECT_EQ(parseOk("dialog any check 4 off").dialog.action.kind, DialogAction::Kind::Uncheck);
    EXPECT_EQ(parseOk("dialog any check 4 on").dialog.action.kind, DialogAction::Kind::Check);

    a = parseOk("dialog any choose 5 2");
    EXPECT_EQ(a.dialog.action.index, 1);
    EXPECT_TRUE(a.dialog.action.text.empty());
    EXPECT_EQ(parseOk("dialog any choose 5 \"Second\"").dialog.action.text, "Second");

    EXPECT_EQ(parseOk("dialog any key shift-tab").dialog.action.key, desktop::DialogKey::ShiftTab);
    a = parseOk("dialog any key \"x\"");
    EXPECT_EQ(a.dialog.action.key, desktop::DialogKey::Character);
    EXPECT_EQ(a.dialog.action.text, "x");
    a = parseOk("dialog any context 9");
    EXPECT_EQ(a.dialog.action.kind, DialogAction::Kind::ContextClick);
    EXPECT_EQ(a.dialog.action.id, 9);
    EXPECT_EQ(a.dialog.action.x, -1);  // the middle of the control
    a = parseOk("dialog any context \"Files\" 30 20");
    EXPECT_EQ(a.dialog.action.title, "Files");
    EXPECT_EQ(a.dialog.action.x, 30);
    EXPECT_EQ(a.dialog.action.y, 20);
    a = parseOk("window \"Progress\" click 2");
    EXPECT_EQ(a.verb, Verb::Window);
    EXPECT_EQ(a.dialog.title, "Progress");
    EXPECT_EQ(a.dialog.action.kind, DialogAction::Kind::Click);
    EXPECT_EQ(a.dialog.action.id, 2);
    EXPECT_EQ(parseOk("dialog any wait").dialog.action.kind, DialogAction::Kind::Wait);
    EXPECT_EQ(parseOk("dialog any close").dialog.action.kind, DialogAction::Kind::CloseBox);

    a = parseOk("dialog any snapshot out/d.png");
    EXPECT_EQ(a.dialog.kind, DialogLine::Kind::Snapshot);
    EXPECT_EQ(a.dialog.path, "out/d.png");
    a = parseOk("dialog any expect 3 text \"a b\"");
    EXPECT_EQ(a.dialog.kind, DialogLine::Kind::Expect);
    EXPECT_EQ(a.dialog.check.what, ControlCheck::What::Text);
    EXPECT_EQ(a.dialog.check.text, "a b");
    EXPECT_EQ(parseOk("dialog any expect \"Log\" value -1").dialog.check.number, -1);
}

TEST(DialogLineParser, AnswersForMenusChoosersAndDialogChecks) {
    Action a = parseOk("popup 2");
    EXPECT_EQ(a.verb, Verb::Popup);
    EXPECT_EQ(a.number, 2);
    EXPECT_EQ(parseOk("popup \"Date\"").text, "Date");
    a = parseOk("popup dismiss");
    EXPECT_TRUE(a.text.empty());
    EXPECT_EQ(a.number, 0);
    EXPECT_EQ(parseOk("choose app /usr/bin/gimp").text, "/usr/bin/gimp");
    EXPECT_TRUE(parseOk("choose app cancel").text.empty());

    a = parseOk("expect dialog \"Swap\" closed -> 2");
    EXPECT_EQ(a.verb, Verb::ExpectDialog);
    EXPECT_EQ(a.dialogState, Action::DialogState::Closed);
    EXPECT_TRUE(a.hasResult);
    EXPECT_EQ(a.number, 2);
    EXPECT_FALSE(parseOk("expect dialog \"Swap\" closed").hasResult);
    EXPECT_EQ(parseOk("expect dialog \"Swap\" open").dialogState, Action::DialogState::Open);
    EXPECT_EQ(parseOk("expect dialog none").verb, Verb::ExpectNoDialog);

    EXPECT_TRUE(parseOk("preferences").paneByAgent);
    EXPECT_FALSE(parseOk("preferences ok").paneByAgent);
    EXPECT_FALSE(parseOk("preferences toggle 3").paneByAgent);
}

TEST(DialogLineParser, FaultsPointAtTheWord) {
    ParseError e = parseBad("dialog any frobnicate 3");
    EXPECT_EQ(e.column, 12);
    EXPECT_TRUE(contains(e.message, "unknown dialog action \"frobnicate\"")) << e.message;
    e = parseBad("dialog any set 3");
    EXPECT_TRUE(contains(e.message, "missing the text to set")) << e.message;
    e = parseBad("dialog any choose 5 0");
    EXPECT_EQ(e.column, 21);
    e = parseBad("dialog any key hyper");
    EXPECT_TRUE(contains(e.message, "unknown key \"hyper\"")) << e.message;
    e = parseBad("dialog any expect 3 bold");
    EXPECT_TRUE(contains(e.message, "cannot expect \"bold\"")) << e.message;
    e = parseBad("dialog any click 1 2");
    EXPECT_EQ(e.column, 20);
    e = parseBad("dialog any context 9 30");
    EXPECT_TRUE(contains(e.message, "missing the point's y")) << e.message;
    e = parseBad("dialog any context 9 -3 4");
    EXPECT_EQ(e.column, 22);
    EXPECT_TRUE(contains(e.message, "two whole numbers from 0")) << e.message;
    e = parseBad("dialog");
    EXPECT_TRUE(contains(e.message, "missing dialog title")) << e.message;
    e = parseBad("window \"Progress\"");
    EXPECT_TRUE(contains(e.message, "missing dialog action")) << e.message;
    e = parseBad("window");
    EXPECT_TRUE(contains(e.message, "missing window title")) << e.message;
    e = parseBad("choose application x");
    EXPECT_TRUE(contains(e.message, "expected \"app\"")) << e.message;
    e = parseBad("popup 0");
    EXPECT_TRUE(contains(e.message, "counted from 1")) << e.message;
}

// ---- a dialog of the desktop, without the module ------------------------------------------

struct Seen {
    int checkValue = -1;
    std::string editText;
    int popupValue = -2;
    std::string contextClick;  // "ID at X,Y" in the control's client coordinates
};
Seen gSeen;

void remember(lp::WindowRef dialog) {
    gSeen.checkValue = lp::controlValue(lp::findChild(dialog, 3));
    gSeen.editText = lp::windowText(lp::findChild(dialog, 4));
    gSeen.popupValue = lp::controlValue(lp::findChild(dialog, 5));
}

std::intptr_t testDialog(lp::WindowRef dialog, lp::Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    const auto make = [&](const char* cls, const char* text, std::uint32_t style, lp::WindowRect rect, int id) {
        return lp::createWindow(cls, text, ps::kChild | ps::kVisible | style, 0, rect, dialog, id);
    };
    switch (message) {
        case lp::Message::InitDialog: {
            lp::setWindowText(dialog, "Test Dialog");
            make(lp::kButtonClass, "Remember", ps::kAutoCheckBox | ps::kTabStop, {10, 10, 120, 20}, 3);
            make(lp::kEditClass, "", ps::kTabStop, {10, 40, 120, 19}, 4);
            const lp::WindowRef popup =
                make(lp::kComboBoxClass, "", ps::kComboDropDownList | ps::kTabStop, {10, 70, 120, 200}, 5);
            lp::addItem(popup, "First");
            lp::addItem(popup, "Second");
            lp::setControlValue(popup, 0);
            make(lp::kButtonClass, "Later", ps::kPushButton, {10, 100, 60, 24}, 6);
            lp::enableWindow(lp::findChild(dialog, 6), false);
            make(lp::kButtonClass, "OK", ps::kDefPushButton | ps::kTabStop, {80, 130, 60, 24}, 1);
            make(lp::kButtonClass, "Cancel", ps::kPushButton | ps::kTabStop, {150, 130, 60, 24}, 2);
            return 1;
        }
        case lp::Message::Command: {
            const int id = lp::commandId(wParam);
            if (id == 1 || id == 2) {
                remember(dialog);
                lp::endDialog(dialog, id);
            }
            return 0;
        }
        case lp::Message::Close:
            remember(dialog);
            lp::endDialog(dialog, 2);
            return 0;
        case lp::Message::ContextMenu: {
            const auto control = reinterpret_cast<lp::WindowRef>(wParam);
            const lp::WindowPoint at = lp::screenToClient(control, lp::pointFromParam(lParam));
            gSeen.contextClick = std::to_string(lp::controlId(control)) + " at " + std::to_string(at.x) + ',' +
                                 std::to_string(at.y);
            return 0;
        }
        default: return lp::defWindowProc(dialog, message, wParam, lParam);
    }
}

// Runs the lines (queued), then the dialog, as if the last line had opened it.
class DialogSessionTest : public SessionTest {
protected:
    std::intptr_t runDialog(const std::string& lines) {
        EXPECT_EQ(runText(lines).exitCode, 0) << runner_->failure();
        gSeen = Seen{};
        return lp::runModalDialog(testDialog, 0);
    }
};

TEST_F(DialogSessionTest, QueuedLinesActInTheDialogInOrder) {
    const std::string picture = dir_.path().string() + "/pics/dialog.svg";
    const std::intptr_t result = runDialog(
        "dialog any expect 3 unchecked\n"
        "dialog \"Test Dialog\" check 3\n"
        "dialog any set 4 \"hello\"\n"
        "dialog any choose 5 2\n"
        "dialog any expect 5 selected \"Second\"\n"
        "dialog any expect 6 disabled\n"
        "dialog any snapshot \"" + picture + "\"\n"
        "dialog any context 4 5 6\n"
        "dialog any click \"OK\"\n");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(gSeen.checkValue, 1);
    EXPECT_EQ(gSeen.editText, "hello");
    EXPECT_EQ(gSeen.popupValue, 1);
    EXPECT_EQ(gSeen.contextClick, "4 at 5,6");
    EXPECT_TRUE(agent_->dialogFaults().empty()) << agent_->dialogFaults().front();
    EXPECT_EQ(agent_->pendingDialogLines(), 0u);
    const std::string svg = readFile(picture);
    EXPECT_TRUE(contains(svg, "<svg")) << svg.substr(0, 200);
    EXPECT_TRUE(contains(svg, "Remember"));
}

TEST_F(DialogSessionTest, ALineThatCannotBeDoneIsAFaultAndClosesTheDialog) {
    // A missing control: nothing after it happens, the close box ends the dialog.
    EXPECT_EQ(runDialog("dialog any check 3\ndialog any click 42\ndialog any set 4 \"never\"\n"), 2);
    ASSERT_EQ(agent_->dialogFaults().size(), 1u);
    EXPECT_EQ(agent_->dialogFaults()[0], "dialog \"Test Dialog\": no control 42 (line 2: dialog any click 42)");
    EXPECT_EQ(agent_->pendingDialogLines(), 0u);
    EXPECT_EQ(gSeen.checkValue, 1);
    EXPECT_EQ(gSeen.editText, "");

    makeRunner(RunnerOptions{});
    EXPECT_EQ(runDialog("dialog any click \"Later\"\n"), 2);
    EXPECT_TRUE(contains(agent_->dialogFaults().back(), "control 6 \"Later\" is disabled"));
    makeRunner(RunnerOptions{});
    EXPECT_EQ(runDialog("dialog \"Image List\" click 1\n"), 2);
    EXPECT_TRUE(contains(agent_->dialogFaults().back(), "the line is for the dialog \"Image List\""));
    makeRunner(RunnerOptions{});
    EXPECT_EQ(runDialog("dialog any choose 5 \"Third\"\n"), 2);
    EXPECT_TRUE(contains(agent_->dialogFaults().back(), "has no item \"Third\""));
    makeRunner(RunnerOptions{});
    EXPECT_EQ(runDialog("dialog any context 4 120 5\n"), 2);
    EXPECT_TRUE(contains(agent_->dialogFaults().back(), "point 120,5 lies outside control 4"))
        << agent_->dialogFaults().back();
    EXPECT_TRUE(gSeen.contextClick.empty());
    makeRunner(RunnerOptions{});
    EXPECT_EQ(runDialog("dialog any wait\n"), 2);
    EXPECT_TRUE(contains(agent_->dialogFaults().back(), "runs no timer"));
    // A failed check changes nothing; the next line still acts.
    makeRunner(RunnerOptions{});
    EXPECT_EQ(runDialog("dialog any expect 4 text \"x\"\ndialog any click 1\n"), 1);
    EXPECT_EQ(agent_->dialogFaults().back(), "dialog \"Test Dialog\": control 4 holds \"\", not \"x\" "
                                             "(line 1: dialog any expect 4 text \"x\")");
}

TEST_F(DialogSessionTest, AnActionTheControlRefusesIsAFaultAndNothingIsApplied) {
    struct Case {
        const char* line;
        const char* why;
    };
    for (const Case& c : {Case{"dialog any set 3 \"typed\"", "takes no typing"},
                          Case{"dialog any check 1", "not a check box or radio button"},
                          Case{"dialog any uncheck 2", "not a check box or radio button"}}) {
        SCOPED_TRACE(c.line);
        makeRunner(RunnerOptions{});
        // The check before it is undone: the close box cancels the dialog.
        EXPECT_EQ(runDialog("dialog any check 3\n" + std::string(c.line) + "\ndialog any click 1\n"), 2);
        ASSERT_EQ(agent_->dialogFaults().size(), 1u);
        EXPECT_TRUE(contains(agent_->dialogFaults()[0], c.why)) << agent_->dialogFaults()[0];
        EXPECT_TRUE(contains(agent_->dialogFaults()[0], std::string("(line 2: ") + c.line + ")"))
            << agent_->dialogFaults()[0];
        EXPECT_EQ(agent_->pendingDialogLines(), 0u);
    }
}

TEST_F(DialogSessionTest, WindowLinesActAtOnceInAnOpenModelessWindow) {
    gSeen = Seen{};
    const lp::WindowRef window = lp::createModelessDialog(testDialog, 0);
    ASSERT_NE(window, nullptr);
    EXPECT_NE(runText("window \"Test Dialog\" click 1\n").exitCode, 0);
    EXPECT_EQ(runner_->failure(), "line 1: the window \"Test Dialog\" is hidden");
    lp::showWindow(window, true);
    makeRunner(RunnerOptions{});
    EXPECT_EQ(runText("window \"Test Dialog\" expect 3 unchecked\n"
                      "window \"Test Dialog\" check 3\n"
                      "window \"Test Dialog\" set 4 \"now\"\n"
                      "window \"Test Dialog\" expect 4 text \"now\"\n"
                      "window \"Test Dialog\" context 4 2 3\n"
                      "windows\n"
                      "window \"Test Dialog\" click 1\n")
                  .exitCode,
              0)
        << runner_->failure();
    EXPECT_TRUE(contains(transcript(), "windows: 1")) << transcript();
    EXPECT_TRUE(contains(transcript(), "--- dialog \"Test Dialog\" ---")) << transcript();
    EXPECT_TRUE(contains(transcript(), "[4] edit \"now\"")) << transcript();
    // The click reached the dialog's procedure, which read the controls then.
    EXPECT_EQ(gSeen.checkValue, 1);
    EXPECT_EQ(gSeen.editText, "now");
    EXPECT_EQ(gSeen.contextClick, "4 at 2,3");
    EXPECT_TRUE(contains(transcript(), "dialog \"Test Dialog\": check 3 \"Remember\"")) << transcript();
    // Its procedure ended it on OK: a modeless dialog only hides then.
    EXPECT_TRUE(lp::isWindow(window));
    EXPECT_FALSE(lp::isWindowShown(window));
    lp::showWindow(window, true);

    // Lines that cannot be done fail and change nothing.
    makeRunner(RunnerOptions{});
    EXPECT_NE(runText("window \"Nobody\" click 1\n").exitCode, 0);
    EXPECT_EQ(runner_->failure(), "line 1: no open window \"Nobody\"");
    makeRunner(RunnerOptions{});
    EXPECT_NE(runText("window \"Test Dialog\" click 6\n").exitCode, 0);
    EXPECT_TRUE(contains(runner_->failure(), "control 6 \"Later\" is disabled")) << runner_->failure();
    makeRunner(RunnerOptions{});
    EXPECT_NE(runText("window \"Test Dialog\" expect 3 unchecked\n").exitCode, 0);
    EXPECT_TRUE(contains(runner_->failure(), "window \"Test Dialog\"")) << runner_->failure();
    makeRunner(RunnerOptions{});
    EXPECT_NE(runText("window \"Test Dialog\" uncheck 5\n").exitCode, 0);
    EXPECT_EQ(lp::controlValue(lp::findChild(window, 3)), 1);
    lp::destroyWindow(window);
}

TEST_F(DialogSessionTest, WithNothingQueuedTheDesktopTakesItsDefault) {
    EXPECT_EQ(runDialog(""), 1);  // Return presses the default button
}

// A pipe whose write end is filled and closed before reading starts.
class Typed {
public:
    explicit Typed(const std::string& text) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        read_ = fds[0];
        EXPECT_EQ(::write(fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ::close(fds[1]);
    }
    ~Typed() {
        if (read_ >= 0) ::close(read_);
    }
    Typed(const Typed&) = delete;
    Typed& operator=(const Typed&) = delete;
    int fd() const noexcept { return read_; }

private:
    int read_ = -1;
};

std::string runAtTerminal(const std::string& typed, std::intptr_t& result) {
    Typed input(typed);
    LineInput lines(input.fd());
    std::FILE* out = std::tmpfile();
    auto agent = std::make_shared<TerminalAgent>(lines, out, true);
    desktop::Desktop::instance().setAgent(agent);
    gSeen = Seen{};
    result = lp::runModalDialog(testDialog, 0);
    desktop::Desktop::instance().setAgent(nullptr);
    std::string text(static_cast<std::size_t>(std::ftell(out)), '\0');
    std::rewind(out);
    const std::size_t got = std::fread(text.data(), 1, text.size(), out);
    text.resize(got);
    std::fclose(out);
    return text;
}

TEST(TerminalDialog, ThePersonSeesTheControlsAndTypesTheSameWords) {
    std::intptr_t result = 0;
    const std::string shown =
        runAtTerminal("help\nclick 42\nexpect 3 checked\ncheck 3\nset 4 \"typed\"\nclick Cancel\n", result);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(gSeen.checkValue, 1);
    EXPECT_EQ(gSeen.editText, "typed");
    EXPECT_TRUE(contains(shown, "--- dialog \"Test Dialog\" ---")) << shown;
    EXPECT_TRUE(contains(shown, "[3] check box \"Remember\" off")) << shown;
    EXPECT_TRUE(contains(shown, "[5] pop-up")) << shown;
    EXPECT_TRUE(contains(shown, "items: #1 \"First\"* #2 \"Second\"")) << shown;
    EXPECT_TRUE(contains(shown, "[6] push \"Later\" (disabled)")) << shown;
    EXPECT_TRUE(contains(shown, "choose ID \"ITEM\"")) << shown;   // help
    EXPECT_TRUE(contains(shown, "cannot: no control 42")) << shown;
    EXPECT_TRUE(contains(shown, "no: control 3 \"Remember\" is unchecked, not checked")) << shown;
    EXPECT_TRUE(contains(shown, "[3] check box \"Remember\" on")) << shown;  // shown again after the click
}

TEST(TerminalDialog, TheEndOfInputClosesTheDialog) {
    std::intptr_t result = 0;
    const std::string shown = runAtTerminal("set 4 \"half\"\n", result);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(gSeen.editText, "half");
    EXPECT_TRUE(contains(shown, "(end of input: the dialog is closed)")) << shown;
}

// ---- the module's preference pane ------------------------------------------------------------

TEST_F(ModuleSessionTest, DialogLinesActInThePreferencePane) {
    const std::string picture = dir_.path().string() + "/pane.svg";
    const std::string script = "prefs set Default RGBWarning 0\n"
                               "dialog \"Lumbrel\" expect 5 unchecked\n"
                               "dialog \"Lumbrel\" check 5\n"
                               "dialog any snapshot \"" + picture + "\"\n"
                               "dialog any click \"OK\"\n"
                               "preferences\n"
                               "expect dialog \"Lumbrel\" closed -> 1\n"
                               "expect dialog \"Lumbrel\"\n";
    EXPECT_EQ(runText(script).exitCode, 0) << runner_->failure() << "\n" << transcript();
    EXPECT_TRUE(contains(readFile(settingsFile()), "RGBWarning=1")) << readFile(settingsFile());
    EXPECT_TRUE(contains(readFile(picture), "Warning for RGB- and LAB-images"));
    EXPECT_TRUE(contains(transcript(), "dialog \"Lumbrel\": check 5 \"Warning for RGB- and LAB-images\"")) << transcript();

    // A line naming a control the pane lacks fails the preferences line; nothing is applied.
    // (A fresh module copy: it has no settings file until something is applied.)
    makeRunner(RunnerOptions{});
    const ScriptRun run = runText("dialog any check 4 off\ndialog any click 42\npreferences\necho not reached\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(runner_->failure(), "line 3: dialog \"Lumbrel\": no control 42 (line 2: dialog any click 42)");
    EXPECT_FALSE(std::filesystem::exists(settingsFile())) << readFile(settingsFile());
    EXPECT_TRUE(contains(transcript(), "preferences: closed by the user")) << transcript();

    // So does a line the pane's control refuses: typing into a check box.
    makeRunner(RunnerOptions{});
    const ScriptRun typed = runText("dialog any check 5\ndialog any set 5 \"x\"\n"
                                    "dialog any click OK\npreferences\necho not reached\n");
    EXPECT_EQ(typed.exitCode, 1);
    EXPECT_TRUE(contains(runner_->failure(), "line 4: dialog \"Lumbrel\": refused set text 5")) << runner_->failure();
    EXPECT_FALSE(std::filesystem::exists(settingsFile())) << readFile(settingsFile());
    EXPECT_FALSE(contains(transcript(), "not reached"));

    makeRunner(RunnerOptions{});
    EXPECT_EQ(runText("preferences cancel\nexpect dialog \"Lumbrel\" closed -> 1\n").exitCode, 1);
    EXPECT_EQ(runner_->failure(), "line 2: expected the dialog \"Lumbrel\" to close with 1, it closed with 0");
    makeRunner(RunnerOptions{});
    EXPECT_EQ(runText("echo nothing\nexpect dialog none\nexpect dialog \"Lumbrel\"\n").exitCode, 1);
    EXPECT_EQ(runner_->failure(), "line 3: expected the dialog \"Lumbrel\", the last action showed no dialog");
}

}  // namespace
}  // namespace hostsim::session::test

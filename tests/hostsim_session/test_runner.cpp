// Session scripts run against the simulator: without a module (loading,
// failures, keep-going, checks), and with the real module (start and
// refusal, menus, alerts and answers, settings edits reloaded at switch-in,
// scripting requests from a line and from another process, snapshots).
#include "session_fixture.h"

#include "hostsim/session/scripting_socket.h"

#include "hostsim/model/document_json.h"

#include "desktop/desktop.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <future>
#include <string>

namespace hostsim::session::test {
namespace {

using lumbrel::test::readFile;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// ---- without a module ---------------------------------------------------------------------

TEST_F(SessionTest, LinesAreTranscribedAndEchoAddsItsText) {
    const ScriptRun run = runText("echo first note\n# a comment\nanswer OK\nexpect alert none\necho \"second\"\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.linesRun, 4);
    EXPECT_EQ(transcript(), "first note\n> answer OK\n> expect alert none\nsecond\n");
    EXPECT_EQ(agent_->pendingAnswers(), 1u);
}

TEST_F(SessionTest, AMissingModuleFailsTheLineThatNeedsIt) {
    ScriptRun run = runText("load /no/such/XTensions\necho not reached\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.linesRun, 1);
    EXPECT_TRUE(contains(runner_->failure(), "line 1: cannot load the module")) << runner_->failure();
    EXPECT_TRUE(contains(transcript(), "failed: line 1: cannot load the module"));
    EXPECT_FALSE(contains(transcript(), "not reached"));
}

TEST_F(SessionTest, KeepGoingRunsTheRestAndCountsEveryFailure) {
    makeRunner(RunnerOptions{"/no/such/XTensions", {}, nullptr});
    const ScriptRun run = runText("menus\necho still here\nnew \"A\"\nexpect clipboard \"x\"\n", true);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.linesRun, 4);
    EXPECT_TRUE(contains(transcript(), "still here"));
    ASSERT_EQ(runner_->failureLog().size(), 3u);
    EXPECT_TRUE(contains(runner_->failureLog()[0], "line 1: cannot load the module"));
    EXPECT_TRUE(contains(runner_->failureLog()[1], "line 3: no module loaded"));
    EXPECT_EQ(runner_->failureLog()[2], "line 4: expected the clipboard to hold \"x\", it holds no text");
}

TEST_F(SessionTest, ClipboardChecks) {
    desktop::Desktop::instance().setClipboardText("a.tif");
    EXPECT_EQ(runText("expect clipboard \"a.tif\"\n").exitCode, 0);
    makeRunner(RunnerOptions{});
    EXPECT_EQ(runText("expect clipboard none\n").exitCode, 1);
    EXPECT_EQ(runner_->failure(), "line 1: expected no text on the clipboard, it holds \"a.tif\"");
}

TEST_F(SessionTest, NothingRunsAfterQuit) {
    const ScriptRun run = runText("quit\necho after\n");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.linesRun, 1);
    EXPECT_TRUE(runner_->quitted());
    EXPECT_FALSE(contains(transcript(), "after"));
}

// ---- with the module ------------------------------------------------------------------------------

TEST_F(ModuleSessionTest, TheFirstActionStartsTheModule) {
    EXPECT_EQ(runText("expect started\nexpect violation none\n").exitCode, 0) << runner_->failure();
    EXPECT_TRUE(sim_->quitted());  // the session's end quits the host
    EXPECT_TRUE(contains(transcript(), "> expect started\nmodule \"")) << transcript();
    EXPECT_TRUE(contains(transcript(), "start-up -> 0")) << transcript();
    EXPECT_TRUE(contains(transcript(), "end of session: quit\n")) << transcript();
}

TEST_F(ModuleSessionTest, RefusedCompatibilityAndWithheldGroup) {
    EXPECT_EQ(runText("compat 0\nexpect refused\n").exitCode, 0) << runner_->failure();

    makeRunner(RunnerOptions{});
    EXPECT_EQ(runText("compat 2\nstart\nexpect started\n").exitCode, 1);
    EXPECT_EQ(runner_->failure(), "line 3: expected the module to have started, it did not");

    makeRunner(RunnerOptions{});
    EXPECT_EQ(runText("withhold xtbox\nexpect refused\n").exitCode, 0) << runner_->failure();

    makeRunner(RunnerOptions{});
    EXPECT_EQ(runText("start\ncompat 1\n").exitCode, 1);
    EXPECT_EQ(runner_->failure(), "line 2: compat must come before the module starts");
}

TEST_F(ModuleSessionTest, MenusFollowTheDocumentAndTheCheckMark) {
    const ScriptRun run = runText(
        "expect menu \"Show Image Names\" disabled\n"
        "new \"A\"\n"
        "expect menu \"Show Image Names\" enabled unchecked\n"
        "menu \"View>Show Image Names\"\n"
        "expect menu \"View>Show Image Names\" checked\n"
        "menus\n");
    EXPECT_EQ(run.exitCode, 0) << runner_->failure();
    EXPECT_TRUE(contains(transcript(), "menus:\n")) << transcript();
    EXPECT_TRUE(contains(transcript(), "  View > \"Show Image Names\" enabled checked [module]\n")) << transcript();
    EXPECT_TRUE(contains(transcript(), "  File > \"Save\" enabled\n")) << transcript();

    makeRunner(RunnerOptions{});
    EXPECT_EQ(runText("expect menu \"Show Image Names\" enabled\n").exitCode, 1);
    EXPECT_EQ(runner_->failure(), "line 1: menu item View > \"Show Image Names\" is disabled");
    makeRunner(RunnerOptions{});
    EXPECT_EQ(runText("menu \"Show Image Names\"\n").exitCode, 1);
    EXPECT_EQ(runner_->failure(), "line 1: menu item \"Show Image Names\" is disabled or unknown");
    makeRunner(RunnerOptions{});
    EXPECT_EQ(runText("expect menu \"No Such Item\" enabled\n").exitCode, 1);
}

TEST_F(ModuleSessionTest, MenuAndPointerLinesHoldTheirModifierKeysAndPointsReadXY) {
    // Shift with "Show Image Names" keeps the names on (the full-path variant).
    const ScriptRun run = runText(
        "new \"A\"\n"
        "menu \"Show Image Names\" shift\n"
        "menu \"View>Show Image Names\" shift\n"
        "expect menu \"Show Image Names\" checked\n"
        "menu \"Show Image Names\"\n"
        "expect menu \"Show Image Names\" unchecked\n"
        "click 120,80 shift\n"
        "doubleclick 130,90 option\n"
        "scroll 0,-300\n");
    EXPECT_EQ(run.exitCode, 0) << runner_->failure();
    for (const char* line : {"shift+menu View>Show Image Names\n", "\nmenu View>Show Image Names\n",
                             "shift+click spread 1 point 120,80 at tick", "option+click spread 1 point 130,90 at tick",
                             "scroll by 0,-300 to origin 0,-300\n"}) {
        EXPECT_TRUE(contains(transcript(), line)) << line << "\n" << transcript();
    }
}

TEST_F(ModuleSessionTest, FailuresSayWhatWentWrong) {
    struct Case {
        const char* script;
        const char* failure;
    };
    for (const Case& c : {Case{"zoom 50\n", "line 1: no document open to zoom"},
                          Case{"scroll 0,-300\n", "line 1: no document open to scroll"},
                          Case{"new \"A\"\nsnapshot\n", "line 2: snapshot.json exists already; name the file: snapshot PATH"}}) {
        makeRunner(RunnerOptions{});
        const std::filesystem::path before = std::filesystem::current_path();
        std::filesystem::current_path(dir_.path());
        lumbrel::test::writeFile("snapshot.json", "keep");
        EXPECT_EQ(runText(c.script).exitCode, 1) << c.script;
        EXPECT_EQ(runner_->failure(), c.failure) << c.script;
        EXPECT_EQ(readFile("snapshot.json"), "keep");
        std::filesystem::current_path(before);
    }
    // A path the user names is written over.
    makeRunner(RunnerOptions{});
    const std::string named = dir_.file("snapshot.json");
    EXPECT_EQ(runText("new \"A\"\nsnapshot \"" + named + "\"\n").exitCode, 0) << runner_->failure();
    EXPECT_NE(readFile(named), "keep");
}

TEST_F(ModuleSessionTest, AlertsTakeQueuedAnswersElseTheDefault) {
    const std::string layout = writeLayout(dir_);
    const ScriptRun run = runText(
        "prefs set Default SaveWarning 1\n"
        "open \"" + layout + "\"\n"
        "script \"<cmd>3</cmd><qid=\\\"1\\\">id-1</qid>\"\n"  // marks the document changed
        "answer OK\n"
        "command 117\n"
        "expect alert \"Doc has not been saved!\"\n"
        "command 117\n"
        "expect alert \"Doc has not been saved!\"\n"
        "select box 3\n"
        "expect alert none\n");
    EXPECT_EQ(run.exitCode, 0) << runner_->failure() << "\n" << transcript();
    const auto alerts = desktop::Desktop::instance().transcript().linesOf(desktop::EntryKind::Alert);
    ASSERT_EQ(alerts.size(), 2u) << transcript();
    EXPECT_EQ(alerts[0], "alert \"Lumbrel\" note: Doc has not been saved! [OK] -> OK");
    EXPECT_EQ(alerts[1], "alert \"Lumbrel\" note: Doc has not been saved! [OK] -> OK (default)");

    // A check that fails names its line and what was shown instead.
    makeRunner(RunnerOptions{});
    EXPECT_EQ(runText("prefs set Default SaveWarning 1\nopen \"" + layout + "\"\nscript \"<cmd>3</cmd><qid=\\\"1\\\">x</qid>\"\ncommand 117\n"
                      "expect alert \"Something else\"\n")
                  .exitCode,
              1);
    EXPECT_EQ(runner_->failure(),
              "line 5: expected the alert \"Something else\", the last action showed \"Doc has not been saved!\"");
}

TEST_F(ModuleSessionTest, CancelledCloseKeepsTheDocumentWithoutFailing) {
    const std::string layout = writeLayout(dir_);
    const ScriptRun run = runText(
        "open \"" + layout + "\"\n"
        "script \"<cmd>3</cmd><qid=\\\"1\\\">x</qid>\"\n"
        "answer Cancel\n"
        "close\n"
        "expect alert \"Save changes to \\\"Layout\\\" before closing?\"\n"
        "answer \"Don't Save\"\n"
        "close\n"
        "close\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(runner_->failure(), "line 8: no document to close");
    EXPECT_TRUE(contains(transcript(), "-> Cancel\nthe document stays open\n")) << transcript();
    EXPECT_TRUE(contains(transcript(), "-> Don't Save\nclose document 1\n")) << transcript();
}

TEST_F(ModuleSessionTest, PrefsEditIsReadAtTheNextSwitchIn) {
    const std::string layout = writeLayout(dir_);
    const ScriptRun run = runText(
        "open \"" + layout + "\"\n"
        "select box 1\n"
        "key c ctrl\n"
        "expect clipboard none\n"
        "prefs set Default CopyPath c\n"
        "key c ctrl\n"
        "expect clipboard none\n"  // not read yet
        "switchin\n"
        "key c ctrl\n"
        "expect clipboard \"cover photo.tif\"\n"
        "expect violation none\n");
    EXPECT_EQ(run.exitCode, 0) << runner_->failure() << "\n" << transcript();
    EXPECT_EQ(readFile(settingsFile()), "[Default]\nCopyPath=c\n");
    EXPECT_TRUE(contains(transcript(), "key control+'c' -> swallowed by the module")) << transcript();
}

TEST_F(ModuleSessionTest, PrefsShowListsTheFile) {
    lumbrel::test::writeFile(settingsFile(), "[Default]\r\nEdit=1\r\n");
    EXPECT_EQ(runText("prefs show\nprefs set Default Edit 0\nprefs remove Default Nothing\nprefs show\n").exitCode, 0)
        << runner_->failure();
    const std::string text = transcript();
    EXPECT_TRUE(contains(text, "(19 bytes, line ends \\r\\n):\n  | [Default]\n  | Edit=1\n")) << text;
    EXPECT_TRUE(contains(text, ": [Default] Edit=0\n")) << text;
    EXPECT_TRUE(contains(text, "  | Edit=0\n")) << text;
    EXPECT_EQ(readFile(settingsFile()), "[Default]\r\nEdit=0\r\n");
}

TEST_F(ModuleSessionTest, IdentifiersSurviveSaveAndReopen) {
    const std::string layout = writeLayout(dir_);
    const std::string saved = dir_.file("saved.json");
    const std::string snapshot = dir_.file("snap.json");
    const ScriptRun run = runText(
        "open \"" + layout + "\"\n"
        "script \"<cmd>3</cmd><qid=\\\"1\\\">guid-one</qid><qid=\\\"2\\\">guid-two</qid>\"\n"
        "expect reply \"<cmd>3</cmd>\"\n"
        "snapshot \"" + snapshot + "\"\n"
        "save \"" + saved + "\"\n"
        "close\n"
        "script \"<cmd>2</cmd><qid>1</qid>\"\n"
        "expect reply \"<cmd>2</cmd>\"\n"
        "open \"" + saved + "\"\n"
        "script \"<cmd>2</cmd><qid>1</qid><qid>2</qid>\"\n"
        "expect reply \"<guid qid=\\\"2\\\">guid-two</guid>\"\n");
    EXPECT_EQ(run.exitCode, 0) << runner_->failure() << "\n" << transcript();
    EXPECT_TRUE(contains(transcript(), "reply \"<cmd>2</cmd>\\r<guid qid=\"1\">guid-one</guid>\\r"
                                       "<guid qid=\"2\">guid-two</guid>\\r\"\n"))
        << transcript();

    const LoadResult loaded = loadDocument(snapshot);
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    const std::string* slug = loaded.document->slug(kSecondPictureBox, SlugKind::picture, fourCC("bDIC"));
    ASSERT_NE(slug, nullptr);
    EXPECT_EQ(*slug, "guid-two");
    EXPECT_TRUE(contains(transcript(), "snapshot written to")) << transcript();
    EXPECT_TRUE(desktop::Desktop::instance().transcript().linesOf(desktop::EntryKind::Alert).empty()) << transcript();
}

// Layouts, snapshots, print files and view pictures: a FIFO in the way is
// refused at once (opening it used to wait for a reader for ever), and a
// link planted at the name the save once used for its temporary file is
// left alone.
TEST_F(ModuleSessionTest, FilesOfTheSessionNeverGoOverFifosOrThroughPlantedLinks) {
    const std::string layout = writeLayout(dir_);
    struct Case {
        const char* verb;
        const char* file;
        const char* after;
        const char* written;  // where the FIFO sits: the file, or the first page's picture
    };
    for (const Case& c : {Case{"save", "a.json", "", "a.json"}, Case{"snapshot", "b.json", "", "b.json"},
                          Case{"print", "c.ps", "", "c.ps"}, Case{"render", "d.png", "", "d.png"},
                          Case{"render", "e.svg", "", "e.svg"}, Case{"print", "f.png", " device", "f-1.png"}}) {
        const std::string fifo = dir_.file(c.written);
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        const std::string script = "open \"" + layout + "\"\n" + c.verb + " \"" + dir_.file(c.file) + "\"" + c.after + "\n";
        EXPECT_TRUE(lumbrel::test::finishesWithin(std::chrono::seconds(20), [&] {
            const ScriptRun run = runText(script);
            return run.exitCode == 1 && contains(runner_->failure(), "not a regular file");
        })) << script << "not refused in time";
        EXPECT_TRUE(std::filesystem::is_fifo(fifo)) << script;
    }

    const std::string victim = dir_.file("victim.json");
    lumbrel::test::writeFile(victim, "precious");
    const std::string saved = dir_.file("saved.json");
    ASSERT_EQ(::symlink(victim.c_str(), (saved + ".saving").c_str()), 0);
    EXPECT_EQ(runText("open \"" + layout + "\"\nsave \"" + saved + "\"\n").exitCode, 0) << runner_->failure();
    EXPECT_EQ(readFile(victim), "precious");
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(saved)));
    EXPECT_TRUE(loadDocument(saved).ok());
}

TEST_F(ModuleSessionTest, RequestsFromAnotherProcessAreServedBetweenLines) {
    ScriptingServer server;
    std::string error;
    ASSERT_TRUE(server.listen(dir_.file("host.sock"), error)) << error;
    RunnerOptions options;
    const ScriptingServer::Handler handler = [this](const std::string& request) {
        return runner_->externalRequest(request);
    };
    options.pollRequests = [&](int timeoutMs) { server.serve(handler, timeoutMs); };
    makeRunner(options);

    const std::string layout = writeLayout(dir_);
    ASSERT_EQ(runText("open \"" + layout + "\"\nscript \"<cmd>3</cmd><qid=\\\"1\\\">from-line</qid>\"\n").exitCode, 0);
    // The runner quit at the end of that script; a fresh one serves the client.
    makeRunner(options);
    auto client = std::async(std::launch::async, [&] {
        return sendRequest(dir_.file("host.sock"), "<cmd>2</cmd><qid>1</qid>");
    });
    const Script script = parseScript("open \"" + layout + "\"\nserve 1\n");
    ASSERT_TRUE(runner_->run(script.actions[0]));
    ASSERT_TRUE(runner_->run(script.actions[1]));
    const SendResult result = client.get();
    ASSERT_TRUE(result.ok) << result.error;
    // The layout on disk has no identifier: only the cmd element comes back.
    EXPECT_EQ(result.reply, "<cmd>2</cmd>\r");
    EXPECT_TRUE(contains(transcript(), "> (from another process) script \"<cmd>2</cmd><qid>1</qid>\"\n"))
        << transcript();
}

TEST_F(ModuleSessionTest, PreferencePaneWritesTheSettingsFile) {
    EXPECT_EQ(runText("preferences toggle 3 ok\nprefs show\n").exitCode, 0) << runner_->failure();
    EXPECT_TRUE(contains(transcript(), "preferences pane ")) << transcript();
    EXPECT_TRUE(contains(readFile(settingsFile()), "DragAndDrop=0")) << readFile(settingsFile());

    makeRunner(RunnerOptions{});
    lumbrel::test::writeFile(settingsFile(), "[Default]\nDragAndDrop=1\n");
    EXPECT_EQ(runText("switchin\npreferences toggle 3 cancel\n").exitCode, 0) << runner_->failure();
    EXPECT_EQ(readFile(settingsFile()), "[Default]\nDragAndDrop=1\n");
}

}  // namespace
}  // namespace hostsim::session::test

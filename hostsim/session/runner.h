// Runs parsed session lines against the simulator, one at a time, the way a
// person would act in the host: each line goes into the transcript as
// "> line", then its action runs (the simulator and the desktop add what the
// user saw). Checks (`expect ...`) look at what the last action showed.
//
// The module is loaded and started on demand: the first line that needs it
// loads the default module and activates it, unless the script did so itself
// (`load`, `compat`, `withhold` and `language` must come before that).
#pragma once

#include "script.h"
#include "session_agent.h"

#include "hostsim/host/simulator.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hostsim::session {

struct RunnerOptions {
    // What the script uses when it names no module.
    std::string defaultModule;
    // Serves waiting scripting requests from outside; called with 0 before
    // every line and between idle events, and with the time left while
    // `serve` runs (milliseconds). Unset: nothing is served.
    std::function<void(int timeoutMs)> pollRequests;
    // Where `help` prints; null: nowhere.
    std::FILE* console = nullptr;
    // The person at the terminal: `quit` and the end of the session ask
    // about every changed document (Save, Cancel, Don't Save) as a host
    // does, and Cancel keeps the host running. A script quits as it says.
    bool askBeforeQuit = false;
};

class SessionRunner {
public:
    // The agent is made the desktop's agent for the session; both must outlive the runner.
    SessionRunner(Simulator& simulator, std::shared_ptr<SessionAgent> agent, RunnerOptions options);

    // Runs one line; false when it failed, with failure() saying why (the
    // line number included). The failure also goes into the transcript.
    bool run(const Action& action);
    const std::string& failure() const noexcept { return failure_; }
    int failures() const noexcept { return static_cast<int>(failureLog_.size()); }
    // Every failure of the session, in order.
    const std::vector<std::string>& failureLog() const noexcept { return failureLog_; }

    // A scripting request from another process: the reply text, empty when
    // the module set none. Transcribed like a `script` line.
    std::string externalRequest(const std::string& request);

    // Ends the session: the host quits (shutdown callback, leak report) when
    // the module was loaded and has not quit yet. With askBeforeQuit the
    // changed documents are asked about first; a cancel cannot stop the end.
    void finish();
    bool quitted() const noexcept { return quitRequested_; }

    Simulator& simulator() noexcept { return sim_; }
    SessionAgent& agent() noexcept { return *agent_; }

private:
    bool execute(const Action& action);
    bool fail(std::string message);
    bool ensureLoaded();
    bool ensureStarted();
    void note(const std::string& line);
    void poll(int timeoutMs);

    bool doNew(const Action& action);
    bool doSnapshot(const Action& action);
    bool doMenus();
    bool doPointer(const Action& action);
    bool doDrop(const Action& action);
    bool doPrefs(const Action& action);
    bool doPreferences(const Action& action);
    bool doScript(const std::string& request, bool fromOutside);
    bool doExpectAlert(const Action& action);
    bool doExpectMenu(const Action& action);
    bool doExpectDialog(const Action& action);
    bool doWindow(const Action& action);
    bool doWindows();
    bool doServe(const Action& action);
    bool closeChangedDocuments();

    Simulator& sim_;
    std::shared_ptr<SessionAgent> agent_;
    RunnerOptions options_;
    std::string failure_;
    std::vector<std::string> failureLog_;
    int currentLine_ = 0;
    bool loadTried_ = false;
    bool startTried_ = false;
    bool quitRequested_ = false;
    std::size_t alertMark_ = 0;  // alerts shown before the last action began
    std::size_t dialogMark_ = 0; // transcript entries before the last action began
    std::optional<std::string> lastReply_;
    bool serving_ = false;       // inside a request from outside: no nested serving
};

struct ScriptRun {
    int exitCode = 0;  // 0 success, 1 a line failed
    int linesRun = 0;
};

// Runs every line in order; stops at the first failure unless `keepGoing`.
// Ends with finish().
ScriptRun runScript(const Script& script, SessionRunner& runner, bool keepGoing);
// The same for the text of a script that checkScript() found free of
// errors: each line is parsed as it comes, so that only one parsed line is
// held at a time however long the script.
ScriptRun runScriptText(std::string_view text, SessionRunner& runner, bool keepGoing);

}  // namespace hostsim::session

// `window "TITLE" ACTION`: the user acting in an open window that runs no
// modal loop (a modeless dialog), now rather than queued; `windows` lists
// what is open.
#include "runner.h"

#include "dialog_lines.h"

#include "desktop/desktop.h"
#include "desktop/transcript.h"
#include "src/platform/window_system.h"

#include <string>
#include <vector>

namespace hostsim::session {

bool SessionRunner::doWindow(const Action& action) {
    desktop::Desktop& desk = desktop::Desktop::instance();
    const DialogLine& line = action.dialog;
    const std::string title = desktop::quoteForTranscript(line.title);
    const lumbrel::platform::WindowRef window = desk.windowTitled(line.title);
    if (window == nullptr) return fail("no open window " + title);
    if (window == desk.frontDialog()) {
        return fail("the window " + title + " runs a modal loop: queue `dialog` lines before the action that opens it");
    }
    if (!lumbrel::platform::isWindowVisible(window)) return fail("the window " + title + " is hidden");
    const desktop::DialogRequest view = desk.describeDialog(window);
    switch (line.kind) {
        case DialogLine::Kind::Snapshot:
            if (const std::string why = writeSnapshot(view, line.path); !why.empty()) return fail(why);
            return true;
        case DialogLine::Kind::Expect:
            if (const std::string why = checkFailure(view, line); !why.empty()) return fail("window " + title + ": " + why);
            return true;
        case DialogLine::Kind::Act:
            break;
    }
    if (const std::string why = whyNotPossible(view, line); !why.empty()) return fail("window " + title + ": " + why);
    const desktop::Desktop::WindowActionResult result = desk.actInWindow(window, line.action);
    if (result.refused) return fail("window " + title + ": " + result.line);
    return true;
}

bool SessionRunner::doWindows() {
    desktop::Desktop& desk = desktop::Desktop::instance();
    const std::vector<lumbrel::platform::WindowRef> windows = desk.topLevelWindows();
    note("windows: " + std::to_string(windows.size()));
    for (const lumbrel::platform::WindowRef window : windows) {
        std::string text = describeForTerminal(desk.describeDialog(window));
        if (!lumbrel::platform::isWindowVisible(window)) text.insert(text.find('\n'), " (hidden)");
        if (window == desk.frontDialog()) text.insert(text.find('\n'), " (modal)");
        // One transcript line per line of the listing.
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = text.find('\n', start);
            note("  " + text.substr(start, end - start));
            start = end == std::string::npos ? text.size() : end + 1;
        }
    }
    return true;
}

}  // namespace hostsim::session

// What a session does inside a modal dialog: the words after `dialog TITLE`
// in a script, or typed at the terminal while a dialog waits. One line is an
// action of the user (set, check, uncheck, choose, click, context, key, type,
// wait, close), a picture of the dialog at that point (snapshot) or a check of one
// control (expect).
//
// Controls are named by identifier (a bare number) or by title (a quoted
// text). Pop-up, list and tab items are named by text (quoted) or by a bare number N, counted
// from 1 as the terminal lists them.
#pragma once

#include "script_lexer.h"

#include "desktop/agent.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hostsim::session {

// A check of one control of the dialog.
struct ControlCheck {
    enum class What { Text, Value, Checked, Unchecked, Enabled, Disabled, Shown, Hidden, Selected, Focused };
    What what = What::Text;
    std::string text;  // Text, Selected: the text expected
    int number = 0;    // Value
};

struct DialogLine {
    enum class Kind { Act, Snapshot, Expect };
    Kind kind = Kind::Act;
    // The dialog's title; empty with `anyDialog` for whichever dialog asks next.
    std::string title;
    bool anyDialog = true;
    desktop::DialogAction action;  // Act
    std::string path;              // Snapshot: .svg or .png
    // Expect: the control by `action.id` or `action.title`, and the check.
    ControlCheck check;
    int line = 0;        // the script line that queued it (0: typed at the terminal)
    std::string source;  // the words as written, for messages
};

// Parses the action words from `tokens[first]` on. False with `error` and
// `column` (of the offending word; the line's end when a word is missing).
bool parseDialogWords(const std::vector<Token>& tokens, std::size_t first, DialogLine& out, std::string& error,
                      int& column);
// The same for a line as typed at the terminal.
bool parseDialogText(std::string_view text, DialogLine& out, std::string& error);

// The control a line names in the dialog; null when there is none.
const desktop::ControlView* findControl(const desktop::DialogRequest& dialog, const DialogLine& line);
// Why the line cannot act or check in this dialog ("no control 7", "control
// 3 "OK" is disabled"); empty when it can. Key, wait and close need no
// control; `wait` needs a running timer.
std::string whyNotPossible(const desktop::DialogRequest& dialog, const DialogLine& line);
// An expect line: empty when the check passes, else what was found.
std::string checkFailure(const desktop::DialogRequest& dialog, const DialogLine& line);
// Writes the dialog's picture (missing folders are made); empty on success.
std::string writeSnapshot(const desktop::DialogRequest& dialog, const std::string& path);

// The dialog as a person at the terminal reads it: the title, then one line
// per control (identifier, kind, title or text, value, state, items).
std::string describeForTerminal(const desktop::DialogRequest& dialog);
// The words a person may type in a dialog, for `help`.
const char* dialogWordsSummary() noexcept;

}  // namespace hostsim::session

// The session script language: one user action, answer or check per line.
// hostsim/session/README.md describes every command with an example; this
// header holds what a parsed line becomes.
//
// Parsing never runs anything: a whole script is checked first, so that a
// typo on line 90 is reported before line 1 changes a document.
#pragma once

#include "dialog_lines.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hostsim::session {

enum class Verb {
    // the module and the start
    Load, Compat, Withhold, Start,
    // documents
    Open, New, Save, Close, Current, Snapshot, Print,
    // menus and commands
    Menu, Menus, Command,
    // the layout view
    SelectBox, SelectNone, Page, Zoom, Scroll, Tool, Redraw, Render,
    // keyboard, mouse, time
    Key, Click, DoubleClick, Idle, Wait, Serve,
    // drags
    Drop,
    // the application
    Language, SwitchIn, PrefsSet, PrefsRemove, PrefsShow, Preferences,
    // scripting requests
    Script, ScriptFile,
    // alerts, dialogs, pop-up menus, the application chooser
    Answer, Dialog, Popup, ChooseApp, Window, Windows,
    // checks
    ExpectDialog, ExpectNoDialog, ExpectAlert, ExpectNoAlert, ExpectClipboard, ExpectNoClipboard, ExpectMenu, ExpectNoViolation,
    ExpectViolation, ExpectReply, ExpectNoReply, ExpectStarted, ExpectRefused,
    // the rest
    Echo, Help, Quit,
};

// The command word of a verb as written ("expect alert" for ExpectAlert).
const char* verbName(Verb verb) noexcept;

// A point on the current spread in points (x = horizontal, y = vertical), or
// on the screen in pixels.
struct PointArg {
    bool screen = false;
    double x = 0.0, y = 0.0;
    int spread = 0;  // 0: the current spread (spread points only)
};

struct DropItemArg {
    enum class Kind { File, Text, Url };
    Kind kind = Kind::File;
    std::string value;  // path, text, or URL as written
};

// Checks of `expect menu`.
struct MenuCheck {
    std::optional<bool> enabled;
    std::optional<bool> checked;
};

// One parsed line. Which fields a verb uses is listed beside them.
struct Action {
    Verb verb = Verb::Echo;
    int line = 0;        // 1-based line number in the script
    std::string source;  // the line as written, without its comment and outer blanks

    // Render: the picture file (.svg or .png).
    // Load, Open, Save (empty: the document's own path), Snapshot (may be
    // empty), ScriptFile, Print: a path. New: the project name. Menu, ExpectMenu: the
    // item title ("View>Show Image Names" allowed). Withhold: the group.
    // Script: the request. Answer: the button title (empty: by item).
    // ExpectAlert: the message. ExpectClipboard, ExpectViolation, ExpectReply:
    // the text. Echo: the text. PrefsSet/PrefsRemove: the section.
    std::string text;
    // PrefsSet/PrefsRemove: the key. ExpectAlert: the informative text (when hasText2).
    std::string text2;
    bool hasText2 = false;
    // PrefsSet: the value.
    std::string text3;

    // Compat, Current, Command, SelectBox, Page, Tool, Idle, Wait, Serve
    // (seconds), Language, New (pages), Answer (item; 0 takes the default), Menu (an id when byNumber).
    std::int64_t number = 0;
    bool byNumber = false;  // Menu: the item given by its command id
    double real = 0.0;      // Zoom: percent

    std::uint16_t modifiers = 0;  // Key, Click, DoubleClick, Drop
    unsigned char character = 0;  // Key
    PointArg point;               // Click, DoubleClick, Drop; Scroll: the distance in pixels
    std::vector<DropItemArg> dropItems;  // Drop
    std::vector<std::int16_t> toggles;   // Preferences: check boxes clicked
    enum class PaneEnd { Ok, Cancel, HostOk };
    PaneEnd paneEnd = PaneEnd::Ok;       // Preferences
    MenuCheck menuCheck;                 // ExpectMenu
    bool device = false;                 // Print: output the host draws itself, not PostScript
    // Preferences: no toggles and no end given; the agent acts in the pane.
    bool paneByAgent = false;
    // Dialog: what to do in the dialog (queued). Window: the same words, carried
    // out now in the open window titled `dialog.title` (a modeless dialog). Popup: `text` the item (empty: by
    // `number`, 1-based; 0 dismisses). ChooseApp: `text` the path (empty: cancel).
    DialogLine dialog;
    // ExpectDialog: `text` the title; shown during the last action, open now,
    // or closed by the last action (with `number` the result when hasResult).
    enum class DialogState { Shown, Open, Closed };
    DialogState dialogState = DialogState::Shown;
    bool hasResult = false;
};

struct ParseError {
    int line = 0;
    int column = 0;
    std::string message;
};

// One line: nullopt for a blank or comment line. On a fault, `error` is set
// (line and column included) and nullopt returned.
std::optional<Action> parseLine(std::string_view text, int lineNumber, ParseError& error);

struct Script {
    std::vector<Action> actions;
    std::vector<ParseError> errors;  // every faulty line, in order
    bool ok() const noexcept { return errors.empty(); }
};

// Calls `each` with every line of a script (without its line end) and its
// number, until it answers false. Lines end in LF, CR LF or CR; a UTF-8
// byte-order mark at the start is no part of the first line.
void forEachScriptLine(std::string_view text, const std::function<bool(std::string_view, int)>& each);

// A whole script, every line parsed and kept.
Script parseScript(std::string_view text);
// Every syntax error of a script, in order, without keeping the parsed
// lines: a long script is checked first and parsed again line by line as it
// runs (runScriptText).
std::vector<ParseError> checkScript(std::string_view text);

// "name:12:5: message".
std::string formatError(const ParseError& error, std::string_view sourceName);

// The command summary printed by `help` and `hostsim --help`.
const char* commandSummary() noexcept;

}  // namespace hostsim::session

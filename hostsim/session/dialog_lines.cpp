#include "dialog_lines.h"

#include "hostsim/host/real_window_picture.h"

#include "desktop/desktop.h"
#include "desktop/files/file_open.h"
#include "desktop/transcript.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <limits>
#include <system_error>

namespace hostsim::session {

namespace {

using desktop::ControlView;
using desktop::DialogAction;
using desktop::DialogKey;

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool parseInt(std::string_view text, int& out) {
    if (text.empty()) return false;
    const bool negative = text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty()) return false;
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    out = negative ? -value : value;
    return true;
}

struct NamedKey {
    const char* name;
    DialogKey key;
};

constexpr NamedKey kKeys[] = {
    {"tab", DialogKey::Tab},         {"shift-tab", DialogKey::ShiftTab}, {"return", DialogKey::Return},
    {"enter", DialogKey::Return},    {"escape", DialogKey::Escape},      {"esc", DialogKey::Escape},
    {"space", DialogKey::Space},     {"up", DialogKey::Up},              {"down", DialogKey::Down},
    {"backspace", DialogKey::Backspace},
};

class Words {
public:
    Words(const std::vector<Token>& tokens, std::size_t first, std::string& error, int& column)
        : tokens_(tokens), index_(first), error_(error), column_(column) {}

    bool atEnd() const noexcept { return index_ >= tokens_.size(); }
    const Token* peek() const noexcept { return atEnd() ? nullptr : &tokens_[index_]; }

    bool fail(const Token* at, std::string message) {
        error_ = std::move(message);
        if (at != nullptr) {
            column_ = at->column;
        } else {
            column_ = tokens_.empty() ? 1 : tokens_.back().endColumn + 1;
        }
        return false;
    }
    const Token* next(std::string_view what) {
        if (atEnd()) {
            fail(nullptr, "missing " + std::string(what));
            return nullptr;
        }
        return &tokens_[index_++];
    }
    bool accept(std::string_view word) {
        const Token* token = peek();
        if (token == nullptr || token->quoted || lower(token->text) != word) return false;
        ++index_;
        return true;
    }
    bool end() {
        if (atEnd()) return true;
        return fail(peek(), "unexpected \"" + peek()->text + "\"");
    }

    // A bare number is an identifier; any other word a title.
    bool target(DialogAction& action) {
        const Token* token = next("control (an identifier or a \"title\")");
        if (token == nullptr) return false;
        int id = 0;
        if (!token->quoted && parseInt(token->text, id)) {
            action.id = id;
            action.title.clear();
            return true;
        }
        if (token->text.empty()) return fail(token, "empty control title");
        action.title = token->text;
        return true;
    }

private:
    const std::vector<Token>& tokens_;
    std::size_t index_;
    std::string& error_;
    int& column_;
};

bool parseKeyWord(Words& w, DialogAction& action) {
    const Token* token = w.next("key (tab, shift-tab, return, escape, space, up, down, backspace or \"text\")");
    if (token == nullptr) return false;
    if (token->quoted || token->text.size() == 1) {
        if (token->text.empty()) return w.fail(token, "no characters to type");
        action = DialogAction::type(token->text);
        return true;
    }
    const std::string name = lower(token->text);
    for (const NamedKey& key : kKeys) {
        if (name == key.name) {
            action = DialogAction::press(key.key);
            return true;
        }
    }
    return w.fail(token, "unknown key \"" + token->text +
                             "\" (tab, shift-tab, return, escape, space, up, down, backspace, or \"characters\")");
}

bool parseExpectWords(Words& w, DialogLine& out) {
    if (!w.target(out.action)) return false;
    ControlCheck& check = out.check;
    const Token* token = w.next("what to expect (text, value, checked, unchecked, enabled, disabled, shown, hidden, "
                                "selected, focused)");
    if (token == nullptr) return false;
    const std::string word = token->quoted ? std::string() : lower(token->text);
    if (word == "text" || word == "selected") {
        check.what = word == "text" ? ControlCheck::What::Text : ControlCheck::What::Selected;
        const Token* text = w.next("expected text");
        if (text == nullptr) return false;
        check.text = text->text;
        return true;
    }
    if (word == "value") {
        check.what = ControlCheck::What::Value;
        const Token* number = w.next("expected value");
        if (number == nullptr) return false;
        if (number->quoted || !parseInt(number->text, check.number)) {
            return w.fail(number, "a value is a whole number, not \"" + number->text + "\"");
        }
        return true;
    }
    static constexpr std::pair<const char*, ControlCheck::What> kStates[] = {
        {"checked", ControlCheck::What::Checked}, {"unchecked", ControlCheck::What::Unchecked},
        {"enabled", ControlCheck::What::Enabled}, {"disabled", ControlCheck::What::Disabled},
        {"shown", ControlCheck::What::Shown},     {"visible", ControlCheck::What::Shown},
        {"hidden", ControlCheck::What::Hidden},   {"focused", ControlCheck::What::Focused},
    };
    for (const auto& [name, what] : kStates) {
        if (word == name) {
            check.what = what;
            return true;
        }
    }
    return w.fail(token, "cannot expect \"" + token->text +
                             "\" (text, value, checked, unchecked, enabled, disabled, shown, hidden, selected, "
                             "focused)");
}

std::string controlName(const ControlView& control) {
    std::string name = std::to_string(control.id);
    if (!control.text.empty() && !control.password) name += " " + desktop::quoteForTranscript(control.text);
    return name;
}

std::string targetName(const DialogLine& line) {
    return line.action.title.empty() ? std::to_string(line.action.id)
                                     : "titled " + desktop::quoteForTranscript(line.action.title);
}

bool needsControl(const DialogLine& line) {
    if (line.kind == DialogLine::Kind::Expect) return true;
    if (line.kind != DialogLine::Kind::Act) return false;
    switch (line.action.kind) {
        case DialogAction::Kind::SetText:
        case DialogAction::Kind::Check:
        case DialogAction::Kind::Uncheck:
        case DialogAction::Kind::Choose:
        case DialogAction::Kind::Click:
        case DialogAction::Kind::ContextClick: return true;
        default: return false;
    }
}

std::string itemsText(const ControlView& control) {
    std::string out;
    for (std::size_t i = 0; i < control.items.size(); ++i) {
        out += " #" + std::to_string(i + 1) + " " + desktop::quoteForTranscript(control.items[i]);
        if (static_cast<int>(i) == control.value) out += "*";
    }
    return out;
}

}  // namespace

bool parseDialogWords(const std::vector<Token>& tokens, std::size_t first, DialogLine& out, std::string& error,
                      int& column) {
    Words w(tokens, first, error, column);
    const Token* verbToken = w.next("dialog action (set, check, uncheck, choose, click, context, key, type, "
                                    "wait, close, snapshot, expect)");
    if (verbToken == nullptr) return false;
    const std::string verb = verbToken->quoted ? std::string() : lower(verbToken->text);
    DialogAction& action = out.action;
    out.kind = DialogLine::Kind::Act;
    if (verb == "set") {
        action.kind = DialogAction::Kind::SetText;
        if (!w.target(action)) return false;
        const Token* text = w.next("the text to set");
        if (text == nullptr) return false;
        action.text = text->text;
        return w.end();
    }
    if (verb == "check" || verb == "uncheck") {
        action.kind = verb == "check" ? DialogAction::Kind::Check : DialogAction::Kind::Uncheck;
        if (!w.target(action)) return false;
        if (verb == "check") {
            if (w.accept("off")) {
                action.kind = DialogAction::Kind::Uncheck;
            } else {
                w.accept("on");
            }
        }
        return w.end();
    }
    if (verb == "choose") {
        action.kind = DialogAction::Kind::Choose;
        if (!w.target(action)) return false;
        const Token* item = w.next("item (\"text\" or a number)");
        if (item == nullptr) return false;
        int index = 0;
        // A bare number counts items; a quoted one is an item's text (as `answer 2` and `answer "2"`).
        if (!item->quoted && parseInt(item->text, index)) {
            if (index < 1) return w.fail(item, "items are counted from 1");
            action.index = index - 1;
            action.text.clear();
        } else {
            if (item->text.empty()) return w.fail(item, "empty item text");
            action.text = item->text;
        }
        return w.end();
    }
    if (verb == "click") {
        action.kind = DialogAction::Kind::Click;
        return w.target(action) && w.end();
    }
    if (verb == "context") {
        action.kind = DialogAction::Kind::ContextClick;
        if (!w.target(action)) return false;
        if (w.atEnd()) return true;
        // Either both coordinates of the point in the control or neither.
        for (int* coordinate : {&action.x, &action.y}) {
            const Token* number = w.next("the point's y (context ID X Y)");
            if (number == nullptr) return false;
            if (number->quoted || !parseInt(number->text, *coordinate) || *coordinate < 0) {
                return w.fail(number, "a point in the control is two whole numbers from 0, not \"" + number->text +
                                          "\"");
            }
        }
        return w.end();
    }
    if (verb == "key") return parseKeyWord(w, action) && w.end();
    if (verb == "type") {
        const Token* text = w.next("the characters to type");
        if (text == nullptr) return false;
        if (text->text.empty()) return w.fail(text, "no characters to type");
        action = DialogAction::type(text->text);
        return w.end();
    }
    if (verb == "wait") {
        action = DialogAction::wait();
        return w.end();
    }
    if (verb == "close") {
        action = DialogAction::closeBox();
        return w.end();
    }
    if (verb == "snapshot") {
        out.kind = DialogLine::Kind::Snapshot;
        const Token* path = w.next("picture path (.svg or .png)");
        if (path == nullptr) return false;
        out.path = path->text;
        return w.end();
    }
    if (verb == "expect") {
        out.kind = DialogLine::Kind::Expect;
        return parseExpectWords(w, out) && w.end();
    }
    return w.fail(verbToken, "unknown dialog action \"" + verbToken->text +
                                 "\" (set, check, uncheck, choose, click, context, key, type, wait, close, snapshot, "
                                 "expect)");
}

bool parseDialogText(std::string_view text, DialogLine& out, std::string& error) {
    const LexResult lexed = splitLine(text);
    if (!lexed.ok()) {
        error = lexed.error;
        return false;
    }
    int column = 0;
    if (!parseDialogWords(lexed.tokens, 0, out, error, column)) return false;
    out.source = std::string(text);
    return true;
}

const ControlView* findControl(const desktop::DialogRequest& dialog, const DialogLine& line) {
    if (!line.action.title.empty()) {
        const ControlView* hidden = nullptr;
        for (const ControlView& control : dialog.controls) {
            if (control.text != line.action.title) continue;
            if (control.visible) return &control;
            if (hidden == nullptr) hidden = &control;
        }
        return hidden;
    }
    return dialog.control(line.action.id);
}

std::string whyNotPossible(const desktop::DialogRequest& dialog, const DialogLine& line) {
    if (line.kind == DialogLine::Kind::Act && line.action.kind == DialogAction::Kind::Wait && !dialog.timerRunning) {
        return "wait: the dialog runs no timer";
    }
    if (!needsControl(line)) return {};
    const ControlView* control = findControl(dialog, line);
    if (control == nullptr) return "no control " + targetName(line);
    if (line.kind == DialogLine::Kind::Expect) return {};
    if (!control->visible) return "control " + controlName(*control) + " is hidden";
    if (!control->enabled) return "control " + controlName(*control) + " is disabled";
    if (line.action.kind == DialogAction::Kind::ContextClick &&
        (line.action.x >= control->rect.width || line.action.y >= control->rect.height)) {
        return "point " + std::to_string(line.action.x) + ',' + std::to_string(line.action.y) +
               " lies outside control " + controlName(*control);
    }
    if (line.action.kind == DialogAction::Kind::Choose) {
        if (control->items.empty()) return "control " + controlName(*control) + " has no items";
        if (line.action.text.empty()) {
            if (line.action.index >= static_cast<int>(control->items.size())) {
                return "control " + controlName(*control) + " has no item #" + std::to_string(line.action.index + 1);
            }
        } else if (std::find(control->items.begin(), control->items.end(), line.action.text) ==
                   control->items.end()) {
            return "control " + controlName(*control) + " has no item " + desktop::quoteForTranscript(line.action.text);
        }
    }
    return {};
}

std::string checkFailure(const desktop::DialogRequest& dialog, const DialogLine& line) {
    const ControlView* control = findControl(dialog, line);
    if (control == nullptr) return "no control " + targetName(line);
    const std::string name = "control " + controlName(*control);
    const ControlCheck& check = line.check;
    const auto state = [&](bool holds, const char* wanted, const char* found) {
        return holds ? std::string() : name + " is " + found + ", not " + wanted;
    };
    switch (check.what) {
        case ControlCheck::What::Text:
            if (control->text == check.text) return {};
            return name + " holds " + desktop::quoteForTranscript(control->text) + ", not " +
                   desktop::quoteForTranscript(check.text);
        case ControlCheck::What::Value:
            if (control->value == check.number) return {};
            return name + " has the value " + std::to_string(control->value) + ", not " + std::to_string(check.number);
        case ControlCheck::What::Checked: return state(control->value == 1, "checked", "unchecked");
        case ControlCheck::What::Unchecked: return state(control->value == 0, "unchecked", "checked");
        case ControlCheck::What::Enabled: return state(control->enabled, "enabled", "disabled");
        case ControlCheck::What::Disabled: return state(!control->enabled, "disabled", "enabled");
        case ControlCheck::What::Shown: return state(control->visible, "shown", "hidden");
        case ControlCheck::What::Hidden: return state(!control->visible, "hidden", "shown");
        case ControlCheck::What::Focused: return state(control->focused, "focused", "not focused");
        case ControlCheck::What::Selected: {
            const bool inRange = control->value >= 0 && static_cast<std::size_t>(control->value) < control->items.size();
            const std::string selected = inRange ? control->items[static_cast<std::size_t>(control->value)] : "";
            if (inRange && selected == check.text) return {};
            return name + " has " + (inRange ? desktop::quoteForTranscript(selected) : std::string("no item")) +
                   " selected, not " + desktop::quoteForTranscript(check.text);
        }
    }
    return {};
}

std::string writeSnapshot(const desktop::DialogRequest& dialog, const std::string& path) {
    const std::filesystem::path target = desktop::files::pathOf(path);
    if (target.has_parent_path()) {
        std::error_code error;
        std::filesystem::create_directories(target.parent_path(), error);
    }
    if (desktop::Desktop::instance().writeWindowPicture(dialog.dialog, path)) return {};
    // The Windows host's dialogs are real windows: their picture comes from the display.
    std::string why;
    if (hostsim::writeRealWindowPicture(dialog.dialog, path, why)) return {};
    return "cannot write the picture of the dialog to " + desktop::quoteForTranscript(path);
}

std::string describeForTerminal(const desktop::DialogRequest& dialog) {
    std::string out = "--- dialog " + desktop::quoteForTranscript(dialog.title) + " ---\n";
    for (const ControlView& control : dialog.controls) {
        if (control.kind == desktop::ControlKind::Custom && control.text.empty() && control.items.empty()) continue;
        std::string line(static_cast<std::size_t>(std::max(1, control.depth)) * 2, ' ');
        line += "[" + std::to_string(control.id) + "] " + desktop::controlKindName(control.kind);
        if (!control.text.empty()) {
            line += " " + (control.password ? std::string("\"***\"") : desktop::quoteForTranscript(control.text));
        }
        switch (control.kind) {
            case desktop::ControlKind::CheckBox:
            case desktop::ControlKind::RadioButton: line += control.value == 1 ? " on" : " off"; break;
            case desktop::ControlKind::ProgressBar:
                line += " " + std::to_string(control.value) + " of " + std::to_string(control.minimum) + ".." +
                        std::to_string(control.maximum);
                break;
            default: break;
        }
        if (!control.items.empty()) line += " items:" + itemsText(control);
        if (!control.visible) line += " (hidden)";
        if (!control.enabled) line += " (disabled)";
        if (control.focused) line += " (focus)";
        out += line + "\n";
    }
    if (dialog.timerRunning) out += "  (a timer runs: wait lets it fire)\n";
    return out;
}

const char* dialogWordsSummary() noexcept {
    return R"(In a dialog (controls by identifier, or by "title"):
  set ID "TEXT"               replace the text of an edit field
  check ID [on|off] | uncheck ID
  choose ID "ITEM" | choose ID N       item of a pop-up, list or tab control (1 is the first)
  click ID | click "TITLE"
  context ID [X Y]            right click in the control (at its middle, or X Y in it)
  key tab|shift-tab|return|escape|space|up|down|backspace | key "x" | type "TEXT"
  wait                        let the dialog's timer fire
  close                       the close box
  snapshot PATH               picture of the dialog (.svg or .png)
  expect ID text "T" | value N | checked | unchecked | enabled | disabled | shown | hidden | selected "ITEM" | focused
)";
}

}  // namespace hostsim::session

#include "script.h"

#include "script_lexer.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

namespace hostsim::session {

namespace {

constexpr std::int64_t kInt16Min = std::numeric_limits<std::int16_t>::min();
constexpr std::int64_t kInt16Max = std::numeric_limits<std::int16_t>::max();
constexpr std::int64_t kUInt32Max = std::numeric_limits<std::uint32_t>::max();
constexpr std::int64_t kMaxRepeat = 1000000;
constexpr std::int64_t kMaxServeSeconds = 86400;
// The view scales a session can ask for, in percent.
constexpr double kMinZoomPercent = 1.0;
constexpr double kMaxZoomPercent = 8000.0;
constexpr std::int64_t kDropEffectCopy = 4;
// Points and pixels beyond this lie far off any page (a layout's pasteboard
// ends within a few thousand points) and keep the host's arithmetic in range.
constexpr int kMaxCoordinate = 1000000;

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

struct NamedKey {
    const char* name;
    unsigned char code;
};

constexpr std::array<NamedKey, 17> kNamedKeys{{
    {"esc", 27}, {"escape", 27}, {"return", 13}, {"enter", 3}, {"tab", 9}, {"space", 32},
    {"backspace", 8}, {"delete", 8}, {"fwddelete", 127}, {"left", 28}, {"right", 29},
    {"up", 30}, {"down", 31}, {"home", 1}, {"end", 4}, {"pageup", 11}, {"pagedown", 12},
}};

struct NamedModifier {
    const char* name;
    std::uint16_t bits;
};

// The event modifier bits of the host's event records.
constexpr std::array<NamedModifier, 14> kModifiers{{
    {"cmd", 0x0100}, {"command", 0x0100}, {"shift", 0x0200}, {"caps", 0x0400}, {"capslock", 0x0400},
    {"option", 0x0800}, {"opt", 0x0800}, {"alt", 0x0800}, {"ctrl", 0x1000}, {"control", 0x1000},
    {"rshift", 0x2000}, {"roption", 0x4000}, {"ralt", 0x4000}, {"rctrl", 0x8000},
}};

std::optional<std::uint16_t> modifierBits(std::string_view word) {
    const std::string name = lower(word);
    for (const auto& modifier : kModifiers) {
        if (name == modifier.name) return modifier.bits;
    }
    return std::nullopt;
}

bool parseInteger(std::string_view text, std::int64_t& out) {
    if (text.empty()) return false;
    if (text.front() == '+') text.remove_prefix(1);
    int base = 10;
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return false;
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return false;
    out = negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
    return true;
}

// A word a person meant as a number: "nan", "inf", "1e999" and the like.
bool looksNumeric(std::string_view text) {
    if (text.empty()) return false;
    if (text.front() == '+' || text.front() == '-') text.remove_prefix(1);
    const std::string word = lower(text);
    if (word == "nan" || word == "inf" || word == "infinity") return true;
    double ignored = 0.0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), ignored);
    return end == word.data() + word.size() && (ec == std::errc() || ec == std::errc::result_out_of_range);
}

bool parseReal(std::string_view text, double& out) {
    if (text.empty()) return false;
    if (text.front() == '+') text.remove_prefix(1);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return false;
    out = value;
    return true;
}

// A PostScript print file named for another kind of file (.pdf, a picture):
// refused, so that nobody opens PostScript as a PDF.
std::string printPathProblem(const std::string& path, bool device) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    const std::string extension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash) ? lower(path.substr(dot)) : "";
    if (device) return {};  // the host checks the picture kind itself
    for (const char* other : {".pdf", ".png", ".svg", ".jpg", ".jpeg", ".tif", ".tiff", ".json"}) {
        if (extension == other) {
            return "print writes PostScript: name the file .ps, not " + extension +
                   " (pictures of the pages: print PATH.png device)";
        }
    }
    return {};
}

// Walks the words of one line and records the first fault.
class LineParser {
public:
    LineParser(std::vector<Token> tokens, int lineNumber, ParseError& error)
        : tokens_(std::move(tokens)), line_(lineNumber), error_(error) {}

    bool failed() const noexcept { return failed_; }
    bool atEnd() const noexcept { return index_ >= tokens_.size(); }
    const Token* peek() const noexcept { return atEnd() ? nullptr : &tokens_[index_]; }
    const Token& previous() const noexcept { return tokens_[index_ - 1]; }
    std::size_t index() const noexcept { return index_; }
    const std::vector<Token>& tokens() const noexcept { return tokens_; }

    bool fail(int column, std::string message) {
        if (!failed_) {
            failed_ = true;
            error_.line = line_;
            error_.column = column;
            error_.message = std::move(message);
        }
        return false;
    }
    bool failHere(std::string message) { return fail(endColumn(), std::move(message)); }
    // Fails at the next word, quoting it between `before` and `after`; at the
    // end of the line, where there is no word, at the line's end.
    bool failAtWord(const std::string& before, const std::string& after) {
        const Token* token = peek();
        if (token == nullptr) return failHere(before + after);
        return fail(token->column, before + token->text + after);
    }

    // A bare (unquoted) word equal to `word`, ignoring case; consumed when it matches.
    bool acceptWord(std::string_view word) {
        const Token* token = peek();
        if (token == nullptr || token->quoted || lower(token->text) != word) return false;
        ++index_;
        return true;
    }

    const Token* next(std::string_view what) {
        if (atEnd()) {
            failHere("missing " + std::string(what));
            return nullptr;
        }
        return &tokens_[index_++];
    }

    bool text(std::string& out, std::string_view what) {
        const Token* token = next(what);
        if (token == nullptr) return false;
        out = token->text;
        return true;
    }

    bool integer(std::int64_t& out, std::int64_t min, std::int64_t max, std::string_view what) {
        const Token* token = next(what);
        if (token == nullptr) return false;
        std::int64_t value = 0;
        if (token->quoted || !parseInteger(token->text, value)) {
            return fail(token->column, std::string(what) + " must be a whole number, not \"" + token->text + "\"");
        }
        if (value < min || value > max) {
            return fail(token->column, std::string(what) + " must lie between " + std::to_string(min) + " and " +
                                           std::to_string(max));
        }
        out = value;
        return true;
    }

    bool real(double& out, std::string_view what, std::string_view allowedSuffix = {}) {
        const Token* token = next(what);
        if (token == nullptr) return false;
        std::string_view word = token->text;
        if (!allowedSuffix.empty() && word.size() > allowedSuffix.size() &&
            word.substr(word.size() - allowedSuffix.size()) == allowedSuffix) {
            word.remove_suffix(allowedSuffix.size());
        }
        if (token->quoted || !parseReal(word, out)) {
            return fail(token->column, std::string(what) + " must be a number, not \"" + token->text + "\"");
        }
        return true;
    }

    // "x,y" as one word.
    bool point(PointArg& out) {
        const Token* token = next("point (x,y)");
        if (token == nullptr) return false;
        const std::string& word = token->text;
        const std::size_t comma = word.find(',');
        if (token->quoted || comma == std::string::npos) {
            return fail(token->column, "a point is written x,y without blanks (like 120,80), not \"" + word + "\"");
        }
        double x = 0.0, y = 0.0;
        const std::string_view xText = std::string_view(word).substr(0, comma);
        const std::string_view yText = std::string_view(word).substr(comma + 1);
        if (!parseReal(xText, x) || !parseReal(yText, y)) {
            const bool numbers = looksNumeric(xText) && looksNumeric(yText);
            return fail(token->column, numbers ? "the coordinates of \"" + word + "\" must be finite numbers"
                                               : "a point is written x,y with two numbers (like 120,80), not \"" +
                                                     word + "\"");
        }
        if (std::fabs(x) > kMaxCoordinate || std::fabs(y) > kMaxCoordinate) {
            return fail(token->column, "the coordinates of \"" + word + "\" must lie between -" +
                                           std::to_string(kMaxCoordinate) + " and " + std::to_string(kMaxCoordinate));
        }
        out.x = x;
        out.y = y;
        return true;
    }

    // Modifier words up to the end of the line.
    bool modifiers(std::uint16_t& out) {
        while (!atEnd()) {
            const Token& token = tokens_[index_];
            const auto bits = token.quoted ? std::nullopt : modifierBits(token.text);
            if (!bits) {
                return fail(token.column, "unknown modifier \"" + token.text +
                                              "\" (cmd, shift, option, ctrl, caps, rshift, roption, rctrl)");
            }
            out = static_cast<std::uint16_t>(out | *bits);
            ++index_;
        }
        return true;
    }

    bool end() {
        if (atEnd()) return true;
        return fail(tokens_[index_].column, "unexpected \"" + tokens_[index_].text + "\"");
    }

private:
    int endColumn() const noexcept {
        if (tokens_.empty()) return 1;
        return index_ < tokens_.size() ? tokens_[index_].column : tokens_.back().endColumn + 1;
    }

    std::vector<Token> tokens_;
    std::size_t index_ = 0;
    int line_;
    ParseError& error_;
    bool failed_ = false;
};

bool parseKey(LineParser& p, Action& action) {
    const Token* token = p.next("key");
    if (token == nullptr) return false;
    if (token->text.size() == 1) {
        action.character = static_cast<unsigned char>(token->text[0]);
    } else if (!token->quoted && lower(token->text) == "code") {
        std::int64_t code = 0;
        if (!p.integer(code, 0, 255, "key code")) return false;
        action.character = static_cast<unsigned char>(code);
    } else {
        const std::string name = token->quoted ? std::string() : lower(token->text);
        bool found = false;
        for (const auto& key : kNamedKeys) {
            if (name == key.name) {
                action.character = key.code;
                found = true;
            }
        }
        if (!found) {
            return p.fail(token->column, "unknown key \"" + token->text +
                                             "\" (one character, a name like esc, return, tab, or code N)");
        }
    }
    return p.modifiers(action.modifiers) && p.end();
}

// [px] x,y [spread N] — `px` only where screen points are allowed.
bool parsePlace(LineParser& p, Action& action, bool screenAllowed) {
    if (screenAllowed && p.acceptWord("px")) {
        action.point.screen = true;
        return p.point(action.point);
    }
    if (!p.point(action.point)) return false;
    if (p.acceptWord("spread")) {
        std::int64_t spread = 0;
        if (!p.integer(spread, 1, kInt16Max, "spread")) return false;
        action.point.spread = static_cast<int>(spread);
    }
    return true;
}

bool parseDrop(LineParser& p, Action& action) {
    action.number = kDropEffectCopy;
    while (!p.atEnd() && !p.acceptWord("at")) {
        DropItemArg item;
        if (p.acceptWord("text")) {
            item.kind = DropItemArg::Kind::Text;
            if (!p.text(item.value, "dragged text")) return false;
        } else if (p.acceptWord("url")) {
            item.kind = DropItemArg::Kind::Url;
            if (!p.text(item.value, "dragged URL")) return false;
        } else {
            if (!p.text(item.value, "dragged file")) return false;
        }
        action.dropItems.push_back(std::move(item));
        if (p.atEnd()) return p.failHere("missing \"at x,y\"");
    }
    if (action.dropItems.empty()) return p.failHere("missing what is dragged (a path, text \"...\" or url \"...\")");
    if (p.previous().quoted || lower(p.previous().text) != "at") return p.failHere("missing \"at x,y\"");
    if (!parsePlace(p, action, true)) return false;
    if (p.acceptWord("effect")) {
        if (!p.integer(action.number, 0, kUInt32Max, "drop effect")) return false;
    }
    return p.modifiers(action.modifiers) && p.end();
}

bool parsePreferences(LineParser& p, Action& action) {
    if (p.acceptWord("toggle")) {
        while (const Token* token = p.peek()) {
            std::int64_t item = 0;
            if (token->quoted || !parseInteger(token->text, item)) break;
            if (!p.integer(item, 1, kInt16Max, "check box item")) return false;
            action.toggles.push_back(static_cast<std::int16_t>(item));
        }
        if (action.toggles.empty()) return p.failHere("missing check box items after toggle");
    }
    if (p.acceptWord("ok")) {
        action.paneEnd = Action::PaneEnd::Ok;
    } else if (p.acceptWord("cancel")) {
        action.paneEnd = Action::PaneEnd::Cancel;
    } else if (p.acceptWord("hostok")) {
        action.paneEnd = Action::PaneEnd::HostOk;
    } else if (!p.atEnd()) {
        return p.failAtWord("expected toggle, ok, cancel or hostok, not \"", "\"");
    } else if (action.toggles.empty()) {
        action.paneByAgent = true;
    }
    return p.end();
}

// dialog TITLE|any WORDS...: the words are those typed in a dialog at the terminal.
bool parseDialog(LineParser& p, Action& action) {
    if (p.acceptWord("any")) {
        action.dialog.anyDialog = true;
    } else {
        action.dialog.anyDialog = false;
        if (!p.text(action.dialog.title, "dialog title (or any)")) return false;
    }
    std::string error;
    int column = 0;
    if (!parseDialogWords(p.tokens(), p.index(), action.dialog, error, column)) return p.fail(column, error);
    action.dialog.line = action.line;
    return true;
}

// window "TITLE" ACTION: the words of a dialog line, for an open window.
bool parseWindow(LineParser& p, Action& action) {
    if (!p.text(action.dialog.title, "window title")) return false;
    if (action.dialog.title.empty()) return p.failHere("empty window title");
    action.dialog.anyDialog = false;
    std::string error;
    int column = 0;
    if (!parseDialogWords(p.tokens(), p.index(), action.dialog, error, column)) return p.fail(column, error);
    action.dialog.line = action.line;
    return true;
}

// popup "ITEM" | popup N | popup dismiss
bool parsePopup(LineParser& p, Action& action) {
    if (p.acceptWord("dismiss")) return p.end();
    const Token* token = p.peek();
    if (token == nullptr) return p.failHere("missing the item (\"text\", N or dismiss)");
    std::int64_t index = 0;
    if (!token->quoted && parseInteger(token->text, index)) {
        if (index < 1 || index > kInt16Max) return p.fail(token->column, "items are counted from 1");
        p.next("item");
        action.number = index;
        return p.end();
    }
    if (!p.text(action.text, "item")) return false;
    if (action.text.empty()) return p.fail(token->column, "empty item title");
    return p.end();
}

// expect dialog "TITLE" [open | closed [-> N]] | expect dialog none
bool parseExpectDialog(LineParser& p, Action& action) {
    action.verb = Verb::ExpectDialog;
    if (p.acceptWord("none")) {
        action.verb = Verb::ExpectNoDialog;
        return p.end();
    }
    if (!p.text(action.text, "dialog title")) return false;
    if (p.acceptWord("open")) {
        action.dialogState = Action::DialogState::Open;
    } else if (p.acceptWord("closed")) {
        action.dialogState = Action::DialogState::Closed;
        p.acceptWord("->");
        if (!p.atEnd()) {
            action.hasResult = true;
            if (!p.integer(action.number, std::numeric_limits<std::int64_t>::min() / 2,
                           std::numeric_limits<std::int64_t>::max() / 2, "dialog result")) {
                return false;
            }
        }
    }
    return p.end();
}

// `none` (bare) or a text.
bool parseNoneOrText(LineParser& p, Action& action, Verb noneVerb, std::string_view what) {
    if (p.acceptWord("none")) {
        action.verb = noneVerb;
        return p.end();
    }
    return p.text(action.text, what) && p.end();
}

bool parseExpect(LineParser& p, Action& action) {
    if (p.acceptWord("dialog")) return parseExpectDialog(p, action);
    if (p.acceptWord("alert")) {
        action.verb = Verb::ExpectAlert;
        if (p.acceptWord("none")) {
            action.verb = Verb::ExpectNoAlert;
            return p.end();
        }
        if (!p.text(action.text, "alert message")) return false;
        if (!p.atEnd()) {
            action.hasText2 = true;
            if (!p.text(action.text2, "informative text")) return false;
        }
        return p.end();
    }
    if (p.acceptWord("clipboard")) {
        action.verb = Verb::ExpectClipboard;
        return parseNoneOrText(p, action, Verb::ExpectNoClipboard, "clipboard text");
    }
    if (p.acceptWord("violation")) {
        action.verb = Verb::ExpectViolation;
        return parseNoneOrText(p, action, Verb::ExpectNoViolation, "violation text");
    }
    if (p.acceptWord("reply")) {
        action.verb = Verb::ExpectReply;
        return parseNoneOrText(p, action, Verb::ExpectNoReply, "reply text");
    }
    if (p.acceptWord("started")) {
        action.verb = Verb::ExpectStarted;
        return p.end();
    }
    if (p.acceptWord("refused")) {
        action.verb = Verb::ExpectRefused;
        return p.end();
    }
    if (p.acceptWord("menu")) {
        action.verb = Verb::ExpectMenu;
        if (!p.text(action.text, "menu item title")) return false;
        while (!p.atEnd()) {
            if (p.acceptWord("enabled")) {
                action.menuCheck.enabled = true;
            } else if (p.acceptWord("disabled")) {
                action.menuCheck.enabled = false;
            } else if (p.acceptWord("checked")) {
                action.menuCheck.checked = true;
            } else if (p.acceptWord("unchecked")) {
                action.menuCheck.checked = false;
            } else {
                return p.failAtWord("expected enabled, disabled, checked or unchecked, not \"", "\"");
            }
        }
        if (!action.menuCheck.enabled && !action.menuCheck.checked) {
            return p.failHere("missing state (enabled, disabled, checked or unchecked)");
        }
        return true;
    }
    if (p.atEnd()) {
        return p.failHere("missing what to expect (alert, dialog, clipboard, menu, violation, reply, started, refused)");
    }
    return p.failAtWord("cannot expect \"", "\" (alert, dialog, clipboard, menu, violation, reply, started, refused)");
}

bool parseAnswer(LineParser& p, Action& action) {
    const Token* token = p.peek();
    if (token == nullptr) return p.failHere("missing button (a title, an item number 1-3, or default)");
    std::int64_t item = 0;
    if (p.acceptWord("default")) {
        action.number = 0;
    } else if (!token->quoted && parseInteger(token->text, item)) {
        if (!p.integer(action.number, 1, 3, "button item")) return false;
    } else {
        if (!p.text(action.text, "button title")) return false;
        if (action.text.empty()) return p.fail(token->column, "empty button title");
    }
    return p.end();
}

// The rest of the line as written (a single quoted word: its text).
bool parseEcho(LineParser& p, Action& action, std::string_view line) {
    const auto& tokens = p.tokens();
    if (p.atEnd()) return true;
    if (const Token* only = p.peek(); tokens.size() == p.index() + 1 && only != nullptr && only->quoted) return p.text(action.text, "text");
    const Token& first = tokens[p.index()];
    const Token& last = tokens.back();
    action.text.assign(line.substr(static_cast<std::size_t>(first.column - 1),
                                   static_cast<std::size_t>(last.endColumn - first.column)));
    return true;
}

bool parseCommand(LineParser& p, Action& action, std::string_view line) {
    const Token& verbToken = *p.next("command");
    if (verbToken.quoted) return p.fail(verbToken.column, "a line starts with a command, not a quoted string");
    const std::string verb = lower(verbToken.text);
    auto oneNumber = [&](Verb v, std::int64_t min, std::int64_t max, std::string_view what) {
        action.verb = v;
        return p.integer(action.number, min, max, what) && p.end();
    };
    auto bare = [&](Verb v) {
        action.verb = v;
        return p.end();
    };
    auto optionalPath = [&](Verb v) {
        action.verb = v;
        if (!p.atEnd() && !p.text(action.text, "path")) return false;
        return p.end();
    };

    if (verb == "load") return optionalPath(Verb::Load);
    if (verb == "compat") return oneNumber(Verb::Compat, 0, kUInt32Max, "compatibility answer");
    if (verb == "withhold") {
        action.verb = Verb::Withhold;
        return p.text(action.text, "group name") && p.end();
    }
    if (verb == "start") return bare(Verb::Start);
    if (verb == "open") {
        action.verb = Verb::Open;
        return p.text(action.text, "document path") && p.end();
    }
    if (verb == "new") {
        action.verb = Verb::New;
        action.text = "Untitled";
        action.number = 1;
        const Token* name = p.peek();
        if (name != nullptr && (name->quoted || lower(name->text) != "pages")) p.text(action.text, "project name");
        if (p.acceptWord("pages") && !p.integer(action.number, 1, 1000, "page count")) return false;
        return p.end();
    }
    if (verb == "save") return optionalPath(Verb::Save);
    if (verb == "close") return bare(Verb::Close);
    if (verb == "current") return oneNumber(Verb::Current, 0, kInt16Max, "document number");
    if (verb == "snapshot") return optionalPath(Verb::Snapshot);
    if (verb == "print") {
        action.verb = Verb::Print;
        if (!p.text(action.text, "output path")) return false;
        const int pathColumn = p.previous().column;
        action.device = p.acceptWord("device");
        if (!p.end()) return false;
        if (const std::string why = printPathProblem(action.text, action.device); !why.empty()) {
            return p.fail(pathColumn, why);
        }
        return true;
    }
    if (verb == "menu") {
        action.verb = Verb::Menu;
        if (p.acceptWord("id")) {
            action.byNumber = true;
            return p.integer(action.number, std::numeric_limits<std::int32_t>::min(),
                             std::numeric_limits<std::int32_t>::max(), "command id") &&
                   p.modifiers(action.modifiers) && p.end();
        }
        return p.text(action.text, "menu item title") && p.modifiers(action.modifiers) && p.end();
    }
    if (verb == "menus") return bare(Verb::Menus);
    if (verb == "command") return oneNumber(Verb::Command, kInt16Min, kInt16Max, "host command number");
    if (verb == "select") {
        if (p.acceptWord("none")) return bare(Verb::SelectNone);
        if (p.acceptWord("box")) {
            return oneNumber(Verb::SelectBox, 1, std::numeric_limits<std::int32_t>::max(), "box id");
        }
        if (p.atEnd()) return p.failHere("missing \"box N\" or \"none\"");
        return p.failAtWord("expected \"box N\" or \"none\", not \"", "\"");
    }
    if (verb == "page") return oneNumber(Verb::Page, 1, kInt16Max, "page number");
    if (verb == "zoom") {
        action.verb = Verb::Zoom;
        if (!p.real(action.real, "zoom percentage", "%")) return false;
        if (action.real < kMinZoomPercent || action.real > kMaxZoomPercent) {
            return p.fail(p.previous().column, "zoom percentage must lie between 1 and 8000");
        }
        return p.end();
    }
    if (verb == "scroll") {
        action.verb = Verb::Scroll;
        return p.point(action.point) && p.end();
    }
    if (verb == "tool") return oneNumber(Verb::Tool, kInt16Min, kInt16Max, "tool number");
    if (verb == "redraw") return bare(Verb::Redraw);
    if (verb == "render") {
        action.verb = Verb::Render;
        return p.text(action.text, "picture path (.svg or .png)") && p.end();
    }
    if (verb == "key") {
        action.verb = Verb::Key;
        return parseKey(p, action);
    }
    if (verb == "click") {
        action.verb = Verb::Click;
        return parsePlace(p, action, true) && p.modifiers(action.modifiers) && p.end();
    }
    if (verb == "doubleclick") {
        action.verb = Verb::DoubleClick;
        action.number = -1;  // the host's own gap
        if (!parsePlace(p, action, true)) return false;
        if (p.acceptWord("gap") && !p.integer(action.number, 0, kUInt32Max, "gap in ticks")) return false;
        return p.modifiers(action.modifiers) && p.end();
    }
    if (verb == "idle") {
        action.verb = Verb::Idle;
        action.number = 1;
        if (!p.atEnd() && !p.integer(action.number, 1, kMaxRepeat, "idle count")) return false;
        return p.end();
    }
    if (verb == "wait") return oneNumber(Verb::Wait, 0, kUInt32Max, "ticks");
    if (verb == "serve") return oneNumber(Verb::Serve, 0, kMaxServeSeconds, "seconds");
    if (verb == "drop") {
        action.verb = Verb::Drop;
        return parseDrop(p, action);
    }
    if (verb == "text") {
        // "text "..." at x,y": a drag of one text item.
        action.verb = Verb::Drop;
        action.number = kDropEffectCopy;
        DropItemArg item;
        item.kind = DropItemArg::Kind::Text;
        if (!p.text(item.value, "dragged text")) return false;
        action.dropItems.push_back(std::move(item));
        if (!p.acceptWord("at")) return p.failHere("missing \"at x,y\"");
        return parsePlace(p, action, true) && p.modifiers(action.modifiers) && p.end();
    }
    if (verb == "language") return oneNumber(Verb::Language, kInt16Min, kInt16Max, "region code");
    if (verb == "switchin") return bare(Verb::SwitchIn);
    if (verb == "prefs") {
        if (p.acceptWord("show")) return bare(Verb::PrefsShow);
        if (p.acceptWord("set")) {
            action.verb = Verb::PrefsSet;
            return p.text(action.text, "section") && p.text(action.text2, "key") && p.text(action.text3, "value") &&
                   p.end();
        }
        if (p.acceptWord("remove")) {
            action.verb = Verb::PrefsRemove;
            return p.text(action.text, "section") && p.text(action.text2, "key") && p.end();
        }
        if (p.atEnd()) return p.failHere("missing set, remove or show");
        return p.failAtWord("expected set, remove or show, not \"", "\"");
    }
    if (verb == "preferences") {
        action.verb = Verb::Preferences;
        return parsePreferences(p, action);
    }
    if (verb == "script") {
        if (p.acceptWord("file")) {
            action.verb = Verb::ScriptFile;
            return p.text(action.text, "request file") && p.end();
        }
        action.verb = Verb::Script;
        return p.text(action.text, "request text") && p.end();
    }
    if (verb == "answer") {
        action.verb = Verb::Answer;
        return parseAnswer(p, action);
    }
    if (verb == "dialog") {
        action.verb = Verb::Dialog;
        return parseDialog(p, action);
    }
    if (verb == "window") {
        action.verb = Verb::Window;
        return parseWindow(p, action);
    }
    if (verb == "windows") return bare(Verb::Windows);
    if (verb == "popup") {
        action.verb = Verb::Popup;
        return parsePopup(p, action);
    }
    if (verb == "choose") {
        action.verb = Verb::ChooseApp;
        if (!p.acceptWord("app")) return p.failAtWord("expected \"app\" after choose, not \"", "\"");
        if (p.acceptWord("cancel")) return p.end();
        if (!p.text(action.text, "application path (or cancel)")) return false;
        if (action.text.empty()) return p.failHere("empty application path");
        return p.end();
    }
    if (verb == "expect") return parseExpect(p, action);
    if (verb == "echo") {
        action.verb = Verb::Echo;
        return parseEcho(p, action, line);
    }
    if (verb == "help") return bare(Verb::Help);
    if (verb == "quit") return bare(Verb::Quit);
    return p.fail(verbToken.column, "unknown command \"" + verbToken.text + "\" (try help)");
}

}  // namespace

const char* verbName(Verb verb) noexcept {
    switch (verb) {
        case Verb::Load: return "load";
        case Verb::Compat: return "compat";
        case Verb::Withhold: return "withhold";
        case Verb::Start: return "start";
        case Verb::Open: return "open";
        case Verb::New: return "new";
        case Verb::Save: return "save";
        case Verb::Close: return "close";
        case Verb::Current: return "current";
        case Verb::Snapshot: return "snapshot";
        case Verb::Print: return "print";
        case Verb::Menu: return "menu";
        case Verb::Menus: return "menus";
        case Verb::Command: return "command";
        case Verb::SelectBox: return "select box";
        case Verb::SelectNone: return "select none";
        case Verb::Page: return "page";
        case Verb::Zoom: return "zoom";
        case Verb::Scroll: return "scroll";
        case Verb::Tool: return "tool";
        case Verb::Redraw: return "redraw";
        case Verb::Render: return "render";
        case Verb::Key: return "key";
        case Verb::Click: return "click";
        case Verb::DoubleClick: return "doubleclick";
        case Verb::Idle: return "idle";
        case Verb::Wait: return "wait";
        case Verb::Serve: return "serve";
        case Verb::Drop: return "drop";
        case Verb::Language: return "language";
        case Verb::SwitchIn: return "switchin";
        case Verb::PrefsSet: return "prefs set";
        case Verb::PrefsRemove: return "prefs remove";
        case Verb::PrefsShow: return "prefs show";
        case Verb::Preferences: return "preferences";
        case Verb::Script: return "script";
        case Verb::ScriptFile: return "script file";
        case Verb::Answer: return "answer";
        case Verb::Dialog: return "dialog";
        case Verb::Window: return "window";
        case Verb::Windows: return "windows";
        case Verb::Popup: return "popup";
        case Verb::ChooseApp: return "choose app";
        case Verb::ExpectDialog: return "expect dialog";
        case Verb::ExpectNoDialog: return "expect dialog none";
        case Verb::ExpectAlert: return "expect alert";
        case Verb::ExpectNoAlert: return "expect alert none";
        case Verb::ExpectClipboard: return "expect clipboard";
        case Verb::ExpectNoClipboard: return "expect clipboard none";
        case Verb::ExpectMenu: return "expect menu";
        case Verb::ExpectNoViolation: return "expect violation none";
        case Verb::ExpectViolation: return "expect violation";
        case Verb::ExpectReply: return "expect reply";
        case Verb::ExpectNoReply: return "expect reply none";
        case Verb::ExpectStarted: return "expect started";
        case Verb::ExpectRefused: return "expect refused";
        case Verb::Echo: return "echo";
        case Verb::Help: return "help";
        case Verb::Quit: return "quit";
    }
    return "?";
}

std::optional<Action> parseLine(std::string_view text, int lineNumber, ParseError& error) {
    LexResult lexed = splitLine(text);
    if (!lexed.ok()) {
        error = ParseError{lineNumber, lexed.errorColumn, lexed.error};
        return std::nullopt;
    }
    if (lexed.tokens.empty()) return std::nullopt;

    Action action;
    action.line = lineNumber;
    const std::size_t first = static_cast<std::size_t>(lexed.tokens.front().column - 1);
    const std::size_t last = static_cast<std::size_t>(lexed.tokens.back().endColumn - 1);
    action.source.assign(text.substr(first, last - first));

    error = ParseError{};
    LineParser parser(std::move(lexed.tokens), lineNumber, error);
    if (!parseCommand(parser, action, text) || parser.failed()) return std::nullopt;
    return action;
}

void forEachScriptLine(std::string_view text, const std::function<bool(std::string_view, int)>& each) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
    int lineNumber = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        if (!each(text.substr(pos, end - pos), ++lineNumber)) return;
        // CR LF, a lone CR and a lone LF each end one line.
        pos = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++pos;
    }
}

Script parseScript(std::string_view text) {
    Script script;
    forEachScriptLine(text, [&](std::string_view line, int lineNumber) {
        ParseError error;
        if (auto action = parseLine(line, lineNumber, error)) {
            script.actions.push_back(std::move(*action));
        } else if (!error.message.empty()) {
            script.errors.push_back(std::move(error));
        }
        return true;
    });
    return script;
}

std::vector<ParseError> checkScript(std::string_view text) {
    std::vector<ParseError> errors;
    forEachScriptLine(text, [&](std::string_view line, int lineNumber) {
        ParseError error;
        if (!parseLine(line, lineNumber, error) && !error.message.empty()) errors.push_back(std::move(error));
        return true;
    });
    return errors;
}

std::string formatError(const ParseError& error, std::string_view sourceName) {
    return std::string(sourceName) + ":" + std::to_string(error.line) + ":" + std::to_string(error.column) + ": " +
           error.message;
}

const char* commandSummary() noexcept {
    return R"(Commands (one per line; "quoted strings" with \" escapes; # starts a comment):
  load [PATH]                 module: XTensions folder, .xnt bundle or .so (default: beside hostsim)
  compat N | withhold GROUP   before start: the compatibility answer; a group or optional module withheld
  start                       activate the module (done by the first action that needs it)
  open PATH | new ["NAME"] [pages N] | save [PATH] | close | current N
  snapshot [PATH]             write the current document's JSON (default snapshot.json)
  print PATH [device]         print the current document: a PostScript file, or device output
  menu "TITLE" | menu "Menu>TITLE" | menu id N | menus | command N
  select box N | select none | page N | zoom PERCENT | scroll DX,DY | tool N | redraw
  render PATH                 write a picture of the current spread as shown: PATH.svg or PATH.png
  key K [cmd shift option ctrl ...]   K: one character, esc, return, tab, space, ..., code N
  click [px] X,Y [spread N] [MODIFIERS] | doubleclick [px] X,Y [spread N] [gap TICKS]
  idle [N] | wait TICKS | serve SECONDS
  drop PATH... [text "T"] [url "U"] at [px] X,Y [spread N] [effect N] [MODIFIERS] | text "T" at [px] X,Y
  language REGION | switchin
  prefs set SECTION KEY VALUE | prefs remove SECTION KEY | prefs show
  preferences [toggle ITEM...] [ok|cancel|hostok]
  script "XML" | script file PATH
  answer TITLE | answer N | answer default     for the next alert
  dialog "TITLE"|any ACTION   for the next dialog question: set ID "T" | check ID [on|off] | uncheck ID |
                              choose ID "ITEM"|N | click ID|"TITLE" | context ID [X Y] |
                              key tab|shift-tab|return|escape|"x" | type "T" | wait | close | snapshot PATH |
                              expect ID text "T"|value N|checked|...
  window "TITLE" ACTION       the same words, now, in an open window (a modeless dialog)
  windows                     list the open windows with their controls
  popup "ITEM" | popup N | popup dismiss      for the next pop-up menu
  choose app PATH | choose app cancel          for the next application chooser
  expect dialog "TITLE" [open | closed [-> N]] | expect dialog none
  expect alert "MESSAGE" ["INFORMATIVE"] | expect alert none
  expect clipboard "TEXT" | expect clipboard none
  expect menu "TITLE" enabled|disabled|checked|unchecked ...
  expect violation none | expect violation "TEXT"
  expect reply "TEXT" | expect reply none | expect started | expect refused
  echo TEXT | help | quit
)";
}

}  // namespace hostsim::session

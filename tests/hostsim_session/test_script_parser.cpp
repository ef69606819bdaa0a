// The session script language: every command's form, quoting, comments, and
// errors that name the line and the column.
#include "hostsim/session/script.h"
#include "hostsim/session/script_lexer.h"

#include <gtest/gtest.h>

#include <string>

namespace hostsim::session {
namespace {

Action parseOk(const std::string& line) {
    ParseError error;
    std::optional<Action> action = parseLine(line, 7, error);
    EXPECT_TRUE(action.has_value()) << line << " -> " << error.column << ": " << error.message;
    return action.value_or(Action{});
}

ParseError parseBad(const std::string& line) {
    ParseError error;
    const std::optional<Action> action = parseLine(line, 3, error);
    EXPECT_FALSE(action.has_value()) << line;
    EXPECT_EQ(error.line, 3) << line;
    EXPECT_FALSE(error.message.empty()) << line;
    return error;
}

TEST(ScriptLexer, WordsQuotesEscapesAndComments) {
    const LexResult lexed = splitLine(R"(  script "<qid=\"12\">a\\b</qid>" tail # "not a word")");
    ASSERT_TRUE(lexed.ok()) << lexed.error;
    ASSERT_EQ(lexed.tokens.size(), 3u);
    EXPECT_EQ(lexed.tokens[0].text, "script");
    EXPECT_EQ(lexed.tokens[0].column, 3);
    EXPECT_EQ(lexed.tokens[1].text, R"(<qid="12">a\b</qid>)");
    EXPECT_TRUE(lexed.tokens[1].quoted);
    EXPECT_EQ(lexed.tokens[1].column, 10);
    EXPECT_EQ(lexed.tokens[2].text, "tail");
    EXPECT_FALSE(lexed.tokens[2].quoted);

    const LexResult controls = splitLine(R"(echo "a\tb\r\nc" "")");
    ASSERT_TRUE(controls.ok());
    ASSERT_EQ(controls.tokens.size(), 3u);
    EXPECT_EQ(controls.tokens[1].text, "a\tb\r\nc");
    EXPECT_EQ(controls.tokens[2].text, "");
    EXPECT_TRUE(controls.tokens[2].quoted);

    // A "#" inside a word or a string is no comment.
    const LexResult hash = splitLine(R"(key # )");
    EXPECT_EQ(hash.tokens.size(), 1u);
    const LexResult inside = splitLine(R"(echo a#b "#c")");
    ASSERT_EQ(inside.tokens.size(), 3u);
    EXPECT_EQ(inside.tokens[1].text, "a#b");
    EXPECT_EQ(inside.tokens[2].text, "#c");
}

TEST(ScriptLexer, FaultsPointAtTheirColumn) {
    LexResult lexed = splitLine(R"(echo "open)");
    EXPECT_EQ(lexed.error, "unterminated string");
    EXPECT_EQ(lexed.errorColumn, 6);

    lexed = splitLine(R"(echo "a\qb")");
    EXPECT_NE(lexed.error.find("unknown escape"), std::string::npos);
    EXPECT_EQ(lexed.errorColumn, 8);

    lexed = splitLine(R"(echo ab"c")");
    EXPECT_NE(lexed.error.find("quote inside a word"), std::string::npos);
    EXPECT_EQ(lexed.errorColumn, 8);

    lexed = splitLine(R"(echo "a"b)");
    EXPECT_NE(lexed.error.find("closing quote"), std::string::npos);
    EXPECT_EQ(lexed.errorColumn, 9);

    lexed = splitLine(R"(echo "a\)");
    EXPECT_EQ(lexed.error, "unterminated string");
}

TEST(ScriptParser, ModuleAndStartCommands) {
    Action a = parseOk("load XTensions/");
    EXPECT_EQ(a.verb, Verb::Load);
    EXPECT_EQ(a.text, "XTensions/");
    EXPECT_EQ(a.line, 7);
    EXPECT_EQ(parseOk("load").text, "");

    a = parseOk("compat 2");
    EXPECT_EQ(a.verb, Verb::Compat);
    EXPECT_EQ(a.number, 2);
    EXPECT_EQ(parseOk("compat 0x101").number, 0x101);

    a = parseOk("withhold xtbox");
    EXPECT_EQ(a.verb, Verb::Withhold);
    EXPECT_EQ(a.text, "xtbox");
    EXPECT_EQ(parseOk("start").verb, Verb::Start);
    EXPECT_EQ(parseOk("START").verb, Verb::Start);
}

TEST(ScriptParser, DocumentCommands) {
    Action a = parseOk("open samples/sample.json");
    EXPECT_EQ(a.verb, Verb::Open);
    EXPECT_EQ(a.text, "samples/sample.json");
    EXPECT_EQ(parseOk(R"(open "/my docs/a b.json")").text, "/my docs/a b.json");

    a = parseOk(R"(new "Untitled 2")");
    EXPECT_EQ(a.verb, Verb::New);
    EXPECT_EQ(a.text, "Untitled 2");
    EXPECT_EQ(a.number, 1);
    a = parseOk("new pages 3");
    EXPECT_EQ(a.text, "Untitled");
    EXPECT_EQ(a.number, 3);
    a = parseOk(R"(new "pages" pages 2)");
    EXPECT_EQ(a.text, "pages");
    EXPECT_EQ(a.number, 2);

    EXPECT_EQ(parseOk("save").text, "");
    EXPECT_EQ(parseOk("save out/a.json").text, "out/a.json");
    EXPECT_EQ(parseOk("close").verb, Verb::Close);
    a = parseOk("current 2");
    EXPECT_EQ(a.verb, Verb::Current);
    EXPECT_EQ(a.number, 2);
    EXPECT_EQ(parseOk("snapshot").verb, Verb::Snapshot);
    EXPECT_EQ(parseOk("snapshot out/s.json").text, "out/s.json");
}

TEST(ScriptParser, MenusAndView) {
    Action a = parseOk(R"(menu "Show Image Names")");
    EXPECT_EQ(a.verb, Verb::Menu);
    EXPECT_EQ(a.text, "Show Image Names");
    EXPECT_FALSE(a.byNumber);
    EXPECT_EQ(parseOk(R"(menu "View>Show Image Names")").text, "View>Show Image Names");
    a = parseOk("menu id 1001");
    EXPECT_TRUE(a.byNumber);
    EXPECT_EQ(a.number, 1001);
    EXPECT_EQ(parseOk("menus").verb, Verb::Menus);
    a = parseOk("command 117");
    EXPECT_EQ(a.verb, Verb::Command);
    EXPECT_EQ(a.number, 117);

    a = parseOk("select box 12");
    EXPECT_EQ(a.verb, Verb::SelectBox);
    EXPECT_EQ(a.number, 12);
    EXPECT_EQ(parseOk("select none").verb, Verb::SelectNone);
    EXPECT_EQ(parseOk("page 2").number, 2);
    a = parseOk("zoom 200");
    EXPECT_EQ(a.verb, Verb::Zoom);
    EXPECT_DOUBLE_EQ(a.real, 200.0);
    EXPECT_DOUBLE_EQ(parseOk("zoom 37.5%").real, 37.5);
    EXPECT_EQ(parseOk("tool 16").number, 16);
    EXPECT_EQ(parseOk("redraw").verb, Verb::Redraw);
}

TEST(ScriptParser, KeysWithModifiers) {
    Action a = parseOk("key c ctrl");
    EXPECT_EQ(a.verb, Verb::Key);
    EXPECT_EQ(a.character, 'c');
    EXPECT_EQ(a.modifiers, 0x1000);
    a = parseOk("key r cmd shift");
    EXPECT_EQ(a.character, 'r');
    EXPECT_EQ(a.modifiers, 0x0300);
    a = parseOk("key esc");
    EXPECT_EQ(a.character, 27);
    EXPECT_EQ(a.modifiers, 0);
    EXPECT_EQ(parseOk("key code 200").character, 200);
    EXPECT_EQ(parseOk(R"(key "#" option)").character, '#');
    EXPECT_EQ(parseOk(R"(key "#" option)").modifiers, 0x0800);
    EXPECT_EQ(parseOk("key x rshift roption rctrl caps").modifiers, 0x2000 | 0x4000 | 0x8000 | 0x0400);
}

TEST(ScriptParser, PointerAndTime) {
    Action a = parseOk("click 120,80");
    EXPECT_EQ(a.verb, Verb::Click);
    EXPECT_FALSE(a.point.screen);
    EXPECT_DOUBLE_EQ(a.point.x, 120.0);
    EXPECT_DOUBLE_EQ(a.point.y, 80.0);
    EXPECT_EQ(a.point.spread, 0);
    a = parseOk("click px 300,200 shift");
    EXPECT_TRUE(a.point.screen);
    EXPECT_DOUBLE_EQ(a.point.x, 300.0);
    EXPECT_EQ(a.modifiers, 0x0200);
    a = parseOk("click -5.5,10.25 spread 2 cmd");
    EXPECT_DOUBLE_EQ(a.point.x, -5.5);
    EXPECT_DOUBLE_EQ(a.point.y, 10.25);
    EXPECT_EQ(a.point.spread, 2);
    EXPECT_EQ(a.modifiers, 0x0100);
    a = parseOk("doubleclick 120,80");
    EXPECT_EQ(a.verb, Verb::DoubleClick);
    EXPECT_EQ(a.number, -1);
    EXPECT_EQ(parseOk("doubleclick px 1,2 gap 40").number, 40);

    a = parseOk("idle");
    EXPECT_EQ(a.verb, Verb::Idle);
    EXPECT_EQ(a.number, 1);
    EXPECT_EQ(parseOk("idle 5").number, 5);
    EXPECT_EQ(parseOk("wait 60").number, 60);
    EXPECT_EQ(parseOk("serve 2").verb, Verb::Serve);
}

TEST(ScriptParser, Drops) {
    Action a = parseOk("drop /path/a.tif at 100,100");
    EXPECT_EQ(a.verb, Verb::Drop);
    ASSERT_EQ(a.dropItems.size(), 1u);
    EXPECT_EQ(a.dropItems[0].kind, DropItemArg::Kind::File);
    EXPECT_EQ(a.dropItems[0].value, "/path/a.tif");
    EXPECT_DOUBLE_EQ(a.point.x, 100.0);
    EXPECT_EQ(a.number, 4);  // the copy effect a file drag carries

    a = parseOk(R"(drop "/a b.tif" text "some text" url "file:///x%20y" at 1,2 spread 3 effect 1 option)");
    ASSERT_EQ(a.dropItems.size(), 3u);
    EXPECT_EQ(a.dropItems[0].value, "/a b.tif");
    EXPECT_EQ(a.dropItems[1].kind, DropItemArg::Kind::Text);
    EXPECT_EQ(a.dropItems[1].value, "some text");
    EXPECT_EQ(a.dropItems[2].kind, DropItemArg::Kind::Url);
    EXPECT_EQ(a.point.spread, 3);
    EXPECT_EQ(a.number, 1);
    EXPECT_EQ(a.modifiers, 0x0800);

    a = parseOk(R"(text "some text" at 5,6)");
    EXPECT_EQ(a.verb, Verb::Drop);
    ASSERT_EQ(a.dropItems.size(), 1u);
    EXPECT_EQ(a.dropItems[0].kind, DropItemArg::Kind::Text);

    // A quoted "at" is a file of that name.
    a = parseOk(R"(drop "at" at 1,1)");
    ASSERT_EQ(a.dropItems.size(), 1u);
    EXPECT_EQ(a.dropItems[0].value, "at");
}

TEST(ScriptParser, ApplicationAndPrefs) {
    EXPECT_EQ(parseOk("language 3").number, 3);
    EXPECT_EQ(parseOk("switchin").verb, Verb::SwitchIn);
    Action a = parseOk("prefs set Default DragAndDrop 0");
    EXPECT_EQ(a.verb, Verb::PrefsSet);
    EXPECT_EQ(a.text, "Default");
    EXPECT_EQ(a.text2, "DragAndDrop");
    EXPECT_EQ(a.text3, "0");
    EXPECT_EQ(parseOk(R"(prefs set Default CopyPath "")").text3, "");
    a = parseOk("prefs remove Labels Ask");
    EXPECT_EQ(a.verb, Verb::PrefsRemove);
    EXPECT_EQ(a.text2, "Ask");
    EXPECT_EQ(parseOk("prefs show").verb, Verb::PrefsShow);

    a = parseOk("preferences");
    EXPECT_EQ(a.verb, Verb::Preferences);
    EXPECT_TRUE(a.toggles.empty());
    EXPECT_EQ(a.paneEnd, Action::PaneEnd::Ok);
    a = parseOk("preferences toggle 3 5 cancel");
    EXPECT_EQ(a.toggles, (std::vector<std::int16_t>{3, 5}));
    EXPECT_EQ(a.paneEnd, Action::PaneEnd::Cancel);
    EXPECT_EQ(parseOk("preferences toggle 8 hostok").paneEnd, Action::PaneEnd::HostOk);
}

TEST(ScriptParser, ScriptingAnswersAndChecks) {
    Action a = parseOk(R"(script "<cmd>3</cmd><qid=\"12\">abc</qid>")");
    EXPECT_EQ(a.verb, Verb::Script);
    EXPECT_EQ(a.text, R"(<cmd>3</cmd><qid="12">abc</qid>)");
    a = parseOk("script file req.xml");
    EXPECT_EQ(a.verb, Verb::ScriptFile);
    EXPECT_EQ(a.text, "req.xml");

    a = parseOk("answer OK");
    EXPECT_EQ(a.verb, Verb::Answer);
    EXPECT_EQ(a.text, "OK");
    EXPECT_EQ(parseOk(R"(answer "Cancel")").text, "Cancel");
    a = parseOk("answer 2");
    EXPECT_EQ(a.text, "");
    EXPECT_EQ(a.number, 2);
    EXPECT_EQ(parseOk(R"(answer "2")").text, "2");  // quoted: a title
    a = parseOk("answer default");
    EXPECT_EQ(a.text, "");
    EXPECT_EQ(a.number, 0);

    a = parseOk(R"(expect alert "File not found!")");
    EXPECT_EQ(a.verb, Verb::ExpectAlert);
    EXPECT_EQ(a.text, "File not found!");
    EXPECT_FALSE(a.hasText2);
    a = parseOk(R"(expect alert "Image file not found!" "/x/y.tif")");
    EXPECT_TRUE(a.hasText2);
    EXPECT_EQ(a.text2, "/x/y.tif");
    EXPECT_EQ(parseOk("expect alert none").verb, Verb::ExpectNoAlert);
    EXPECT_EQ(parseOk(R"(expect alert "none")").verb, Verb::ExpectAlert);

    EXPECT_EQ(parseOk(R"(expect clipboard "a.tif")").text, "a.tif");
    EXPECT_EQ(parseOk("expect clipboard none").verb, Verb::ExpectNoClipboard);
    a = parseOk(R"(expect menu "Show Image Names" enabled unchecked)");
    EXPECT_EQ(a.verb, Verb::ExpectMenu);
    EXPECT_EQ(a.menuCheck.enabled, std::optional<bool>(true));
    EXPECT_EQ(a.menuCheck.checked, std::optional<bool>(false));
    a = parseOk(R"(expect menu "View>Show Image Names" checked)");
    EXPECT_FALSE(a.menuCheck.enabled.has_value());
    EXPECT_EQ(parseOk(R"(expect menu "X" disabled)").menuCheck.enabled, std::optional<bool>(false));
    EXPECT_EQ(parseOk("expect violation none").verb, Verb::ExpectNoViolation);
    EXPECT_EQ(parseOk(R"(expect violation "xtbox.")").verb, Verb::ExpectViolation);
    EXPECT_EQ(parseOk(R"(expect reply "<guid")").verb, Verb::ExpectReply);
    EXPECT_EQ(parseOk("expect reply none").verb, Verb::ExpectNoReply);
    EXPECT_EQ(parseOk("expect started").verb, Verb::ExpectStarted);
    EXPECT_EQ(parseOk("expect refused").verb, Verb::ExpectRefused);
}

TEST(ScriptParser, EchoKeepsTheTextAsWritten) {
    Action a = parseOk("echo   two  blanks   here  # not this");
    EXPECT_EQ(a.verb, Verb::Echo);
    EXPECT_EQ(a.text, "two  blanks   here");
    EXPECT_EQ(a.source, "echo   two  blanks   here");
    EXPECT_EQ(parseOk(R"(echo "just \"this\"")").text, R"(just "this")");
    EXPECT_EQ(parseOk("echo").text, "");
    EXPECT_EQ(parseOk("help").verb, Verb::Help);
    EXPECT_EQ(parseOk("quit").verb, Verb::Quit);
}

TEST(ScriptParser, ErrorsNameTheColumn) {
    ParseError e = parseBad("frobnicate 3");
    EXPECT_EQ(e.column, 1);
    EXPECT_NE(e.message.find("unknown command \"frobnicate\""), std::string::npos);

    e = parseBad("   page two");
    EXPECT_EQ(e.column, 9);
    EXPECT_NE(e.message.find("whole number"), std::string::npos);

    e = parseBad("page");
    EXPECT_EQ(e.column, 6);
    EXPECT_NE(e.message.find("missing page number"), std::string::npos);

    e = parseBad("page 0");
    EXPECT_NE(e.message.find("between 1 and"), std::string::npos);
    e = parseBad("compat -1");
    EXPECT_EQ(e.column, 8);

    e = parseBad("click 120 80");
    EXPECT_EQ(e.column, 7);
    EXPECT_NE(e.message.find("x,y"), std::string::npos);
    e = parseBad("click 1,2 hyper");
    EXPECT_EQ(e.column, 11);
    EXPECT_NE(e.message.find("unknown modifier"), std::string::npos);

    e = parseBad("key abc");
    EXPECT_EQ(e.column, 5);
    e = parseBad("key code 256");
    EXPECT_EQ(e.column, 10);

    e = parseBad("save a.json b.json");
    EXPECT_EQ(e.column, 13);
    EXPECT_NE(e.message.find("unexpected \"b.json\""), std::string::npos);

    e = parseBad("drop a.tif 1,2");
    EXPECT_NE(e.message.find("at x,y"), std::string::npos);
    e = parseBad("drop at 1,2");
    EXPECT_NE(e.message.find("what is dragged"), std::string::npos);

    e = parseBad("answer 4");
    EXPECT_EQ(e.column, 8);
    e = parseBad(R"(answer "")");
    EXPECT_NE(e.message.find("empty button title"), std::string::npos);

    e = parseBad(R"(expect menu "X")");
    EXPECT_NE(e.message.find("missing state"), std::string::npos);
    e = parseBad(R"(expect menu "X" grey)");
    EXPECT_EQ(e.column, 17);
    e = parseBad("expect weather");
    EXPECT_EQ(e.column, 8);
    e = parseBad("select 12");
    EXPECT_EQ(e.column, 8);
    e = parseBad("prefs set Default DragAndDrop");
    EXPECT_NE(e.message.find("missing value"), std::string::npos);
    e = parseBad("preferences toggle ok");
    EXPECT_NE(e.message.find("check box items"), std::string::npos);
    e = parseBad("zoom 0");
    EXPECT_NE(e.message.find("between 1 and 8000"), std::string::npos);
    e = parseBad(R"("open" a.json)");
    EXPECT_EQ(e.column, 1);
    e = parseBad(R"(echo "a\qb")");
    EXPECT_EQ(e.column, 8);
}

TEST(ScriptParser, UserActionsTakeModifierKeys) {
    struct Case {
        const char* line;
        Verb verb;
        std::uint16_t modifiers;
    };
    for (const Case& c : {Case{R"(menu "Show Image Names" shift)", Verb::Menu, 0x0200},
                          Case{R"(menu "View>Show Image Names" shift option)", Verb::Menu, 0x0A00},
                          Case{"menu id 1001 cmd", Verb::Menu, 0x0100},
                          Case{"doubleclick 120,80 shift", Verb::DoubleClick, 0x0200},
                          Case{"doubleclick px 1,2 gap 40 ctrl", Verb::DoubleClick, 0x1000}}) {
        const Action a = parseOk(c.line);
        EXPECT_EQ(a.verb, c.verb) << c.line;
        EXPECT_EQ(a.modifiers, c.modifiers) << c.line;
    }
    EXPECT_EQ(parseOk(R"(menu "Show Image Names" shift)").text, "Show Image Names");
    EXPECT_NE(parseBad(R"(menu "Show Image Names" hyper)").message.find("unknown modifier"), std::string::npos);
}

TEST(ScriptParser, MisfitValuesGetMessagesThatSayWhatIsWrong) {
    struct Case {
        const char* line;
        int column;
        const char* message;
    };
    for (const Case& c : {
             Case{"click nan,nan", 7, "the coordinates of \"nan,nan\" must be finite numbers"},
             Case{"click 1,inf", 7, "must be finite numbers"},
             Case{"click 1e999,2", 7, "must be finite numbers"},
             Case{"click a,b", 7, "a point is written x,y with two numbers"},
             Case{"drop a.tif at 1e308,10", 15, "must lie between -1000000 and 1000000"},
             Case{"drop a.tif at px 10,-2000000", 18, "must lie between -1000000 and 1000000"},
             Case{"scroll 1e7,0", 8, "must lie between"},
             Case{"zoom 0.0001", 6, "zoom percentage must lie between 1 and 8000"},
             Case{"zoom 8000.5%", 6, "between 1 and 8000"},
             Case{"print x.pdf", 7, "print writes PostScript: name the file .ps, not .pdf"},
             Case{"print \"out/Pages.PNG\"", 7, "not .png (pictures of the pages: print PATH.png device)"},
         }) {
        const ParseError e = parseBad(c.line);
        EXPECT_EQ(e.column, c.column) << c.line;
        EXPECT_NE(e.message.find(c.message), std::string::npos) << c.line << " -> " << e.message;
    }
    EXPECT_DOUBLE_EQ(parseOk("drop a.tif at -1000000,1000000").point.x, -1000000.0);
    EXPECT_DOUBLE_EQ(parseOk("zoom 1%").real, 1.0);
    for (const char* fine : {"print out.ps", "print out", "print out.pdf.ps", "print \"a.pdf/x\"", "print p.png device"}) {
        EXPECT_EQ(parseOk(fine).verb, Verb::Print) << fine;
    }
}

TEST(ScriptParser, AByteOrderMarkStartsNoWord) {
    const Script script = parseScript("\xEF\xBB\xBFmenus\n\xEF\xBB\xBFmenus\n");
    ASSERT_EQ(script.actions.size(), 1u);  // only the mark at the very start is skipped
    EXPECT_EQ(script.actions[0].line, 1);
    EXPECT_EQ(script.actions[0].verb, Verb::Menus);
    ASSERT_EQ(script.errors.size(), 1u);
    EXPECT_EQ(script.errors[0].line, 2);
    EXPECT_TRUE(checkScript("\xEF\xBB\xBF# comment\r\nquit\r\n").empty());
}

TEST(ScriptParser, CheckingFindsTheSameErrorsAsParsing) {
    const std::string text = "menus\npage x\nfrob\r\nquit\rzoom 0\n";
    const std::vector<ParseError> checked = checkScript(text);
    const Script parsed = parseScript(text);
    ASSERT_EQ(checked.size(), parsed.errors.size());
    ASSERT_EQ(checked.size(), 3u);
    for (std::size_t i = 0; i < checked.size(); ++i) {
        EXPECT_EQ(formatError(checked[i], "s"), formatError(parsed.errors[i], "s"));
    }
}

TEST(ScriptParser, WholeScriptsKeepLineNumbersAcrossLineEnds) {
    const Script script = parseScript("# a comment\r\n\r\nmenus\rpage x\nsave\n\nfrob\nquit");
    ASSERT_EQ(script.errors.size(), 2u);
    EXPECT_EQ(script.errors[0].line, 4);
    EXPECT_EQ(script.errors[0].column, 6);
    EXPECT_EQ(script.errors[1].line, 7);
    EXPECT_EQ(formatError(script.errors[1], "demo.session"), "demo.session:7:1: unknown command \"frob\" (try help)");
    ASSERT_EQ(script.actions.size(), 3u);
    EXPECT_EQ(script.actions[0].line, 3);
    EXPECT_EQ(script.actions[1].line, 5);
    EXPECT_EQ(script.actions[2].line, 8);
    EXPECT_EQ(script.actions[2].verb, Verb::Quit);

    EXPECT_TRUE(parseScript("").ok());
    EXPECT_TRUE(parseScript("\n\n# only comments\n").actions.empty());
}

}  // namespace
}  // namespace hostsim::session

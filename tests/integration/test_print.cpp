// Print jobs of the real module in the host simulator: the question, the
// label PostScript spliced into the printed pages, the font program once per
// job, the document structure of the file, and Ghostscript's rendering of it
// as the oracle for where the labels land.
#include "integration_fixture.h"
#include "print_support.h"

#include "hostsim/model/document_json.h"
#include "hostsim/session/runner.h"
#include "hostsim/session/script.h"
#include "hostsim/session/session_agent.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace lumbrel::integration {

namespace {

namespace fs = std::filesystem;

constexpr const char* kQuestion = "Print image names?";
constexpr const char* kFontProgramStart = "%!PS-AdobeFont-1.0: __f1";

// What the module prints for a picture box: its file name at the box's top-left.
struct ExpectedLabel {
    int page = 0;
    hostsim::BoxId box = 0;
    double x = 0.0, baseline = 0.0;  // page points, y down, from the page's top-left
    std::string text;
};

// The label of every picture box with a path that starts on a document page,
// from the document's own geometry and the label settings.
std::vector<ExpectedLabel> expectedLabels(const hostsim::Document& doc, double offset) {
    std::vector<ExpectedLabel> labels;
    for (const LabelledBox& box : labelledBoxes(doc)) {
        labels.push_back(ExpectedLabel{box.page, box.id, box.bounds.left + 1.0 - box.pageRect.left,
                                       box.bounds.top + offset - box.pageRect.top, box.fileName()});
    }
    return labels;
}

class PrintTest : public ModuleTest {
protected:
    void startWithSample() {
        startOrFail();
        openSample();
    }
    void labelsOn() { ASSERT_TRUE(sim().chooseMenu("Show Image Names")); }

    hostsim::PrintResult print(const std::string& name, std::optional<std::string> answer,
                               hostsim::PrintOutput output = hostsim::PrintOutput::PostScript) {
        hostsim::PrintRun run;
        run.path = dir_.file(name);
        run.output = output;
        run.answer = std::move(answer);
        return sim().print(run);
    }
    std::string printed(const std::string& name) { return test::readFile(dir_.file(name)); }
    const hostsim::Document& doc() { return *sim().current(); }
};

// ---- the question and the labels in the file ------------------------------------------------

TEST_F(PrintTest, YesPrintsEveryLabelOnItsPageWithTheFontProgramOnce) {
    startWithSample();
    labelsOn();
    const hostsim::PrintResult result = print("yes.ps", "Yes");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.questions, std::vector<std::string>{kQuestion});

    const std::string ps = printed("yes.ps");
    const std::vector<ExpectedLabel> labels = expectedLabels(doc(), -3.0);
    ASSERT_GE(labels.size(), 2U) << "the sample has pictures on several pages";
    EXPECT_EQ(result.snippets, static_cast<int>(labels.size()));
    EXPECT_EQ(occurrences(ps, kFontProgramStart), 1U);
    EXPECT_EQ(occurrences(ps, "/FontName /__f1 def"), 1U);
    EXPECT_EQ(occurrences(ps, "/__f1 findfont"), labels.size());
    EXPECT_LT(ps.find(kFontProgramStart), ps.find("/__f1 findfont")) << "the font comes before its first use";

    // Each label sits on its own page, right after the host drew its box.
    const std::vector<std::string> pages = psPages(ps);
    ASSERT_EQ(pages.size(), static_cast<std::size_t>(doc().numPages()));
    for (const ExpectedLabel& label : labels) {
        const std::string& page = pages[static_cast<std::size_t>(label.page - 1)];
        const std::size_t boxAt = page.find("% box " + std::to_string(label.box) + " picture");
        ASSERT_NE(boxAt, std::string::npos) << "box " << label.box;
        const std::size_t showAt = page.find("(" + label.text + ") show", boxAt);
        ASSERT_NE(showAt, std::string::npos) << label.text << " on page " << label.page;
        EXPECT_EQ(page.find("\n% box ", boxAt + 1) < showAt, false) << label.text << " belongs to box " << label.box;
        for (std::size_t other = 0; other < pages.size(); ++other) {
            if (other + 1 != static_cast<std::size_t>(label.page)) {
                EXPECT_EQ(pages[other].find("(" + label.text + ") show"), std::string::npos)
                    << label.text << " also on page " << other + 1;
            }
        }
    }
    EXPECT_TRUE(violations().empty()) << violations().front();
}

TEST_F(PrintTest, EveryJobSendsTheFontProgramAgain) {
    startWithSample();
    labelsOn();
    ASSERT_TRUE(print("first.ps", "Yes").ok);
    const hostsim::PrintResult second = print("second.ps", "Yes");
    ASSERT_TRUE(second.ok);
    EXPECT_EQ(second.questions, std::vector<std::string>{kQuestion}) << "asked once per job";
    EXPECT_EQ(occurrences(printed("first.ps"), kFontProgramStart), 1U);
    EXPECT_EQ(occurrences(printed("second.ps"), kFontProgramStart), 1U);
    EXPECT_GT(occurrences(printed("second.ps"), "/__f1 findfont"), 1U);
}

TEST_F(PrintTest, NoAndLabelsOffPrintNoLabels) {
    startWithSample();
    const hostsim::PrintResult off = print("off.ps", std::nullopt);
    ASSERT_TRUE(off.ok);
    EXPECT_TRUE(off.questions.empty()) << "labels off: nothing is asked";
    EXPECT_EQ(off.snippets, 0);

    labelsOn();
    const hostsim::PrintResult no = print("no.ps", "No");
    ASSERT_TRUE(no.ok);
    EXPECT_EQ(no.questions, std::vector<std::string>{kQuestion});
    EXPECT_EQ(no.snippets, 0);
    for (const char* name : {"off.ps", "no.ps"}) {
        const std::string ps = printed(name);
        EXPECT_EQ(ps.find("findfont"), std::string::npos) << name;
        EXPECT_EQ(ps.find("__f1"), std::string::npos) << name;
        EXPECT_EQ(psPages(ps).size(), static_cast<std::size_t>(doc().numPages())) << "the pages print all the same";
    }
    EXPECT_TRUE(sim().postScript().empty());
}

TEST_F(PrintTest, AskZeroPrintsTheLabelsWithoutAQuestion) {
    startOrFail();
    setPref("Ask", "0", "Labels");
    sim().switchIn();
    openSample();
    labelsOn();
    const hostsim::PrintResult result = print("ask0.ps", std::nullopt);
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.questions.empty());
    EXPECT_EQ(result.snippets, static_cast<int>(expectedLabels(doc(), -3.0).size()));
}

TEST_F(PrintTest, JobCallbacksComeAroundTheDrawsAndPostScriptOnlyInsideTheJob) {
    startWithSample();
    labelsOn();
    ASSERT_TRUE(print("job.ps", "Yes").ok);
    // After the job the module is back on screen: a redraw draws through the host.
    sim().redraw();
    EXPECT_TRUE(std::any_of(sim().drawCalls().begin(), sim().drawCalls().end(),
                            [](const hostsim::DrawCall& call) { return call.kind == "drawText"; }));
    EXPECT_TRUE(violations().empty()) << violations().front();
    EXPECT_TRUE(transcriptHas("print \"" + dir_.file("job.ps") + "\": " + std::to_string(doc().numPages()) +
                              " pages, " + std::to_string(expectedLabels(doc(), -3.0).size()) + " snippets"));
}

TEST_F(PrintTest, FailuresAreReportedNotWritten) {
    startOrFail();
    const hostsim::PrintResult none = print("none.ps", std::nullopt);
    EXPECT_FALSE(none.ok);
    EXPECT_FALSE(none.error.empty());
    EXPECT_FALSE(fs::exists(dir_.file("none.ps")));

    openSample();
    test::writeFile(dir_.file("plain"), "a file, not a folder");
    const hostsim::PrintResult blocked = print("plain/x.ps", std::nullopt);
    EXPECT_FALSE(blocked.ok);
    EXPECT_NE(blocked.error.find("plain/x.ps"), std::string::npos) << blocked.error;
}

// ---- document structure ------------------------------------------------------------------------

TEST_F(PrintTest, FileFollowsTheDocumentStructureConventions) {
    startWithSample();
    labelsOn();
    ASSERT_TRUE(print("dsc.ps", "Yes").ok);
    const std::string ps = printed("dsc.ps");
    const std::vector<std::string> lines = psLines(ps);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "%!PS-Adobe-3.0");
    EXPECT_EQ(lines.back(), "%%EOF");
    EXPECT_EQ(ps.back(), '\n');

    const int pageCount = doc().numPages();
    const std::string width = std::to_string(static_cast<int>(std::ceil(doc().pageWidth)));
    const std::string height = std::to_string(static_cast<int>(std::ceil(doc().pageHeight)));
    auto indexOf = [&](const std::string& line) {
        return static_cast<std::size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
    };
    const std::size_t endComments = indexOf("%%EndComments");
    ASSERT_LT(endComments, lines.size());
    // Header comments, each once, before %%EndComments.
    for (const std::string& header :
         {std::string("%%Pages: ") + std::to_string(pageCount), "%%BoundingBox: 0 0 " + width + " " + height,
          std::string("%%Title: (Lumbrel Sample)"), std::string("%%Creator: hostsim")}) {
        EXPECT_LT(indexOf(header), endComments) << header;
        EXPECT_EQ(std::count(lines.begin(), lines.end(), header), 1) << header;
    }
    const std::size_t prolog = indexOf("%%BeginProlog"), endProlog = indexOf("%%EndProlog");
    const std::size_t setup = indexOf("%%BeginSetup"), endSetup = indexOf("%%EndSetup");
    const std::size_t trailer = indexOf("%%Trailer");
    EXPECT_LT(endComments, prolog);
    EXPECT_LT(prolog, endProlog);
    EXPECT_LT(endProlog, setup);
    EXPECT_LT(setup, endSetup);

    // Every page in order, each with its bounding box and one showpage, all before the trailer.
    int expected = 1;
    std::size_t last = endSetup;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].rfind("%%Page: ", 0) != 0) continue;
        EXPECT_EQ(lines[i], "%%Page: " + std::to_string(expected) + " " + std::to_string(expected));
        EXPECT_GT(i, last);
        ASSERT_LT(i + 1, lines.size());
        EXPECT_EQ(lines[i + 1], "%%PageBoundingBox: 0 0 " + width + " " + height);
        last = i;
        ++expected;
    }
    EXPECT_EQ(expected - 1, pageCount);
    EXPECT_LT(last, trailer);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "showpage"), pageCount);
    for (const std::string& page : psPages(ps)) EXPECT_EQ(occurrences(page, "\nshowpage\n"), 1U);

    // Nothing leaks: graphics states balance, and no page is a save/restore
    // (that would drop the font sent on the first page).
    std::size_t saves = 0, restores = 0;
    for (const std::string& line : lines) {
        std::size_t pos = 0;
        while (pos < line.size()) {
            const std::size_t end = std::min(line.find(' ', pos), line.size());
            const std::string_view word = std::string_view(line).substr(pos, end - pos);
            if (word == "gsave") ++saves;
            if (word == "grestore") ++restores;
            EXPECT_NE(word, "restore");
            pos = end + 1;
        }
    }
    EXPECT_EQ(saves, restores);
    EXPECT_GE(saves, static_cast<std::size_t>(pageCount));
}

// The session's print command: queued answers reach the question, the
// transcript tells pages and snippets, a bad line is refused before anything runs.
TEST_F(PrintTest, SessionPrintCommand) {
    const std::string yes = dir_.file("out/session yes.ps"), no = dir_.file("out/session-no.ps");
    const hostsim::session::Script script = hostsim::session::parseScript(
        "open \"" + samplePath() + "\"\nmenu \"Show Image Names\"\nanswer Yes\nprint \"" + yes +
        "\"\nexpect alert \"" + kQuestion + "\"\nanswer No\nPRINT \"" + no +
        "\"\nprint \"" + dir_.file("out/device.png") + "\" device\nexpect violation none\n");
    ASSERT_TRUE(script.ok()) << hostsim::session::formatError(script.errors.front(), "script");
    hostsim::Options simOptions;
    simOptions.unloadAtQuit = false;
    sim_ = std::make_unique<hostsim::Simulator>(simOptions);
    auto agent = std::make_shared<hostsim::session::SessionAgent>();
    hostsim::session::RunnerOptions options;
    options.defaultModule = xtensions_;
    {
        hostsim::session::SessionRunner runner(*sim_, agent, options);
        const hostsim::session::ScriptRun run = hostsim::session::runScript(script, runner, false);
        EXPECT_EQ(run.exitCode, 0) << desktop::Desktop::instance().transcript().render();
    }
    const hostsim::LoadResult sample = hostsim::loadDocument(samplePath());
    ASSERT_TRUE(sample.ok()) << sample.error;
    const std::size_t labels = expectedLabels(*sample.document, -3.0).size();
    const std::string pages = std::to_string(sample.document->numPages()) + " pages, ";
    EXPECT_TRUE(transcriptHas("print \"" + yes + "\": " + pages + std::to_string(labels) + " snippets"));
    EXPECT_TRUE(transcriptHas("print \"" + no + "\": " + pages + "0 snippets"));
    EXPECT_EQ(occurrences(test::readFile(yes), kFontProgramStart), 1U);
    EXPECT_EQ(test::readFile(no).find("findfont"), std::string::npos);

    for (const char* bad : {"print", "print x.ps pdf", "print x.ps device more"}) {
        EXPECT_FALSE(hostsim::session::parseScript(bad).ok()) << bad;
    }
    const hostsim::session::Script device = hostsim::session::parseScript("print \"a b.png\" device");
    ASSERT_TRUE(device.ok());
    EXPECT_EQ(device.actions.front().verb, hostsim::session::Verb::Print);
    EXPECT_EQ(device.actions.front().text, "a b.png");
    EXPECT_TRUE(device.actions.front().device);
}

}  // namespace

}  // namespace lumbrel::integration

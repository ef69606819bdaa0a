// Session scripts against the real module: the demo session of samples/ as
// a user runs it, and the refusals as a script sees them.
#include "integration_fixture.h"
#include "picture_layout.h"

#include "hostsim/model/document_json.h"
#include "hostsim/session/runner.h"
#include "hostsim/session/script.h"
#include "hostsim/session/session_agent.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
#include <unistd.h>

namespace lumbrel::integration {
namespace {

namespace fs = std::filesystem;

class SessionTest : public ModuleTest {
protected:
    void TearDown() override {
        runner_.reset();
        if (!previousFolder_.empty()) fs::current_path(previousFolder_);
        ModuleTest::TearDown();
    }

    // Runs the script text as `hostsim --script` does, with the private module copy.
    hostsim::session::ScriptRun run(const std::string& text) {
        const hostsim::session::Script script = hostsim::session::parseScript(text);
        for (const hostsim::session::ParseError& error : script.errors) {
            ADD_FAILURE() << hostsim::session::formatError(error, "script");
        }
        // Kept mapped at quit, as by a host that exits (see ModuleTest::start).
        hostsim::Options simOptions;
        simOptions.unloadAtQuit = false;
        sim_ = std::make_unique<hostsim::Simulator>(simOptions);
        sessionAgent_ = std::make_shared<hostsim::session::SessionAgent>();
        hostsim::session::RunnerOptions options;
        options.defaultModule = xtensions_;
        runner_ = std::make_unique<hostsim::session::SessionRunner>(*sim_, sessionAgent_, options);
        return hostsim::session::runScript(script, *runner_, false);
    }

    std::string transcript() const { return desktop::Desktop::instance().transcript().render(); }

    // Works in a scratch folder that holds a copy of samples/ and an out/
    // folder, as the repository's root does when scripts/demo.sh runs the demo.
    void enterScratchRoot() {
        fs::copy(test::sourcePath("samples"), dir_.path() / "samples", fs::copy_options::recursive);
        fs::create_directories(dir_.path() / "out");
        previousFolder_ = fs::current_path();
        fs::current_path(dir_.path());
    }

    std::shared_ptr<hostsim::session::SessionAgent> sessionAgent_;
    std::unique_ptr<hostsim::session::SessionRunner> runner_;
    fs::path previousFolder_;
};

TEST_F(SessionTest, TheDemoSessionRunsToItsEnd) {
    enterScratchRoot();
    // What scripts/demo.sh prepares: a copy of the sample with low-resolution
    // twins for the swap, and out/tmp as the temporary folder for the lists.
    fs::create_directories("out/swap");
    fs::copy("samples/sample.json", "out/swap/sample.json");
    fs::copy("samples/pictures", "out/swap/pictures", fs::copy_options::recursive);
    ASSERT_EQ(std::system("/usr/bin/python3 samples/make_lowres.py out/swap/pictures"), 0);
    // The relink list of whole paths and the request naming it.
    const std::string swapPictures = fs::absolute("out/swap/pictures").string();
    test::writeFile("out/swap/Austausch.txt", swapPictures + "/grey.tif\t" + swapPictures +
                                                  "/layouts/grey.tif.lay\r" + swapPictures + "/photo.jpg\t" +
                                                  swapPictures + "/photo-web.jpg\r");
    test::writeFile("out/swap/relink-request.xml",
                    "<cmd>4</cmd><path>" + fs::absolute("out/swap/Austausch.txt").string() + "</path>");
    // A copy of the layout whose JPEG names a file that is not there.
    std::string links = test::readFile("samples/sample.json");
    const std::string jpeg = "\"pictures/photo.jpg\"";
    ASSERT_NE(links.find(jpeg), std::string::npos);
    links.replace(links.find(jpeg), jpeg.size(), "\"pictures/photo-old.jpg\"");
    test::writeFile("out/swap/links.json", links);
    const TemporaryFolderGuard temporary((dir_.path() / "out/tmp").string());
    const hostsim::session::ScriptRun result = run(test::readFile("samples/demo.session"));
    EXPECT_EQ(result.exitCode, 0) << transcript();
    EXPECT_EQ(runner_->failures(), 0) << ::testing::PrintToString(runner_->failureLog());
    const std::string seen = transcript();
    for (const char* line : {"menu item \"Bildnamen zeigen\" added to View", "clipboard \"rgb.tif\"",
                             "reply \"<cmd>2</cmd>\\r<guid qid=\"3\">order-4711/rgb</guid>\\r"
                             "<guid qid=\"11\">order-4711/icc</guid>\\r\"",
                             "saved \"out/demo.json\"", "print \"out/demo-print.ps\": 5 pages, 9 snippets",
                             "preferences: item 7 -> 1", "dialog \"Lumbrel\" closed -> 1",
                             "/out/tmp/Lumbrel Sample.txt\" with \"/Applications/TextEdit.app\" (type TEXT, creator ttxt)",
                             "3 von 3 LoRes-Bilder(n) wurden durch HiRes ersetzt.",
                             "dialog \"Ausgabepr\u00FCfung\": click 4 \"Bild\"",
                             "dialog \"Ausgabepr\u00FCfung\" closed -> 1", "quit"}) {
        EXPECT_NE(seen.find(line), std::string::npos) << line;
    }
    // The copy was saved, the sample left alone, and the identifiers kept.
    const hostsim::LoadResult saved = hostsim::loadDocument("out/demo.json");
    ASSERT_TRUE(saved.ok()) << saved.error;
    const std::string* guid = saved.document->slug(kIccEpsBox, hostsim::SlugKind::picture, hostsim::fourCC("bDIC"));
    ASSERT_NE(guid, nullptr);
    EXPECT_EQ(*guid, "order-4711/icc");
    EXPECT_EQ(test::readFile("samples/sample.json"), test::readFile(samplePath()));
    // The rename and the relink by list, on the copy.
    EXPECT_TRUE(fs::exists("out/swap/pictures/rgb-web.tif"));
    EXPECT_FALSE(fs::exists("out/swap/pictures/rgb.tif"));
    EXPECT_TRUE(fs::exists("out/swap/pictures/grey.tif")) << "the taken name only beeped";
    EXPECT_TRUE(fs::exists("out/swap/pictures/cmyk.tif"));
    const std::string log = test::readFile("out/swap/Austausch.log");
    EXPECT_EQ(log.rfind("\xEF\xBB\xBF", 0), 0U);
    EXPECT_NE(log.find("\r" + swapPictures + "/grey.tif --> " + swapPictures + "/layouts/grey.tif.lay\r"),
              std::string::npos);
    EXPECT_NE(log.find("\t####\t" + swapPictures + "/photo.jpg --> " + swapPictures + "/photo-web.jpg\r"),
              std::string::npos);
    EXPECT_NE(seen.find("open \"" + fs::absolute("out/swap/Austausch.log").string() + "\" with default application"),
              std::string::npos);
    // The list with the effective resolution and the link status in words.
    const std::string effective = test::readFile("out/tmp/Wirksam.txt");
    EXPECT_NE(effective.find("\rphoto-old.jpg\tMissing\tJPEG\tRGB\t96 dpi\t12.7 mm x 8.5 mm\t96 ppi\tfehlt\r"),
              std::string::npos)
        << effective;
    EXPECT_TRUE(fs::exists("out/demo-status-colours.png"));
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

// The session examples of hostsim/session/README.md: every fenced block whose
// first line is a session command, and every script fed to hostsim through
// a here-document. Blocks of transcripts, prompts and shell commands are left.
std::vector<std::string> readmeSessionExamples() {
    const std::string text = test::readFile(test::sourcePath("hostsim/session/README.md"));
    std::vector<std::string> examples;
    std::size_t pos = 0;
    while ((pos = text.find("\n```", pos)) != std::string::npos) {
        const std::size_t start = text.find('\n', pos + 4);
        const std::size_t end = text.find("\n```", start);
        if (start == std::string::npos || end == std::string::npos) break;
        std::string block = text.substr(start + 1, end - start);
        pos = end + 4;
        if (const std::size_t here = block.find("<<'EOF'\n"); here != std::string::npos) {
            block = block.substr(here + 8, block.find("\nEOF") - here - 7);
        }
        // The first line that is neither blank nor a comment.
        std::string firstLine;
        for (std::size_t at = 0; at < block.size();) {
            std::size_t lineEnd = block.find('\n', at);
            if (lineEnd == std::string::npos) lineEnd = block.size();
            firstLine = block.substr(at, lineEnd - at);
            if (!firstLine.empty() && firstLine[0] != '#') break;
            at = lineEnd + 1;
        }
        hostsim::session::ParseError error;
        if (hostsim::session::parseLine(firstLine, 1, error)) examples.push_back(block);
    }
    return examples;
}

TEST_F(SessionTest, TheSessionReadmeExamplesRunOnTheSample) {
    enterScratchRoot();
    const std::vector<std::string> examples = readmeSessionExamples();
    ASSERT_GE(examples.size(), 2u);  // the example session and the serving one
    for (const std::string& example : examples) {
        SCOPED_TRACE(example);
        desktop::Desktop::instance().reset();
        const hostsim::session::ScriptRun result = run(example);
        EXPECT_EQ(result.exitCode, 0) << ::testing::PrintToString(runner_->failureLog()) << transcript();
    }
}

TEST_F(SessionTest, ScriptsSeeTheRefusals) {
    EXPECT_EQ(run("compat 2\nstart\nexpect refused\nquit\n").exitCode, 0) << transcript();
    EXPECT_NE(transcript().find("activation -> 0x51000401 (refused)"), std::string::npos) << transcript();
    desktop::Desktop::instance().reset();
    EXPECT_EQ(run("withhold xtbox\nstart\nexpect refused\nquit\n").exitCode, 0) << transcript();
    EXPECT_NE(transcript().find("start-up -> 0x51000401 (refused)"), std::string::npos) << transcript();
    desktop::Desktop::instance().reset();
    EXPECT_EQ(run("compat 0\nstart\nexpect started\n").exitCode, 1);
}

TEST_F(SessionTest, ACopyNameSessionOnTheSample) {
    const std::string script = "prefs set Default CopyPath c\n"
                               "open \"" + samplePath() + "\"\n"
                               "select box 12\nkey c ctrl\nexpect clipboard \"pages.pdf\"\n"
                               "select box 14\nkey c ctrl\nexpect clipboard \"pages.pdf\"\n"
                               "expect violation none\nquit\n";
    EXPECT_EQ(run(script).exitCode, 0) << transcript();
    EXPECT_NE(transcript().find("key control+'c' -> swallowed by the module"), std::string::npos);
    EXPECT_NE(transcript().find("key control+'c' -> host"), std::string::npos);
}

}  // namespace
}  // namespace lumbrel::integration

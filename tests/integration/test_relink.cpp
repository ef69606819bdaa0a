// Relinking by list with the real module in the host simulator, reached
// through the scripting event's command 4: which line each picture takes,
// the log beside the list, Cancel in the progress dialog, and lists that are
// not read at all.
#include "integration_fixture.h"
#include "picture_layout.h"

#include "support/test_support.h"

#include <filesystem>

namespace lumbrel::integration {
namespace {

namespace fs = std::filesystem;
using desktop::DialogAction;
using hostsim::Rect;

constexpr const char* kBOM = "\xEF\xBB\xBF";

class RelinkTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        if (HasFatalFailure()) return;
        startOrFail();
        fs::create_directories(job("lists"));
    }
    std::string job(const std::string& name) const { return dir_.file("Job") + "/" + name; }
    std::string file(const std::string& name) const { return copySample("grey.tif", job(name)); }
    std::string listPath() const { return job("lists/Austausch.txt"); }
    std::string logPath() const { return job("lists/Austausch.log"); }

    std::vector<hostsim::BoxId> openWith(const std::vector<std::string>& names) {
        hostsim::Document doc = pagesDocument({{"1"}, {"2", "3"}});
        std::vector<hostsim::BoxId> boxes;
        double top = 20.0;
        for (const std::string& name : names) {
            boxes.push_back(placePicture(doc, 1, Rect{top, 20, top + 20, 80}, file(name)));
            top += 25.0;
        }
        const hostsim::OpenResult opened = sim().newDocument(std::move(doc), "Relink.qxp");
        EXPECT_TRUE(opened.ok()) << opened.message;
        return boxes;
    }
    // Writes the list and sends the request; the reply.
    std::optional<std::string> relink(const std::string& list, std::vector<DialogAction> actions = {}) {
        test::writeFile(listPath(), list);
        return request(listPath(), std::move(actions));
    }
    std::optional<std::string> request(const std::string& path, std::vector<DialogAction> actions = {}) {
        for (DialogAction& action : actions) agent_->queueDialogAction(std::move(action));
        auto reply = sim().scriptRequest("<cmd>4</cmd><path>" + path + "</path>");
        EXPECT_EQ(agent_->pendingDialogActions(), 0U);
        return reply;
    }
    std::string pictureOf(hostsim::BoxId box) {
        const hostsim::Box* b = sim().current()->findBox(box);
        return b != nullptr && b->picture() ? b->picture()->path : std::string("(none)");
    }
    std::string log() const { return fs::exists(logPath()) ? test::readFile(logPath()) : std::string("(none)"); }
    const std::vector<desktop::OpenedDocument>& opened() const {
        return desktop::Desktop::instance().openedDocuments();
    }
};

TEST_F(RelinkTest, EachPictureTakesTheLineOfTheFirstOccurrenceOfItsPath) {
    const auto boxes = openWith({"old/a.tif", "old/b.tif", "old/c.tif", "old/d.tif", "old/e.tif", "old/f.tif",
                                 "old/g.tif", "old/h.tif"});
    for (const char* name : {"first.tif", "second.tif", "d2.tif", "f2.tif", "g2.tif", "h2.tif"}) {
        file(std::string("new/") + name);
    }
    const auto o = [&](const char* name) { return job(std::string("old/") + name); };
    const auto n = [&](const char* name) { return job(std::string("new/") + name); };
    const struct {
        std::string listLines;  // what the list holds for the picture
        std::string logLine;    // what the log says of it
        std::string linkedTo;
    } cases[] = {
        // a: its path starts a longer old path in an earlier line, which wins.
        {o("a.tif") + ".bak\t" + n("first.tif") + "\r" + o("a.tif") + "\t" + n("second.tif") + "\r",
         o("a.tif") + " --> " + n("first.tif") + "\r", n("first.tif")},
        // b: not in the list.
        {"", "\t####\t" + o("b.tif") + " --> \r", o("b.tif")},
        // c: the new file is missing.
        {o("c.tif") + "\t" + n("missing.tif") + "\r", "\t####\t" + o("c.tif") + " --> " + n("missing.tif") + "\r",
         o("c.tif")},
        // d: a further tab after the new path.
        {o("d.tif") + "\t" + n("d2.tif") + "\tnote\r", "\t####\t" + o("d.tif") + " --> \r", o("d.tif")},
        // e: an empty new path; f: a line end before any tab (f's own line comes later).
        {o("e.tif") + "\t\r", "\t####\t" + o("e.tif") + " --> \r", o("e.tif")},
        {o("f.tif") + "\r" + o("f.tif") + "\t" + n("f2.tif") + "\r", "\t####\t" + o("f.tif") + " --> \r",
         o("f.tif")},
        // h: line feeds end lines too; g: the last line needs no line end.
        {o("h.tif") + "\t" + n("h2.tif") + "\n", o("h.tif") + " --> " + n("h2.tif") + "\r", n("h2.tif")},
        {o("g.tif") + "\t" + n("g2.tif"), o("g.tif") + " --> " + n("g2.tif") + "\r", n("g2.tif")},
    };
    std::string list;
    for (const auto& c : cases) list += c.listLines;
    const hostsim::BoxId order[] = {boxes[0], boxes[1], boxes[2], boxes[3], boxes[4], boxes[5], boxes[7], boxes[6]};
    // The log follows the document's box order, a to h.
    std::string logInBoxOrder = kBOM;
    for (std::size_t i = 0; i < 6; ++i) logInBoxOrder += cases[i].logLine;
    logInBoxOrder += cases[7].logLine;
    logInBoxOrder += cases[6].logLine;

    EXPECT_EQ(relink(list), std::optional<std::string>("<cmd>4</cmd>\r"));
    EXPECT_EQ(log(), logInBoxOrder);
    for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(pictureOf(order[i]), cases[i].linkedTo) << i;
    EXPECT_EQ(agent_->dialogsSeen().front().title, "Progress");
    ASSERT_EQ(opened().size(), 1U);
    EXPECT_EQ(opened()[0].document, logPath());
    EXPECT_EQ(opened()[0].application, "") << "its default application";
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());

    // Written anew each time.
    EXPECT_TRUE(relink("").has_value());
    std::string again = kBOM;
    for (const hostsim::BoxId box : boxes) again += "\t####\t" + pictureOf(box) + " --> \r";
    EXPECT_EQ(log(), again);
}

TEST_F(RelinkTest, DecomposedAccentsInTheListMatchComposedPaths) {
    const auto boxes = openWith({"M\u00FCller/Caf\u00E9.tif"});
    file("neu/\u00C9t\u00E9.tif");
    const std::string decomposedOld = job("Mu\u0308ller/Cafe\u0301.tif");
    const std::string decomposedNew = job("neu/E\u0301te\u0301.tif");
    relink(decomposedOld + "\t" + decomposedNew + "\r");
    EXPECT_EQ(pictureOf(boxes[0]), job("neu/\u00C9t\u00E9.tif"));
    EXPECT_EQ(log(), std::string(kBOM) + job("M\u00FCller/Caf\u00E9.tif") + " --> " + job("neu/\u00C9t\u00E9.tif") + "\r");
}

TEST_F(RelinkTest, CancelInTheProgressDialogKeepsTheLinesWrittenAndStillOpensTheLog) {
    std::vector<std::string> names;
    for (int i = 0; i < 6; ++i) names.push_back("old/p" + std::to_string(i) + ".tif");
    const auto boxes = openWith(names);
    std::string list;
    for (int i = 0; i < 6; ++i) {
        list += job("old/p" + std::to_string(i) + ".tif") + "\t" + file("new/p" + std::to_string(i) + ".tif") + "\r";
    }
    relink(list, {DialogAction::wait(), DialogAction::wait(), DialogAction::click(2)});
    const std::string written = log();
    ASSERT_EQ(written.rfind(kBOM, 0), 0U);
    std::size_t lines = 0;
    for (const char c : written) lines += c == '\r' ? 1 : 0;
    EXPECT_GE(lines, 1U);
    EXPECT_LT(lines, 6U);
    EXPECT_EQ(written.back(), '\r') << "whole lines only";
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const std::string expected = job((i < lines ? "new/p" : "old/p") + std::to_string(i) + ".tif");
        EXPECT_EQ(pictureOf(boxes[i]), expected) << i;
    }
    ASSERT_EQ(opened().size(), 1U);
    EXPECT_EQ(opened()[0].document, logPath());
}

TEST_F(RelinkTest, AListThatCannotBeReadOrIsNoRelinkListDoesNothing) {
    const auto boxes = openWith({"old/a.tif"});
    const std::string line = job("old/a.tif") + "\t" + file("new/a.tif") + "\r";
    test::writeFile(job("lists/Other.txt"), line);
    test::writeFile(job("lists/austausch.txt"), line);
    fs::create_directories(job("folder/Austausch.txt"));
    for (const std::string& path : {job("none/Austausch.txt"), job("folder/Austausch.txt"), job("lists/Other.txt"),
                                    job("lists/austausch.txt"), std::string("")}) {
        EXPECT_EQ(request(path), std::optional<std::string>("<cmd>4</cmd>\r")) << path;
        EXPECT_EQ(pictureOf(boxes[0]), job("old/a.tif")) << path;
    }
    EXPECT_TRUE(agent_->dialogsSeen().empty());
    EXPECT_TRUE(opened().empty());
    EXPECT_FALSE(fs::exists(job("none/Austausch.log")));
    EXPECT_FALSE(fs::exists(job("lists/Other.log")));
    EXPECT_FALSE(fs::exists(job("lists/austausch.log")));
    // A relative path is not taken, even where it names a list.
    test::writeFile(listPath(), line);
    const fs::path workingFolder = fs::current_path();
    fs::current_path(job("lists"));
    request("Austausch.txt");
    fs::current_path(workingFolder);
    EXPECT_FALSE(fs::exists(logPath()));
    // An unreadable list: nothing either (root reads everything, so as nobody).
    fs::permissions(listPath(), fs::perms::none);
    {
        test::WithoutRootPrivileges nobody;
        if (nobody.ok()) {
            request(listPath());
            EXPECT_FALSE(fs::exists(logPath()));
        }
    }
    EXPECT_EQ(pictureOf(boxes[0]), job("old/a.tif"));
    fs::permissions(listPath(), fs::perms::owner_all);
    // A log that cannot be written (a folder in its place): a beep, and no picture changes unlogged.
    fs::create_directories(logPath());
    const std::size_t beeps = desktop::Desktop::instance().beepCount();
    request(listPath());
    EXPECT_EQ(desktop::Desktop::instance().beepCount() - beeps, 1U);
    EXPECT_EQ(pictureOf(boxes[0]), job("old/a.tif"));
    EXPECT_TRUE(fs::is_empty(logPath()));
    EXPECT_TRUE(opened().empty());
    fs::remove(logPath());
    // Without a document nothing happens.
    ASSERT_TRUE(sim().close());
    request(listPath());
    EXPECT_FALSE(fs::exists(logPath()));
    EXPECT_TRUE(opened().empty());
}

}  // namespace
}  // namespace lumbrel::integration

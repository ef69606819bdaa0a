// Renaming a picture's file with Command-Shift-R, with the real module in
// the host simulator on real files in a scratch job folder: what the dialog
// offers, which boxes follow the file, and every way the rename is refused
// without touching a file.
#include "integration_fixture.h"
#include "picture_layout.h"

#include "hostsim/host/runtime.h"
#include "support/test_support.h"
#include "xtapi.h"

#include <filesystem>

namespace lumbrel::integration {
namespace {

namespace fs = std::filesystem;
using desktop::DialogAction;

constexpr int kNameField = 3;
constexpr int kCancel = 2;

class RenameTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        if (HasFatalFailure()) return;
        startOrFail();
    }
    std::string job(const std::string& name) const { return dir_.file("Job") + "/" + name; }

    // One picture box per file on one page, labels on so that a redraw shows.
    std::vector<hostsim::BoxId> openWith(const std::vector<std::string>& names) {
        std::vector<std::string> paths;
        for (const std::string& name : names) paths.push_back(job(name));
        std::vector<hostsim::BoxId> boxes;
        const hostsim::OpenResult opened = sim().newDocument(greyPicturesDocument(paths, boxes), "Rename.qxp");
        EXPECT_TRUE(opened.ok()) << opened.message;
        EXPECT_TRUE(sim().chooseMenu("Show Image Names"));
        return boxes;
    }
    // Command-Shift-R on the box with the dialog's actions. The draw calls
    // are emptied first: afterwards they hold what a redraw drew.
    void rename(hostsim::BoxId box, std::vector<DialogAction> actions) {
        ASSERT_TRUE(sim().selectBox(box));
        sim().runtime().drawCalls.clear();
        clearAlerts();
        for (DialogAction& action : actions) agent_->queueDialogAction(std::move(action));
        EXPECT_TRUE(sim().key('r', XT_MOD_COMMAND | XT_MOD_SHIFT).swallowed);
        EXPECT_EQ(agent_->pendingDialogActions(), 0U);
    }
    bool redrawn() const { return !sim_->drawCalls().empty(); }
    std::string pictureOf(hostsim::BoxId box) {
        const hostsim::Box* b = sim().current()->findBox(box);
        return b != nullptr && b->picture() ? b->picture()->path : std::string("(none)");
    }
    std::size_t beeps() const { return desktop::Desktop::instance().beepCount(); }
    // The last dialog as it opened.
    const desktop::DialogRequest& lastDialogOpened() const {
        const auto& seen = agent_->dialogsSeen();
        for (auto it = seen.rbegin(); it != seen.rend(); ++it) {
            if (it->turn == 1) return *it;
        }
        ADD_FAILURE() << "no dialog";
        return seen.back();
    }
};

TEST_F(RenameTest, EveryBoxOfTheFileFollowsItAndASameNamedFileElsewhereIsUntouched) {
    const auto boxes = openWith({"a/photo.tif", "a/photo.tif", "b/photo.tif", "a/photo.tif"});
    const std::string bytes = test::readFile(job("a/photo.tif"));
    const std::size_t before = beeps();
    rename(boxes[1], {DialogAction::setText(kNameField, "renamed.tif"), DialogAction::click(1)});
    EXPECT_EQ(beeps(), before);
    EXPECT_FALSE(fs::exists(job("a/photo.tif")));
    EXPECT_EQ(test::readFile(job("a/renamed.tif")), bytes);
    for (const std::size_t i : {0U, 1U, 3U}) EXPECT_EQ(pictureOf(boxes[i]), job("a/renamed.tif")) << i;
    EXPECT_EQ(pictureOf(boxes[2]), job("b/photo.tif"));
    EXPECT_TRUE(fs::exists(job("b/photo.tif")));
    EXPECT_TRUE(redrawn());
    EXPECT_TRUE(alerts().empty());
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(RenameTest, TheDialogOffersTheNameWithThePartBeforeTheLastDotSelected) {
    // Typing replaces the selection: what is left shows what was selected.
    const struct {
        const char* name;
        const char* afterTypingX;
    } cases[] = {{"photo.tif", "x.tif"},   {"a.b.tif", "x.tif"}, {"noextension", "x"},
                 {".hidden", "x"},         {"dot.", "x."},       {"Büro Ä.tif", "x.tif"}};
    std::vector<std::string> names;
    for (const auto& c : cases) names.push_back(std::string("f/") + c.name);
    const auto boxes = openWith(names);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        rename(boxes[i], {DialogAction::type("x"), DialogAction::click(1)});
        const auto& shown = lastDialogOpened();
        EXPECT_EQ(shown.title, "Rename picture file");
        EXPECT_EQ(shown.focusedId, kNameField);
        ASSERT_NE(shown.control(kNameField), nullptr);
        EXPECT_EQ(shown.control(kNameField)->text, cases[i].name) << "the field starts with the name";
        EXPECT_EQ(pictureOf(boxes[i]), job(std::string("f/") + cases[i].afterTypingX)) << cases[i].name;
        EXPECT_TRUE(fs::exists(job(std::string("f/") + cases[i].afterTypingX))) << cases[i].name;
        // Out of the way of the next case's "x".
        fs::rename(job(std::string("f/") + cases[i].afterTypingX), job("f/done" + std::to_string(i)));
    }
}

TEST_F(RenameTest, AnExistingNameBeepsKeepsBothFilesAndReloadsTheOldOne) {
    const auto boxes = openWith({"photo.tif", "other.tif", "photo.tif"});
    test::writeFile(job("other.tif"), "another picture");
    const std::size_t before = beeps();
    for (const char* name : {"other.tif", "photo.tif"}) {
        rename(boxes[0], {DialogAction::setText(kNameField, name), DialogAction::click(1)});
        EXPECT_EQ(beeps() - before, name[0] == 'o' ? 1U : 2U) << name;
        EXPECT_EQ(test::readFile(job("other.tif")), "another picture");
        EXPECT_TRUE(fs::exists(job("photo.tif")));
        EXPECT_EQ(pictureOf(boxes[0]), job("photo.tif"));
        EXPECT_EQ(pictureOf(boxes[2]), job("photo.tif"));
        EXPECT_EQ(pictureOf(boxes[1]), job("other.tif"));
        EXPECT_TRUE(redrawn()) << "the old file is loaded again";
    }
    // A folder of that name is refused the same way.
    fs::create_directories(job("folder.tif"));
    rename(boxes[0], {DialogAction::setText(kNameField, "folder.tif"), DialogAction::click(1)});
    EXPECT_EQ(beeps() - before, 3U);
    EXPECT_TRUE(fs::exists(job("photo.tif")));
    EXPECT_TRUE(fs::is_empty(job("folder.tif")));
}

TEST_F(RenameTest, CancelAndNamesThatAreNoPlainFileNameChangeNothing) {
    const auto boxes = openWith({"photo.tif"});
    fs::create_directories(job("sub"));
    const auto listing = [&] {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(dir_.file("Job"))) {
            names.push_back(entry.path().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> files = listing();

    // Cancel at once: no redraw either.
    rename(boxes[0], {DialogAction::setText(kNameField, "new.tif"), DialogAction::click(kCancel)});
    EXPECT_FALSE(redrawn());
    EXPECT_EQ(listing(), files);

    // Each refused name beeps and keeps the dialog, which Cancel then ends.
    const std::string refused[] = {"",           "sub/photo.tif", "../photo.tif", "..", ".",
                                   "/tmp/x.tif", "a/",            std::string(256, 'n')};
    for (const std::string& name : refused) {
        const std::size_t before = beeps();
        rename(boxes[0], {DialogAction::setText(kNameField, name), DialogAction::click(1),
                          DialogAction::click(kCancel)});
        EXPECT_EQ(beeps() - before, 1U) << name;
        EXPECT_EQ(agent_->dialogsSeen().back().focusedId, kNameField) << name;
        EXPECT_FALSE(redrawn()) << name;
        EXPECT_EQ(listing(), files) << name;
        EXPECT_EQ(pictureOf(boxes[0]), job("photo.tif"));
    }
    // 255 bytes is still a name.
    const std::string longest = std::string(251, 'n') + ".tif";
    rename(boxes[0], {DialogAction::setText(kNameField, longest), DialogAction::click(1)});
    EXPECT_EQ(pictureOf(boxes[0]), job(longest));
}

TEST_F(RenameTest, AMissingFileIsReportedAndOtherBoxesOpenNoDialog) {
    const auto boxes = openWith({"photo.tif"});
    fs::remove(job("photo.tif"));
    const std::size_t dialogs = agent_->dialogsSeen().size();
    rename(boxes[0], {});
    EXPECT_EQ(alertLines(), std::vector<std::string>{"Image file not found! | " + job("photo.tif")});
    rename(0, {});
    EXPECT_TRUE(alerts().empty());
    EXPECT_EQ(agent_->dialogsSeen().size(), dialogs);
    EXPECT_FALSE(redrawn());
}

}  // namespace
}  // namespace lumbrel::integration

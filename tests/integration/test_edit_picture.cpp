// Double-clicks on pictures with the real module in the host simulator:
// which clicks count, the Edit dialog's buttons, and the list of
// applications it keeps in section "OpenWith".
#include "integration_fixture.h"
#include "picture_layout.h"

#include "support/test_support.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace lumbrel::integration {
namespace {

namespace fs = std::filesystem;
using desktop::DialogAction;
using Lines = std::vector<std::string>;

constexpr int kDone = 1;
constexpr int kShow = 3;
constexpr int kUpdate = 4;
constexpr int kOpenWith = 5;
constexpr int kChoose = 6;
constexpr int kEdit = 9;

// Item n of the "Open with" pop-up, counted from 1 as the dialog counts.
DialogAction openWithItem(int n) { return DialogAction::chooseIndex(kOpenWith, n - 1); }

// Points inside sample boxes (spread, y, x).
constexpr hostsim::SpreadPoint kOnRgbTiff{1, 100.0, 500.0};    // box 3
constexpr hostsim::SpreadPoint kOnTitleText{1, 250.0, 500.0};  // box 4
constexpr hostsim::SpreadPoint kOnPdf{3, 100.0, 500.0};        // box 12
constexpr hostsim::SpreadPoint kOnEmpty{3, 380.0, 500.0};      // box 13, a picture box without a picture

class EditPictureTest : public ModuleTest {
protected:
    // An application bundle folder under the scratch folder; its path.
    std::string application(const std::string& name) {
        const std::string path = dir_.file("Applications/" + name + ".app");
        fs::create_directories(path);
        return path;
    }
    // Double-clicks with the dialog actions queued; all of them must be used.
    hostsim::EventResult doubleClick(hostsim::SpreadPoint at, std::vector<DialogAction> actions = {},
                                     std::uint32_t gap = hostsim::kDoubleClickGap) {
        for (DialogAction& action : actions) agent_->queueDialogAction(std::move(action));
        const hostsim::EventResult result = sim().doubleClick(at, gap);
        EXPECT_EQ(agent_->pendingDialogActions(), 0U);
        return result;
    }
    // Lines of section "OpenWith" in the settings file, in order.
    std::vector<std::string> openWithLines() const {
        std::vector<std::string> lines;
        bool inSection = false;
        std::string text = test::readFile(settingsFile());
        for (char& c : text) {
            if (c == '\r') c = '\n';
        }
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            if (line.empty()) continue;
            if (line.front() == '[') {
                inSection = line == "[OpenWith]";
            } else if (inSection) {
                lines.push_back(line);
            }
        }
        return lines;
    }
    // Dialogs opened since the transcript was last cleared.
    static Lines dialogsOpened() {
        Lines lines;
        for (const desktop::TranscriptEntry& entry : desktop::Desktop::instance().transcript().entries()) {
            if (entry.line.starts_with("dialog \"") && entry.line.ends_with("\" opened")) lines.push_back(entry.line);
        }
        return lines;
    }
    std::vector<desktop::OpenedDocument> opened() const { return desktop::Desktop::instance().openedDocuments(); }
};

TEST_F(EditPictureTest, OnlyADoubleClickOnTheCurrentPictureBoxWithTheContentToolOpensADialog) {
    startOrFail();
    openSample();
    const struct {
        const char* what;
        std::int16_t tool;
        hostsim::SpreadPoint at;
        std::uint32_t gap;
        const char* dialog;  // the title opened, null for none
    } cases[] = {
        {"23 ticks apart", XT_TOOL_CONTENT, kOnRgbTiff, 23, "dialog \"rgb.tif\" opened"},
        {"24 ticks apart", XT_TOOL_CONTENT, kOnRgbTiff, 24, nullptr},
        {"another tool", XT_TOOL_CONTENT - 1, kOnRgbTiff, 10, nullptr},
        {"a text box", XT_TOOL_CONTENT, kOnTitleText, 10, nullptr},
        {"a PDF picture", XT_TOOL_CONTENT, kOnPdf, 10, "dialog \"Lumbrel - PDF Import\" opened"},
        {"an empty picture box", XT_TOOL_CONTENT, kOnEmpty, 10, "dialog \"Edit\" opened"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        desktop::Desktop::instance().transcript().clear();
        sim().setTool(c.tool);
        const hostsim::EventResult result = doubleClick(c.at, {}, c.gap);
        EXPECT_TRUE(result.delivered);
        EXPECT_EQ(result.swallowed, c.dialog != nullptr);
        EXPECT_EQ(dialogsOpened(), c.dialog != nullptr ? Lines{c.dialog} : Lines{});
    }
    // Single clicks far apart never count, whatever they hit.
    sim().setTool(XT_TOOL_CONTENT);
    EXPECT_FALSE(sim().click(kOnRgbTiff).swallowed);
    EXPECT_FALSE(sim().click(kOnRgbTiff).swallowed);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(EditPictureTest, WithEditOffTheHostGetsEveryClick) {
    setPref("Edit", "0");
    startOrFail();
    openSample();
    EXPECT_FALSE(doubleClick(kOnRgbTiff, {}, 1).swallowed);
    EXPECT_FALSE(doubleClick(kOnPdf, {}, 1).swallowed);
    EXPECT_EQ(dialogsOpened(), Lines{});
}

TEST_F(EditPictureTest, AnUpperCasePdfExtensionOpensThePdfDialog) {
    startOrFail();
    hostsim::Document doc = pagesDocument({{"1"}});
    const hostsim::BoxId box =
        placePicture(doc, 1, hostsim::Rect{20, 20, 220, 220}, copySample("pages.pdf", dir_.file("Scan.PDF")));
    ASSERT_TRUE(sim().newDocument(std::move(doc), "Upper.qxp").ok());
    EXPECT_TRUE(doubleClick({1, 100.0, 100.0}, {DialogAction::click(2)}).swallowed);
    EXPECT_EQ(dialogsOpened(), Lines{"dialog \"Lumbrel - PDF Import\" opened"});
    EXPECT_NE(box, 0);
}

TEST_F(EditPictureTest, StoredApplicationsAreOfferedOnceIfTheyExistAndSavedRenumbered) {
    const std::string paint = application("Paint");
    const std::string draw = application("Draw");
    setPref("App2", dir_.file("Applications/Gone.app"), "OpenWith");
    setPref("App3", paint, "OpenWith");
    setPref("App4", paint, "OpenWith");
    setPref("App7", draw, "OpenWith");
    startOrFail();
    openSample();
    // Item 3 is Draw: the missing one and the duplicate are not offered.
    doubleClick(kOnRgbTiff, {openWithItem(3), DialogAction::click(kEdit),
                             openWithItem(1), DialogAction::click(kEdit),
                             DialogAction::click(kDone)});
    ASSERT_EQ(opened().size(), 2U);
    EXPECT_EQ(opened()[0].application, draw);
    EXPECT_EQ(opened()[0].document, samplePicture("rgb.tif"));
    EXPECT_EQ(opened()[1].application, "");  // the default application
    EXPECT_EQ(openWithLines(), (Lines{"App2=" + paint, "App3=" + draw}));
}

TEST_F(EditPictureTest, ChoosingTheSameApplicationTwiceKeepsOneItemAndSelectsIt) {
    const std::string paint = application("Paint");
    const std::string draw = application("Draw");
    startOrFail();
    openSample();
    agent_->chooseApplicationAt(paint);
    agent_->chooseApplicationAt(draw);
    agent_->chooseApplicationAt(paint);
    agent_->cancelApplicationChooser();
    // Paint is chosen again while Draw is selected: Paint becomes selected.
    doubleClick(kOnRgbTiff, {DialogAction::click(kChoose), DialogAction::click(kChoose), DialogAction::click(kChoose),
                             DialogAction::click(kEdit), DialogAction::click(kChoose), DialogAction::click(kEdit),
                             DialogAction::closeBox(), DialogAction::click(kDone)});
    ASSERT_EQ(opened().size(), 2U);
    EXPECT_EQ(opened()[0].application, paint);
    EXPECT_EQ(opened()[1].application, paint);  // Cancel in the chooser changed nothing
    EXPECT_EQ(openWithLines(), (Lines{"App2=" + paint, "App3=" + draw}));
}

TEST_F(EditPictureTest, ChoosingWithShiftDeletesAStoredApplicationButNeverTheDefault) {
    const std::string a = application("A");
    const std::string b = application("B");
    const std::string c = application("C");
    setPref("App2", a, "OpenWith");
    setPref("App3", b, "OpenWith");
    setPref("App4", c, "OpenWith");
    startOrFail();
    openSample();
    desktop::Desktop::instance().holdModifiers(XT_MOD_SHIFT);
    // Item 1 with Shift: nothing goes. Item 3 (B) with Shift: B goes, item 1 is selected.
    doubleClick(kOnRgbTiff, {openWithItem(1), openWithItem(3),
                             DialogAction::click(kEdit), openWithItem(3),
                             DialogAction::click(kDone)});
    desktop::Desktop::instance().releaseAllKeys();
    ASSERT_EQ(opened().size(), 1U);
    EXPECT_EQ(opened()[0].application, "");
    // The second deletion took C, now item 3: only A is left, as App2.
    EXPECT_EQ(openWithLines(), Lines{"App2=" + a});

    // Without Shift a choice only selects.
    doubleClick(kOnRgbTiff, {openWithItem(2), DialogAction::click(kEdit),
                             DialogAction::click(kDone)});
    ASSERT_EQ(opened().size(), 2U);
    EXPECT_EQ(opened()[1].application, a);
    EXPECT_EQ(openWithLines(), Lines{"App2=" + a});
}

TEST_F(EditPictureTest, ButtonsRevealOpenAndUpdateTheFileAndRefuseAMissingOne) {
    startOrFail();
    hostsim::Document doc = pagesDocument({{"1"}});
    const std::string file = copySample("rgb.tif", dir_.file("Job/photo.tif"));
    const hostsim::BoxId box = placePicture(doc, 1, hostsim::Rect{20, 20, 220, 220}, file);
    ASSERT_TRUE(sim().newDocument(std::move(doc), "Edit.qxp").ok());
    const hostsim::SpreadPoint on{1, 100.0, 100.0};
    auto status = [&] { return hostsim::linkStatus(*sim().current()->findBox(box)->picture()); };

    // Changed outside: the host says so until Update re-reads it.
    std::ofstream(file, std::ios::app) << "more";
    ASSERT_EQ(status(), hostsim::LinkStatus::modified);
    doubleClick(on, {DialogAction::click(kShow), DialogAction::click(kEdit), DialogAction::click(kUpdate),
                     DialogAction::click(kDone)});
    EXPECT_EQ(desktop::Desktop::instance().revealedFiles(), Lines{file});
    ASSERT_EQ(opened().size(), 1U);
    EXPECT_EQ(opened()[0].document, file);
    EXPECT_EQ(status(), hostsim::LinkStatus::ok);
    EXPECT_TRUE(alerts().empty());

    // Gone: each of the three shows the missing-file alert with the path, and does nothing else.
    fs::remove(file);
    clearAlerts();
    doubleClick(on, {DialogAction::click(kShow), DialogAction::click(kEdit), DialogAction::click(kUpdate),
                     DialogAction::click(kDone)});
    EXPECT_EQ(alertLines(), Lines(3, "Image file not found! | " + file));
    EXPECT_EQ(desktop::Desktop::instance().revealedFiles().size(), 1U);
    EXPECT_EQ(opened().size(), 1U);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

}  // namespace
}  // namespace lumbrel::integration

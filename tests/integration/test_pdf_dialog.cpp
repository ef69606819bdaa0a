// The PDF dialog of a picture box with the real module in the host
// simulator: which page is re-imported for what is typed, the page box, the
// import options left for later imports, and a host without a PDF module.
#include "integration_fixture.h"
#include "picture_layout.h"

#include "hostsim/session/runner.h"
#include "hostsim/session/script.h"
#include "hostsim/session/session_agent.h"

#include "support/test_support.h"

namespace lumbrel::integration {
namespace {

using desktop::DialogAction;

constexpr int kOK = 1;
constexpr int kCancel = 2;
constexpr int kApply = 4;
constexpr int kPage = 5;
constexpr int kPageBox = 7;

constexpr const char* kClosedOK = "dialog \"Lumbrel - PDF Import\" closed -> 1";
constexpr const char* kCancelled = "dialog \"Lumbrel - PDF Import\" closed -> 2";

class PdfDialogTest : public ModuleTest {
protected:
    // A page with one picture box holding a copy of the three-page sample PDF.
    void openPdfLayout() {
        hostsim::Document doc = pagesDocument({{"1"}});
        pdf_ = copySample("pages.pdf", dir_.file("Job/pages.pdf"));
        box_ = placePicture(doc, 1, hostsim::Rect{20, 20, 220, 220}, pdf_);
        ASSERT_NE(box_, 0);
        ASSERT_TRUE(sim().newDocument(std::move(doc), "Pdf.qxp").ok());
    }
    // Double-clicks the box with the dialog actions queued; all must be used.
    void openDialog(std::vector<DialogAction> actions) {
        desktop::Desktop::instance().transcript().clear();
        for (DialogAction& action : actions) agent_->queueDialogAction(std::move(action));
        EXPECT_TRUE(sim().doubleClick(hostsim::SpreadPoint{1, 100.0, 100.0}).swallowed);
        EXPECT_EQ(agent_->pendingDialogActions(), 0U);
    }
    const hostsim::PdfInfo& placed(hostsim::BoxId box) {
        static const hostsim::PdfInfo none;
        const hostsim::Box* b = sim().current()->findBox(box);
        return b != nullptr && b->picture() && b->picture()->pdf ? *b->picture()->pdf : none;
    }

    std::string pdf_;
    hostsim::BoxId box_ = 0;
};

TEST_F(PdfDialogTest, ThePageTypedIsImportedAndAPageOutsideTheFileOnlyBeeps) {
    startOrFail();
    openPdfLayout();
    const struct {
        const char* typed;
        int pageAfter;
        bool refused;  // a beep, the dialog stays open (then Cancel)
    } cases[] = {
        {"3", 3, false},  {"4", 3, true},  {"0", 1, false},   {"2", 2, false},
        {"-1", 2, true},  {"x", 1, false}, {" 3", 3, false},  {"99999999999", 3, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::size_t beeps = desktop::Desktop::instance().beepCount();
        std::vector<DialogAction> actions{DialogAction::setText(kPage, c.typed), DialogAction::click(kOK)};
        if (c.refused) actions.push_back(DialogAction::click(kCancel));
        openDialog(std::move(actions));
        EXPECT_EQ(desktop::Desktop::instance().beepCount() - beeps, c.refused ? 1U : 0U);
        EXPECT_TRUE(transcriptHas(c.refused ? kCancelled : kClosedOK));
        EXPECT_EQ(placed(box_).page, c.pageAfter);
        EXPECT_EQ(placed(box_).pageBox, hostsim::PdfBox::media);
    }
    // Every stream opened to count the pages was closed, every file object disposed.
    sim().quit();
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(PdfDialogTest, ApplyKeepsTheDialogOpenAndLaterPdfImportsStillGetPageOneMediaBox) {
    startOrFail();
    openPdfLayout();
    openDialog({DialogAction::setText(kPage, "2"), DialogAction::choose(kPageBox, "TrimBox"), DialogAction::click(kApply),
                DialogAction::click(kCancel)});
    EXPECT_TRUE(transcriptHas(kCancelled));
    EXPECT_EQ(placed(box_).page, 2);
    EXPECT_EQ(placed(box_).pageBox, hostsim::PdfBox::trim);

    // A PDF dropped elsewhere: a new box, imported with the host's defaults.
    ASSERT_TRUE(sim().drop({desktop::PasteboardItem::file(pdf_)}, hostsim::SpreadPoint{1, 400.0, 250.0}));
    const hostsim::BoxId dropped = sim().current()->whichBox(1, 400.0, 250.0);
    ASSERT_NE(dropped, 0);
    ASSERT_NE(dropped, box_);
    EXPECT_EQ(placed(dropped).page, 1);
    EXPECT_EQ(placed(dropped).pageBox, hostsim::PdfBox::media);

    // The dialog shows what the box holds: reopened, OK re-imports the same.
    openDialog({DialogAction::click(kOK)});
    EXPECT_EQ(placed(box_).page, 2);
    EXPECT_EQ(placed(box_).pageBox, hostsim::PdfBox::trim);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

// What the user sees, checked from a session script as a person would.
class PdfDialogSessionTest : public ModuleTest {
protected:
    void TearDown() override {
        runner_.reset();
        ModuleTest::TearDown();
    }
    int run(const std::string& text) {
        const hostsim::session::Script script = hostsim::session::parseScript(text);
        for (const hostsim::session::ParseError& error : script.errors) {
            ADD_FAILURE() << hostsim::session::formatError(error, "script");
        }
        hostsim::Options simOptions;
        simOptions.unloadAtQuit = false;
        sim_ = std::make_unique<hostsim::Simulator>(simOptions);
        hostsim::session::RunnerOptions options;
        options.defaultModule = xtensions_;
        runner_ = std::make_unique<hostsim::session::SessionRunner>(
            *sim_, std::make_shared<hostsim::session::SessionAgent>(), options);
        const int exitCode = hostsim::session::runScript(script, *runner_, false).exitCode;
        EXPECT_EQ(runner_->failures(), 0) << ::testing::PrintToString(runner_->failureLog());
        return exitCode;
    }
    std::unique_ptr<hostsim::session::SessionRunner> runner_;
};

TEST_F(PdfDialogSessionTest, TheDialogShowsThePlacedPageAndBoxWithTheCountAndTheFieldSelected) {
    // Box 12 of the sample holds page 2 of pages.pdf by its trim box.
    const std::string script = "open \"" + samplePath() + "\"\n" +
                               "dialog any expect 5 text \"2\"\n"
                               "dialog any expect 5 focused\n"
                               "dialog any expect 6 text \"of 3\"\n"
                               "dialog any expect 7 selected \"TrimBox\"\n"
                               "dialog any expect 4 enabled\n"
                               "dialog any key tab\n"
                               "dialog any set 5 \"4\"\n"
                               "dialog any click 4\n"
                               "dialog any expect 5 focused\n"
                               "dialog any expect 5 text \"4\"\n"
                               "dialog any click 2\n"
                               "doubleclick 500,100 spread 3\n"
                               "expect dialog \"Lumbrel - PDF Import\" closed -> 2\n"
                               "expect violation none\n";
    EXPECT_EQ(run(script), 0) << desktop::Desktop::instance().transcript().render();
}

TEST_F(PdfDialogSessionTest, WithoutThePdfModuleThePageControlsAreOffAndShowAndEditStillWork) {
    const std::string pdf = samplePicture("pages.pdf");
    const std::string script = "withhold XPDF\nopen \"" + samplePath() + "\"\n" +
                               "dialog any expect 9 text \"" + pdf + "\"\n"
                               "dialog any expect 5 hidden\n"
                               "dialog any expect 6 text \"PDF pages cannot be chosen in this host.\"\n"
                               "dialog any expect 7 disabled\n"
                               "dialog any expect 4 disabled\n"
                               "dialog any click 3\n"
                               "dialog any click 10\n"
                               "dialog any click 1\n"
                               "doubleclick 500,100 spread 3\n"
                               "expect dialog \"Lumbrel - PDF Import\" closed -> 1\n"
                               "expect violation none\n";
    EXPECT_EQ(run(script), 0) << desktop::Desktop::instance().transcript().render();
    EXPECT_EQ(desktop::Desktop::instance().revealedFiles(), std::vector<std::string>{pdf});
    ASSERT_EQ(desktop::Desktop::instance().openedDocuments().size(), 1U);
    EXPECT_EQ(desktop::Desktop::instance().openedDocuments()[0].document, pdf);
    // Nothing was re-imported: the box keeps page 2 by its trim box.
    const hostsim::Box* box = sim().current()->findBox(kPdfBox);
    ASSERT_TRUE(box != nullptr && box->picture() && box->picture()->pdf);
    EXPECT_EQ(box->picture()->pdf->page, 2);
    EXPECT_EQ(box->picture()->pdf->pageBox, hostsim::PdfBox::trim);
}

}  // namespace
}  // namespace lumbrel::integration

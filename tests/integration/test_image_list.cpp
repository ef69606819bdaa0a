// The "Image List" command with the real module in the host simulator: the
// dialog, the list file in the temporary folder byte for byte (golden files
// for both layouts in English and German), the settings it keeps and the
// application the list opens in.
#include "integration_fixture.h"
#include "picture_layout.h"

#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace lumbrel::integration {
namespace {

namespace fs = std::filesystem;
using desktop::DialogAction;
using hostsim::Rect;

constexpr const char* kBOM = "\xEF\xBB\xBF";

class ImageListTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        temporary_ = std::make_unique<TemporaryFolderGuard>(tempFolder());
        pictures_ = dir_.file("Job");
    }
    void TearDown() override {
        temporary_.reset();
        ModuleTest::TearDown();
    }
    std::string tempFolder() const { return dir_.file("tmp"); }
    std::string listPath(const std::string& name) const { return tempFolder() + "/" + name; }
    std::string job(const std::string& name) const { return pictures_ + "/" + name; }

    void startIn(int regionCode = 0) {
        hostsim::Options options;
        options.regionCode = static_cast<std::int16_t>(regionCode);
        startOrFail(options);
    }
    void openLayout(hostsim::Document doc, const std::string& name = "Pictures.qxp") {
        const hostsim::OpenResult opened = sim().newDocument(std::move(doc), name);
        ASSERT_TRUE(opened.ok()) << opened.message;
    }
    // Chooses the command with the user's actions queued for its dialog.
    void runList(std::vector<DialogAction> actions) {
        for (DialogAction& action : actions) agent_->queueDialogAction(std::move(action));
        ASSERT_TRUE(sim().chooseMenu(menuTitle_));
        EXPECT_EQ(agent_->pendingDialogActions(), 0U);
    }
    std::string list(const std::string& name) const {
        const std::string path = listPath(name);
        return fs::exists(path) ? test::readFile(path) : std::string("(no file)");
    }

    void runGolden(int region, bool sorted, const char* golden);

    std::unique_ptr<TemporaryFolderGuard> temporary_;
    std::string pictures_;
    std::string menuTitle_ = "Image List…";
};

// ---- the golden layout ---------------------------------------------------------------
// Section i-iii in roman numbers, then a section starting again at 1. Page i:
// an RGB TIFF and the grey 2 x 1 inch TIFF at 300 dpi; pages ii and iii: a
// CMYK TIFF across both, an EPS on ii, a JPEG and the same JPEG's
// upper-case twin on iii; page 1: one picture twice and one whose file is
// gone, page 2: an empty picture box only.
hostsim::Document goldenLayout(const std::string& job) {
    hostsim::Document doc = pagesDocument({{"i"}, {"ii", "iii"}, {"1", "2"}});
    placePicture(doc, 1, Rect{50, 50, 150, 200}, copySample("rgb.tif", job + "/rgb.tif"));
    placePicture(doc, 1, Rect{200, 50, 300, 200}, writeGreyTiff300(job + "/grey300.tif"));
    placePicture(doc, 2, Rect{50, 300, 150, 540}, copySample("cmyk.tif", job + "/cmyk.tif"));
    placePicture(doc, 2, Rect{300, 50, 400, 200}, copySample("logo-cmyk.eps", job + "/logo-cmyk.eps"));
    placePicture(doc, 2, Rect{300, 500, 400, 600}, copySample("photo.jpg", job + "/photo.jpg"));
    placePicture(doc, 2, Rect{420, 500, 520, 600}, copySample("photo.jpg", job + "/Photo.jpg"));
    placePicture(doc, 3, Rect{50, 50, 150, 150}, copySample("rgb.tif", job + "/twice.tif"));
    placePicture(doc, 3, Rect{200, 50, 300, 150}, job + "/twice.tif");
    placePicture(doc, 3, Rect{350, 50, 450, 150}, copySample("rgb.tif", job + "/gone.tif"));
    placePicture(doc, 3, Rect{50, 470, 150, 570}, "");
    fs::remove(job + "/gone.tif");
    return doc;
}

void expectGolden(const std::string& actual, const std::string& goldenName) {
    const std::string golden = test::sourcePath("tests/integration/golden/" + goldenName);
    if (std::getenv("LUMBREL_UPDATE_GOLDEN") != nullptr) test::writeFile(golden, actual);
    ASSERT_TRUE(fs::exists(golden)) << golden;
    EXPECT_EQ(actual, test::readFile(golden)) << goldenName << " differs; the list written:\n" << actual;
}

// Type and size on, names only (whole paths differ from machine to machine).
void ImageListTest::runGolden(int region, bool sorted, const char* golden) {
    startIn(region);
    openLayout(goldenLayout(pictures_));
    menuTitle_ = region == 3 ? "Bilderliste erstellen…" : "Image List…";
    std::vector<DialogAction> actions{DialogAction::check(4), DialogAction::check(5)};
    if (sorted) actions.push_back(DialogAction::check(7));
    actions.push_back(DialogAction::click(1));
    runList(actions);
    expectGolden(list("Pictures.txt"), golden);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(ImageListTest, PageLayoutInEnglishMatchesItsGoldenFile) { runGolden(0, false, "image_list_pages_E.txt"); }
TEST_F(ImageListTest, SortedLayoutInEnglishMatchesItsGoldenFile) { runGolden(0, true, "image_list_sorted_E.txt"); }
TEST_F(ImageListTest, PageLayoutInGermanMatchesItsGoldenFile) { runGolden(3, false, "image_list_pages_D.txt"); }
TEST_F(ImageListTest, SortedLayoutInGermanMatchesItsGoldenFile) { runGolden(3, true, "image_list_sorted_D.txt"); }

TEST_F(ImageListTest, ThreePagesWithoutPicturesGiveHeadingsAndEmptyLines) {
    startIn();
    openLayout(pagesDocument({{"1"}, {"2", "3"}}), "Empty Layout");
    runList({DialogAction::click(1)});
    EXPECT_EQ(list("Empty Layout.txt"), std::string(kBOM) + "Page 1:\r\n\r\n\r" + "Page 2:\r\n\r\n\r" +
                                            "Page 3:\r\n\r\n\r");
}

TEST_F(ImageListTest, AllOptionsOffLeaveTheNameAndFiveTabs) {
    startIn();
    hostsim::Document doc = pagesDocument({{"1"}});
    const std::string twice = copySample("cmyk.tif", job("a.tif"));
    placePicture(doc, 1, Rect{50, 50, 150, 150}, twice);
    placePicture(doc, 1, Rect{200, 50, 300, 150}, twice);
    openLayout(std::move(doc));
    runList({DialogAction::click(1)});
    EXPECT_EQ(list("Pictures.txt"), std::string(kBOM) + "Page 1:\r\n\r\n\ta.tif\tOK\t\t\t\t\r\ta.tif\tOK\t\t\t\t\r\r");
    runList({DialogAction::check(7), DialogAction::click(1)});
    EXPECT_EQ(list("Pictures.txt"), std::string(kBOM) + "a.tif\tOK\t\t\t\t\r") << "the twin line is kept once";
}

TEST_F(ImageListTest, TypeAndSizeComeFromTheFileAndTheDocumentsUnit) {
    const struct {
        hostsim::Unit unit;
        const char* size;
    } cases[] = {
        {hostsim::Unit::millimetres, "50.8 mm x 25.4 mm"},
        {hostsim::Unit::centimetres, "50.8 mm x 25.4 mm"},
        {hostsim::Unit::inches, "2.0 inch x 1.0 inch"},
        {hostsim::Unit::points, "2.0 inch x 1.0 inch"},
    };
    startIn();
    const std::string grey = writeGreyTiff300(job("grey.tif"));
    for (const auto& c : cases) {
        hostsim::Document doc = pagesDocument({{"1"}}, c.unit);
        placePicture(doc, 1, Rect{50, 50, 150, 150}, grey);
        openLayout(std::move(doc));
        runList({DialogAction::check(4), DialogAction::check(5), DialogAction::check(7), DialogAction::click(1)});
        EXPECT_EQ(list("Pictures.txt"), std::string(kBOM) + "grey.tif\tOK\tTIFF\tGrayscale\t300 dpi\t" + c.size + "\r")
            << hostsim::unitName(c.unit);
        ASSERT_TRUE(sim().close());
    }
}

TEST_F(ImageListTest, SortedByFileNameUpperCaseFirstWithWholePathsToo) {
    startIn();
    hostsim::Document doc = pagesDocument({{"1"}, {"2", "3"}});
    placePicture(doc, 2, Rect{50, 50, 150, 150}, copySample("rgb.tif", job("z/b.tif")));
    placePicture(doc, 1, Rect{50, 50, 150, 150}, copySample("rgb.tif", job("y/a.tif")));
    placePicture(doc, 1, Rect{200, 50, 300, 150}, copySample("rgb.tif", job("a/B.tif")));
    placePicture(doc, 2, Rect{200, 50, 300, 150}, copySample("rgb.tif", job("x/a.tif")));
    openLayout(std::move(doc));
    runList({DialogAction::check(7), DialogAction::click(1)});
    EXPECT_EQ(list("Pictures.txt"),
              std::string(kBOM) + "B.tif\tOK\t\t\t\t\ra.tif\tOK\t\t\t\t\rb.tif\tOK\t\t\t\t\r")
        << "a.tif twice with the same line is kept once";
    // The key stays the file name with whole paths shown; equal names keep their document order.
    runList({DialogAction::check(3), DialogAction::click(1)});
    EXPECT_EQ(list("Pictures.txt"), std::string(kBOM) + job("a/B.tif") + "\tOK\t\t\t\t\r" + job("y/a.tif") +
                                        "\tOK\t\t\t\t\r" + job("x/a.tif") + "\tOK\t\t\t\t\r" + job("z/b.tif") +
                                        "\tOK\t\t\t\t\r");
}

TEST_F(ImageListTest, ABoxAcrossFacingPagesIsListedUnderBoth) {
    startIn();
    hostsim::Document doc = pagesDocument({{"7", "8"}});
    placePicture(doc, 1, Rect{50, 300, 150, 540}, copySample("cmyk.tif", job("across.tif")));
    openLayout(std::move(doc));
    runList({DialogAction::click(1)});
    const std::string line = "\tacross.tif\tOK\t\t\t\t\r";
    EXPECT_EQ(list("Pictures.txt"), std::string(kBOM) + "Page 7:\r\n\r\n" + line + "\rPage 8:\r\n\r\n" + line + "\r");
}

TEST_F(ImageListTest, NamesThatAreNoPlainFileNameBeepAndKeepTheDialog) {
    startIn();
    openLayout(pagesDocument({{"1"}}));
    fs::create_directories(dir_.file("tmp/sub"));
    const std::size_t beeps = desktop::Desktop::instance().beepCount();
    const std::string settingsBefore = fs::exists(settingsFile()) ? test::readFile(settingsFile()) : "";
    runList({DialogAction::check(7),
             DialogAction::setText(8, ""), DialogAction::click(1),
             DialogAction::setText(8, "sub/list.txt"), DialogAction::click(1),
             DialogAction::setText(8, "../escaped.txt"), DialogAction::click(1),
             DialogAction::setText(8, ".."), DialogAction::click(1),
             DialogAction::setText(8, std::string(256, 'n')), DialogAction::click(1),
             DialogAction::click(2)});
    EXPECT_EQ(desktop::Desktop::instance().beepCount() - beeps, 5U);
    const auto& seen = agent_->dialogsSeen();
    ASSERT_GE(seen.size(), 11U);
    EXPECT_EQ(seen[3].focusedId, 8) << "the focus goes back to the name";
    EXPECT_FALSE(fs::exists(dir_.file("tmp/sub/list.txt")));
    EXPECT_FALSE(fs::exists(dir_.file("escaped.txt")));
    EXPECT_EQ(std::distance(fs::directory_iterator(tempFolder()), fs::directory_iterator()), 1) << "only sub/";
    EXPECT_EQ(fs::exists(settingsFile()) ? test::readFile(settingsFile()) : "", settingsBefore)
        << "Cancel keeps the settings";
    EXPECT_TRUE(desktop::Desktop::instance().openedDocuments().empty());
}

TEST_F(ImageListTest, TheDialogStartsFromTheSettingsAndOKSavesThem) {
    setPref("Sort", "1", "ImgList");
    setPref("Type", "2", "ImgList");  // only 1 is on
    setPref("OpenWith", "3", "ImgList");
    startIn();
    openLayout(pagesDocument({{"1"}}), "Heft 12.qxp");
    runList({DialogAction::check(5), DialogAction::click(1)});
    const desktop::DialogRequest& first = agent_->dialogsSeen().at(0);
    EXPECT_EQ(first.title, "Bilderliste erzeugen");
    EXPECT_EQ(first.focusedId, 8);
    EXPECT_EQ(first.control(8)->text, "Heft 12.txt");
    EXPECT_EQ(first.control(7)->value, 1);
    EXPECT_EQ(first.control(4)->value, 0);
    EXPECT_EQ(first.control(6)->items,
              (std::vector<std::string>{"Default application", "BBEdit", "Microsoft Excel"}));
    EXPECT_EQ(first.control(6)->value, 2) << "item 3, counted from 0";
    const std::string settings = test::readFile(settingsFile());
    for (const char* entry : {"FullPath=0", "Type=0", "ImgSize=1", "OpenWith=3", "Sort=1"}) {
        EXPECT_NE(settings.find(entry), std::string::npos) << entry << " in\n" << settings;
    }
    EXPECT_EQ(list("Heft 12.txt"), kBOM);
}

TEST_F(ImageListTest, TheListOpensInTheApplicationOfTheChosenCreator) {
    startIn();
    openLayout(pagesDocument({{"1"}}));
    runList({DialogAction::click(1)});
    runList({DialogAction::chooseIndex(6, 2), DialogAction::setText(8, "excel.txt"), DialogAction::click(1)});
    const auto& opened = desktop::Desktop::instance().openedDocuments();
    ASSERT_EQ(opened.size(), 2U);
    EXPECT_EQ(opened[0].document, listPath("Pictures.txt"));
    EXPECT_EQ(opened[0].application, "/Applications/TextEdit.app");
    EXPECT_EQ(opened[1].document, listPath("excel.txt"));
    EXPECT_EQ(opened[1].application, "/Applications/Microsoft Excel.app");
    EXPECT_TRUE(transcriptHas("open \"" + listPath("excel.txt") +
                              "\" with \"/Applications/Microsoft Excel.app\" (type TEXT, creator XCEL)"));
    EXPECT_EQ(desktop::Desktop::instance().frontProcess(), "Microsoft Excel");
}

TEST_F(ImageListTest, CancelWritesNothingAndTheGermanHeadingComesFromItsTable) {
    startIn(3);
    openLayout(pagesDocument({{"IV"}}));
    menuTitle_ = "Bilderliste erstellen…";
    runList({DialogAction::check(7), DialogAction::click(2)});
    EXPECT_EQ(list("Pictures.txt"), "(no file)");
    EXPECT_FALSE(fs::exists(settingsFile()) && test::readFile(settingsFile()).find("Sort=") != std::string::npos);
    runList({DialogAction::click(1)});
    EXPECT_EQ(list("Pictures.txt"), std::string(kBOM) + "Seite IV:\r\n\r\n\r");
}

}  // namespace
}  // namespace lumbrel::integration

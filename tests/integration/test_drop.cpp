// Pictures and folders dropped from the file manager onto the sample layout
// and onto made documents, in the host simulator with real picture files:
// where files land, what they replace, what a folder re-links, the checks at
// save on the EPS files that come in this way, and dragged input that is
// odd or broken.
#include "integration_fixture.h"

#include "hostsim/session/script.h"

#include "desktop/file_url.h"

#include "support/test_support.h"
#include "xtapi.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace lumbrel::integration {
namespace {

namespace fs = std::filesystem;
using desktop::PasteboardItem;
using hostsim::BoxId;
using hostsim::ScreenPoint;
using hostsim::SpreadPoint;

constexpr const char* kSyncQuestion = "Synchronize all pictures with folder content?";

std::string binaryEPS(std::uint32_t offset, const std::string& postscript) {
    std::string bytes = "\xC5\xD0\xD3\xC6";
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((offset >> (8 * i)) & 0xFFU);
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((postscript.size() >> (8 * i)) & 0xFFU);
    bytes.resize(std::max<std::size_t>(offset, bytes.size()), '\0');
    return bytes + postscript;
}

std::string eps(const std::string& headerComments, const std::string& afterComments = "") {
    return "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 60 40\n" + headerComments + "%%EndComments\n" +
           afterComments + "0 0 moveto 60 40 lineto stroke\n%%EOF\n";
}

class DropTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        files_ = dir_.path() / "From the Finder";
        fs::create_directories(files_);
    }

    // A copy of a sample picture under a name of the test's choice.
    std::string copy(const char* sample, const std::string& name) {
        const fs::path to = files_ / name;
        fs::create_directories(to.parent_path());
        fs::copy_file(samplePicture(sample), to, fs::copy_options::overwrite_existing);
        return to.string();
    }

    std::string write(const std::string& name, const std::string& bytes) {
        const fs::path to = files_ / name;
        fs::create_directories(to.parent_path());
        test::writeFile(to.string(), bytes);
        return to.string();
    }

    hostsim::Document& doc() { return *sim().current(); }
    const hostsim::Box& box(BoxId id) { return *doc().findBox(id); }
    std::string picturePath(BoxId id) {
        const auto& picture = box(id).picture();
        return picture ? picture->path : std::string();
    }
    std::set<BoxId> boxIds() {
        std::set<BoxId> ids;
        for (const auto& [id, b] : doc().boxes()) ids.insert(id);
        return ids;
    }
    // The boxes made since `before`.
    std::vector<BoxId> madeSince(const std::set<BoxId>& before) {
        std::vector<BoxId> made;
        for (const BoxId id : boxIds()) {
            if (before.count(id) == 0) made.push_back(id);
        }
        return made;
    }

    bool dropFiles(std::vector<std::string> paths, SpreadPoint at) {
        std::vector<PasteboardItem> items;
        for (const std::string& path : paths) items.push_back(PasteboardItem::file(path));
        clearAlerts();
        return sim().drop(std::move(items), at);
    }

    ScreenPoint contentPixel(int x, int y) { return ScreenPoint{hostsim::kContentTop + y, hostsim::kContentLeft + x}; }

    fs::path files_;
};

// ---- files ------------------------------------------------------------------------------------------------

TEST_F(DropTest, AFileOnAPictureBoxReplacesItsPictureAndMakesNoBox) {
    startOrFail();
    openSample();
    const std::string cmyk = copy("cmyk.tif", "new cover.tif");
    const auto before = boxIds();
    EXPECT_TRUE(dropFiles({cmyk}, SpreadPoint{1, 100, 500}));
    EXPECT_EQ(boxIds(), before);
    EXPECT_EQ(picturePath(kRgbTiffBox), cmyk);
    EXPECT_EQ(box(kRgbTiffBox).picture()->colorSpace, hostsim::kColorCMYK) << "the host read the new file";
    EXPECT_EQ(box(kRgbTiffBox).bounds().top, 80.0) << "the box stays where it was";
    EXPECT_TRUE(alerts().empty());
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(DropTest, AFileOnATextBoxBecomesANewFittedBoxOnTopOfIt) {
    startOrFail();
    openSample();
    const std::string picture = copy("grey.tif", "grey.tif");
    const auto before = boxIds();
    EXPECT_TRUE(dropFiles({picture}, SpreadPoint{1, 250, 500}));
    const auto made = madeSince(before);
    ASSERT_EQ(made.size(), 1U);
    const hostsim::Box& added = box(made[0]);
    EXPECT_TRUE(added.isPicture());
    EXPECT_EQ(added.bounds().top, 250.0);
    EXPECT_EQ(added.bounds().left, 500.0);
    EXPECT_EQ(added.bounds().height(), 100.0);
    EXPECT_EQ(added.bounds().width(), 100.0);
    EXPECT_EQ(added.spread(), 1);
    EXPECT_EQ(doc().chain(1)->back(), made[0]) << "last in the chain is on top";
    ASSERT_TRUE(added.picture());
    EXPECT_EQ(added.picture()->path, picture);
    // Fitted proportionally: the 40-point square fills the 100-point box.
    EXPECT_DOUBLE_EQ(added.picture()->scaleH, 2.5);
    EXPECT_DOUBLE_EQ(added.picture()->scaleV, 2.5);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
    EXPECT_EQ(sim().liveHandles(), 0U) << "the box record was given back";
}

TEST_F(DropTest, AtTwoHundredPercentTwoHundredPixelsAreAHundredPoints) {
    startOrFail();
    openSample();
    ASSERT_TRUE(sim().setViewScale(2 * 65536));
    const auto before = boxIds();
    clearAlerts();
    ASSERT_TRUE(sim().drop({PasteboardItem::file(copy("rgb.tif", "a.tif"))}, contentPixel(200, 500)));
    const auto made = madeSince(before);
    ASSERT_EQ(made.size(), 1U);
    EXPECT_EQ(box(made[0]).bounds().left, 100.0);
    EXPECT_EQ(box(made[0]).bounds().top, 250.0);
}

TEST_F(DropTest, BelowTheSpreadTheFileLandsOnTheNextOneAsFarBelowItsTop) {
    startOrFail();
    ASSERT_TRUE(sim().newDocument(spreadsDocument(3)).ok());
    const auto before = boxIds();
    clearAlerts();
    // Spreads are 595 points high; at 100 % a point is a pixel.
    ASSERT_TRUE(sim().drop({PasteboardItem::file(copy("rgb.tif", "a.tif"))}, contentPixel(30, 595 + 40)));
    const auto made = madeSince(before);
    ASSERT_EQ(made.size(), 1U);
    EXPECT_EQ(box(made[0]).spread(), 2);
    EXPECT_EQ(box(made[0]).bounds().top, 40.0);
    EXPECT_EQ(box(made[0]).bounds().left, 30.0);

    // Scrolled down to spread 3, the stacking works from the current spread.
    ASSERT_TRUE(sim().gotoPage(4));
    ASSERT_TRUE(sim().scroll(0, -100));
    const auto again = boxIds();
    ASSERT_TRUE(sim().drop({PasteboardItem::file(copy("rgb.tif", "a.tif"))}, contentPixel(30, 60)));
    const auto above = madeSince(again);
    ASSERT_EQ(above.size(), 1U);
    EXPECT_EQ(box(above[0]).spread(), 3);
    EXPECT_EQ(box(above[0]).bounds().top, 160.0);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

// 60 spreads of one 792-point page each reach far beyond 16-bit screen
// coordinates: wherever the view stands, a drop lands on the page under the
// pointer, and a drop just below that page on the next one.
TEST_F(DropTest, InALongDocumentDropsLandWhereTheyAreMadeOnEveryPage) {
    startOrFail();
    hostsim::Document long_;
    long_.projectName = "Long";
    long_.pageWidth = 612.0;
    long_.pageHeight = 792.0;
    for (int s = 1; s <= 60; ++s) {
        hostsim::Spread spread;
        spread.width = 612.0;
        spread.height = 792.0;
        spread.pages.push_back(hostsim::Page{std::to_string(s), 0, 0.0, 0.0});
        long_.addSpread(spread);
    }
    long_.setCurrentPage(1);
    ASSERT_TRUE(sim().newDocument(long_).ok());
    const std::string picture = copy("rgb.tif", "a.tif");
    struct Case {
        int page;
        SpreadPoint at;
    };
    for (const Case& c : {Case{1, {1, 400, 300}}, Case{30, {30, 700, 20}}, Case{43, {43, 500, 250}},
                          Case{59, {59, 650, 480}}, Case{43, {44, 40, 30}}, Case{59, {60, 300, 100}}}) {
        ASSERT_TRUE(sim().gotoPage(c.page));
        const auto before = boxIds();
        ASSERT_TRUE(dropFiles({picture}, c.at)) << c.at.spread;
        const auto made = madeSince(before);
        ASSERT_EQ(made.size(), 1U) << c.at.spread;
        EXPECT_EQ(box(made[0]).spread(), c.at.spread) << "viewing page " << c.page;
        EXPECT_EQ(box(made[0]).bounds().top, c.at.v) << c.at.spread;
        EXPECT_EQ(box(made[0]).bounds().left, c.at.h) << c.at.spread;
    }
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(DropTest, BelowTheLastSpreadNothingIsMade) {
    startOrFail();
    ASSERT_TRUE(sim().newDocument(spreadsDocument(1)).ok());
    const auto before = boxIds();
    clearAlerts();
    sim().drop({PasteboardItem::file(copy("rgb.tif", "a.tif"))}, contentPixel(30, 700));
    EXPECT_EQ(boxIds(), before);
    EXPECT_TRUE(alerts().empty());
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(DropTest, OfSeveralFilesOnlyTheFirstIsPlaced) {
    startOrFail();
    openSample();
    const std::string first = copy("cmyk.tif", "first.tif");
    const std::string second = copy("grey.tif", "second.tif");
    const auto before = boxIds();
    EXPECT_TRUE(dropFiles({first, second}, SpreadPoint{1, 500, 100}));
    const auto made = madeSince(before);
    ASSERT_EQ(made.size(), 1U);
    EXPECT_EQ(picturePath(made[0]), first);
}

TEST_F(DropTest, AFileTheHostCannotImportLeavesAnEmptyBoxAndTheHostsAlert) {
    startOrFail();
    openSample();
    const std::string broken = write("broken.tif", "II*\0 this is no TIFF");
    const auto before = boxIds();
    dropFiles({broken}, SpreadPoint{1, 500, 100});
    const auto made = madeSince(before);
    ASSERT_EQ(made.size(), 1U);
    EXPECT_FALSE(box(made[0]).picture());
    ASSERT_EQ(alerts().size(), 1U);
    EXPECT_EQ(alerts()[0].style, desktop::AlertStyle::Stop);
    EXPECT_NE(alerts()[0].message.find("(error "), std::string::npos) << alerts()[0].message;
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

// A name in Latin-1 cannot be kept in the layout file: the host refuses the
// import with its alert, and the document saves as before.
TEST_F(DropTest, AFileNameThatIsNotUtf8IsRefusedAndTheDocumentStillSaves) {
    startOrFail();
    openSample();
    const std::string latin1 = copy("rgb.tif", "caf\xE9.tif");
    const auto before = boxIds();
    dropFiles({latin1}, SpreadPoint{1, 500, 100});
    for (const BoxId id : madeSince(before)) EXPECT_FALSE(box(id).picture());
    ASSERT_EQ(alerts().size(), 1U);
    EXPECT_NE(alerts()[0].message.find("(error -1006)"), std::string::npos) << alerts()[0].message;
    EXPECT_TRUE(sim().save((dir_.path() / "saved.json").string()));
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(DropTest, DragsTheModuleDoesNotTakeLeaveTheDocumentAlone) {
    setPref("DragAndDrop", "0");
    startOrFail();
    openSample();
    const std::string picture = copy("rgb.tif", "a.tif");
    const hostsim::Document original = doc();
    EXPECT_FALSE(dropFiles({picture}, SpreadPoint{1, 500, 100}));
    setPref("DragAndDrop", "1");
    sim().switchIn();
    EXPECT_FALSE(sim().drop({PasteboardItem::text("a caption"), PasteboardItem::file(picture)}, SpreadPoint{1, 500, 100}));
    EXPECT_FALSE(sim().drop({PasteboardItem::fileUrl("file:///no/such/file.tif")}, SpreadPoint{1, 500, 100}));
    EXPECT_FALSE(sim().drop({PasteboardItem::file(picture)}, SpreadPoint{1, 500, 100}, 1 | 2));
    EXPECT_EQ(doc(), original);
    EXPECT_TRUE(alerts().empty());
    EXPECT_TRUE(transcriptHas("drag refused by the module"));
}

TEST_F(DropTest, WithoutTheDataExchangeGroupNothingIsDropped) {
    hostsim::Options options;
    options.withheld.insert("DEA1");
    startOrFail(options);
    openSample();
    const hostsim::Document original = doc();
    EXPECT_FALSE(dropFiles({copy("rgb.tif", "a.tif")}, SpreadPoint{1, 500, 100}));
    EXPECT_EQ(doc(), original);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

// ---- odd input ----------------------------------------------------------------------------------------------

TEST_F(DropTest, NamesWithBlanksPercentSignsAndDecomposedAccentsArriveByteForByte) {
    startOrFail();
    openSample();
    const std::vector<std::string> names = {"my picture 100%.tif", "%41%25 %s.tif", "Cafe\xCC\x81 d\xC3\xA9j\xC3\xA0.tif",
                                            "a#b?c;d.tif"};
    double left = 0;
    for (const std::string& name : names) {
        const std::string path = copy("grey.tif", name);
        const auto before = boxIds();
        left += 110;  // each on empty ground
        ASSERT_TRUE(dropFiles({path}, SpreadPoint{1, 460, left})) << name;
        const auto made = madeSince(before);
        ASSERT_EQ(made.size(), 1U) << name;
        EXPECT_EQ(picturePath(made[0]), path) << name;
    }
    EXPECT_TRUE(alerts().empty());
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(DropTest, LongUrlsArePlacedWhileTheirPathFitsAndRefusedWhenItDoesNot) {
    startOrFail();
    openSample();
    // Percent-encoding triples every byte: a 1,000-byte URL of a short path.
    std::string name(100, '\xC3');
    for (std::size_t i = 1; i < name.size(); i += 2) name[i] = '\xA9';
    const std::string shortPath = copy("grey.tif", "deep/" + name + "/" + name + ".tif");
    std::string url;
    ASSERT_TRUE(desktop::fileUrlFromPath(shortPath, url));
    ASSERT_GE(url.size(), 600U);
    ASSERT_LT(url.size(), 1024U);
    auto before = boxIds();
    clearAlerts();
    EXPECT_TRUE(sim().drop({PasteboardItem::fileUrl(url)}, SpreadPoint{1, 500, 100}));
    ASSERT_EQ(madeSince(before).size(), 1U);
    EXPECT_EQ(picturePath(madeSince(before)[0]), shortPath);

    // A path of more than 511 bytes in a URL of about 1,000: no path, no drop.
    const std::string part(240, 'p');
    const std::string longPath = copy("grey.tif", part + "/" + part + "/" + part + "/" + part + ".tif");
    ASSERT_TRUE(desktop::fileUrlFromPath(longPath, url));
    ASSERT_GE(url.size(), 990U);
    ASSERT_LT(url.size(), 1024U);
    before = boxIds();
    EXPECT_FALSE(sim().drop({PasteboardItem::fileUrl(url)}, SpreadPoint{1, 500, 100}));
    // A URL of 1024 bytes or more is not even read.
    EXPECT_FALSE(sim().drop({PasteboardItem::fileUrl(url + std::string(40, 'x'))}, SpreadPoint{1, 500, 100}));
    EXPECT_EQ(boxIds(), before);
    EXPECT_TRUE(alerts().empty());
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

// ---- folders ------------------------------------------------------------------------------------------------

TEST_F(DropTest, AFolderAnsweredNoChangesNothing) {
    startOrFail();
    openSample();
    copy("cmyk.tif", "rgb.tif");
    const hostsim::Document original = doc();
    answer("No");
    EXPECT_TRUE(dropFiles({files_.string()}, SpreadPoint{1, 500, 100}));
    EXPECT_EQ(alertLines(), std::vector<std::string>{std::string(kSyncQuestion) + " | " + files_.string()});
    EXPECT_EQ(doc(), original);
}

TEST_F(DropTest, AFolderReLinksEveryPictureOfTheSameNameMastersIncluded) {
    startOrFail();
    openSample();
    const std::string head = copy("cmyk.tif", "Masthead.TIF");  // only the case differs
    const std::string photo = copy("grey.tif", "sub/photo.JPG");
    copy("cmyk.tif", "sub/deeper/photo.jpg.bak");
    ASSERT_TRUE(sim().gotoPage(3));
    answer("Yes");
    EXPECT_TRUE(dropFiles({files_.string()}, SpreadPoint{2, 500, 100}));
    EXPECT_EQ(picturePath(kMastheadBox), head);
    EXPECT_EQ(picturePath(kJpegBox), photo);
    EXPECT_EQ(box(kJpegBox).picture()->fileType, hostsim::kFileTIFF) << "the host read the new file";
    EXPECT_EQ(picturePath(kRgbTiffBox), samplePicture("rgb.tif"));
    EXPECT_EQ(doc().currentPage(), 3) << "the page shown before comes back";
    EXPECT_EQ(doc().showMaster(), 0);
    EXPECT_EQ(doc().currentBox(), 0);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(DropTest, WithSubfoldersZeroOnlyTheFolderItselfCounts) {
    setPref("Subfolders", "0");
    startOrFail();
    openSample();
    const std::string top = copy("cmyk.tif", "RGB.tif");
    copy("cmyk.tif", "sub/photo.jpg");
    answer("Yes");
    dropFiles({files_.string()}, SpreadPoint{1, 500, 100});
    EXPECT_EQ(picturePath(kRgbTiffBox), top);
    EXPECT_EQ(picturePath(kJpegBox), samplePicture("photo.jpg"));
}

TEST_F(DropTest, AStoredImageNameFillsAnEmptyPictureBox) {
    startOrFail();
    hostsim::Document made = spreadsDocument(1);
    const BoxId empty = made.addBox(1, hostsim::kBoxPicture, hostsim::Rect{400, 460, 500, 560});
    ASSERT_EQ(made.setSlug(empty, hostsim::SlugKind::box, hostsim::fourCC("BDIC"), "Logo-CMYK.eps"), 0);
    ASSERT_TRUE(sim().newDocument(std::move(made)).ok());
    const std::string logo = copy("logo-cmyk.eps", "logos/logo-cmyk.eps");
    answer("Yes");
    dropFiles({files_.string()}, SpreadPoint{1, 10, 10});
    EXPECT_EQ(picturePath(empty), logo);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

// Pictures placed from a Mac volume carry decomposed names, names typed
// elsewhere composed ones; case differs beyond A-Z too.
TEST_F(DropTest, AFolderReLinksNamesInAnyUnicodeCaseOrForm) {
    startOrFail();
    const std::string composed = copy("cmyk.tif", "\xC3\x84rger.tif");               // "Ärger"
    const std::string decomposed = copy("grey.tif", "Mac/Bu\xCC\x88ro Gro\xCC\x88\xC3\x9F" "e.tif");  // "Büro Größe"
    // "été" twice, composed and decomposed: the one the walk meets first wins.
    const std::string ete = copy("cmyk.tif", "\xC3\xA9t\xC3\xA9.tif");
    const std::string eteDeeper = copy("grey.tif", "later/E\xCC\x81TE\xCC\x81.TIF");
    std::string first;
    for (const auto& entry : fs::recursive_directory_iterator(files_)) {
        if (entry.path() == ete || entry.path() == eteDeeper) {
            first = entry.path().string();
            break;
        }
    }
    const struct {
        std::string oldPath, expected;
    } rows[] = {
        {"/old/\xC3\xA4rger.tif", composed},                                 // "ärger"
        {"/old/A\xCC\x88RGER.TIF", composed},                                // decomposed, in capitals
        {"/old/B\xC3\xBCro Gr\xC3\xB6\xC3\x9F" "e.tif", decomposed},          // composed
        {"/old/B\xC3\x9CRO GR\xC3\x96SSE.TIF", decomposed},                   // capitals, ß as SS
        {"/old/\xC3\x89T\xC3\x89.tif", first},
        {"/old/arger.tif", "/old/arger.tif"},                               // no mark: another name
    };
    hostsim::Document made = spreadsDocument(1);
    std::vector<BoxId> boxes;
    double top = 20;
    for (const auto& row : rows) {
        const BoxId id = made.addBox(1, hostsim::kBoxPicture, hostsim::Rect{top, 20, top + 40, 80});
        hostsim::Picture picture;
        picture.path = row.oldPath;
        made.setPicture(id, picture);
        boxes.push_back(id);
        top += 50;
    }
    ASSERT_TRUE(sim().newDocument(std::move(made)).ok());
    answer("Yes");
    EXPECT_TRUE(dropFiles({files_.string()}, SpreadPoint{1, 10, 10}));
    for (std::size_t i = 0; i < boxes.size(); ++i) EXPECT_EQ(picturePath(boxes[i]), rows[i].expected) << rows[i].oldPath;
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(DropTest, LinkLoopsAndUnreadableSubfoldersInADroppedFolderEndCleanly) {
    startOrFail();
    openSample();
    const std::string rgb = copy("cmyk.tif", "open/rgb.tif");
    copy("grey.tif", "locked/photo.jpg");
    fs::create_directory_symlink(files_, files_ / "open" / "loop");
    fs::create_directory_symlink("..", files_ / "open" / "up");
    ::chmod(dir_.path().c_str(), 0755);
    ::chmod(files_.c_str(), 0755);
    ::chmod((files_ / "open").c_str(), 0755);
    ::chmod(rgb.c_str(), 0644);
    ::chmod((files_ / "locked").c_str(), 0);
    answer("Yes");
    {
        test::WithoutRootPrivileges asUser;
        ASSERT_TRUE(asUser.ok());
        dropFiles({files_.string()}, SpreadPoint{1, 500, 100});
    }
    ::chmod((files_ / "locked").c_str(), 0755);
    EXPECT_EQ(alertLines(), std::vector<std::string>{std::string(kSyncQuestion) + " | " + files_.string()});
    EXPECT_EQ(picturePath(kRgbTiffBox), rgb);
    EXPECT_EQ(picturePath(kJpegBox), samplePicture("photo.jpg"));
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

// ---- the output checks on dropped EPS files -------------------------------------------------------------------

class DroppedEpsTest : public DropTest {
protected:
    void SetUp() override {
        DropTest::SetUp();
        setPref("RGBWarning", "1");
        setPref("EPSWarning", "1");
        startOrFail();
        ASSERT_TRUE(sim().newDocument(hostsim::Document(spreadsDocument(1))).ok());
        // The document's own RGB picture is not what these tests look at.
        doc().removePicture(doc().firstBox(1));
    }

    // Drops the file as a new box, then lets its bytes change on disk (the
    // host keeps the link; the check reads the file as it is at save).
    void place(const std::string& name, const std::string& importedBytes, const std::string& bytesAtSave) {
        const std::string path = write(name, importedBytes);
        const auto before = boxIds();
        // Side by side, each on empty ground.
        ASSERT_TRUE(dropFiles({path}, SpreadPoint{1, 10, 10.0 + 110.0 * static_cast<double>(placed_++)}));
        ASSERT_EQ(madeSince(before).size(), 1U);
        ASSERT_TRUE(box(madeSince(before)[0]).picture()) << name << " was not imported";
        test::writeFile(path, bytesAtSave);
    }

    std::vector<std::string> warningsAtSave() {
        clearAlerts();
        EXPECT_TRUE(sim().save(dir_.file("saved.json"))) << sim().lastError();
        return alertLines();
    }

    std::string path(const std::string& name) { return (files_ / name).string(); }

    int placed_ = 0;
};

TEST_F(DroppedEpsTest, OnlyTheHeaderCommentsCountForProcessColours) {
    const std::string good = eps("%%DocumentProcessColors: Cyan Magenta Yellow Black\n");
    place("header.eps", good, good);
    place("body.eps", good, eps("", "%%DocumentProcessColors: Cyan Magenta Yellow Black\n"));
    place("marks.eps", good, eps("%%MarksAllSeparations: true\n"));
    place("custom.eps", good, eps("%%CMYKCustomColor: 1 0 0 0 (Red)\n"));
    EXPECT_EQ(warningsAtSave(), std::vector<std::string>{std::string(kNoCmyk) + " | " + path("body.eps")});
}

TEST_F(DroppedEpsTest, AProfileAndNoProcessColoursWarnTwiceProfileFirstAndCancelStops) {
    const std::string good = eps("%%DocumentProcessColors: Black\n");
    const std::string profiled = eps("", "%%BeginICCProfile: (sRGB) 1 Hex\n%%EndICCProfile\n");
    place("profiled.eps", good, profiled);
    place("later.eps", good, eps(""));
    EXPECT_EQ(warningsAtSave(),
              (std::vector<std::string>{std::string(kIccProfile) + " | " + path("profiled.eps"),
                                        std::string(kNoCmyk) + " | " + path("profiled.eps"),
                                        std::string(kNoCmyk) + " | " + path("later.eps")}));
    answer("Cancel");
    EXPECT_EQ(warningsAtSave(), std::vector<std::string>{std::string(kIccProfile) + " | " + path("profiled.eps")});
}

TEST_F(DroppedEpsTest, ABinaryHeaderIsSkippedToItsPostScriptPart) {
    const std::string text = eps("%%DocumentProcessColors: Cyan\n");
    place("binary.eps", binaryEPS(30, text), binaryEPS(30, text));
    // The same bytes with a header that points past the start of the
    // comment: what lies before the offset is not searched.
    std::string shifted = binaryEPS(30, text);
    shifted[4] = static_cast<char>(30 + text.find("%%DocumentProcessColors") + 2);
    place("shifted.eps", binaryEPS(30, text), shifted);
    EXPECT_EQ(warningsAtSave(), std::vector<std::string>{std::string(kNoCmyk) + " | " + path("shifted.eps")});
}

TEST_F(DroppedEpsTest, OnlyTheFirst65535BytesAreSearched) {
    const std::string good = eps("%%DocumentProcessColors: Cyan\n");
    const std::string prefix = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 60 40\n";
    const std::string inside = prefix + std::string(65535 - prefix.size() - 25, '%') + "\n%%MarksAllSeparations:\n";
    const std::string outside = prefix + std::string(65535 - prefix.size(), '%') + "\n%%MarksAllSeparations:\n";
    ASSERT_LE(inside.find("%%MarksAllSeparations") + 21, 65535U);
    place("inside.eps", good, inside + "%%EndComments\n");
    place("outside.eps", good, outside + "%%EndComments\n");
    EXPECT_EQ(warningsAtSave(), std::vector<std::string>{std::string(kNoCmyk) + " | " + path("outside.eps")});
}

TEST_F(DroppedEpsTest, EmptyTruncatedAndOverlongEpsFilesWarnAndNeverCrash) {
    const std::string good = eps("%%DocumentProcessColors: Cyan\n");
    place("empty.eps", good, "");
    place("cut.eps", good, binaryEPS(30, good).substr(0, 10));
    place("past.eps", good, binaryEPS(0xFFFFFFF0U, "").substr(0, 30) + good);
    place("fine.eps", good, good);
    EXPECT_EQ(warningsAtSave(), (std::vector<std::string>{std::string(kNoCmyk) + " | " + path("empty.eps"),
                                                          std::string(kNoCmyk) + " | " + path("cut.eps"),
                                                          std::string(kNoCmyk) + " | " + path("past.eps")}));
    // With only the profile check on, none of them has a profile to find.
    setPref("RGBWarning", "0");
    sim().switchIn();
    EXPECT_TRUE(warningsAtSave().empty());
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(DroppedEpsTest, AnEpsThatCannotBeReadPasses) {
    const std::string good = eps("%%DocumentProcessColors: Cyan\n");
    place("locked.eps", good, eps(""));
    ::chmod(dir_.path().c_str(), 0755);
    ::chmod(files_.c_str(), 0755);
    ::chmod(path("locked.eps").c_str(), 0);
    std::vector<std::string> warnings;
    {
        test::WithoutRootPrivileges asUser;
        ASSERT_TRUE(asUser.ok());
        clearAlerts();
        sim().save(dir_.file("saved.json"));
        warnings = alertLines();
    }
    EXPECT_TRUE(warnings.empty()) << ::testing::PrintToString(warnings);
}

// ---- the session language -------------------------------------------------------------------------------

TEST(DropSessionLanguage, DropsTakeScreenPixelsAndTheViewScrolls) {
    hostsim::session::ParseError error;
    const auto drop = hostsim::session::parseLine("drop \"a b.tif\" c.tif at px 216,164 effect 5 cmd", 1, error);
    ASSERT_TRUE(drop) << error.message;
    EXPECT_EQ(drop->verb, hostsim::session::Verb::Drop);
    EXPECT_TRUE(drop->point.screen);
    EXPECT_EQ(drop->point.x, 216);
    EXPECT_EQ(drop->point.y, 164);
    EXPECT_EQ(drop->dropItems.size(), 2U);
    EXPECT_EQ(drop->number, 5);
    const auto scroll = hostsim::session::parseLine("scroll -20,300", 2, error);
    ASSERT_TRUE(scroll) << error.message;
    EXPECT_EQ(scroll->verb, hostsim::session::Verb::Scroll);
    EXPECT_EQ(scroll->point.x, -20);
    EXPECT_EQ(scroll->point.y, 300);
    EXPECT_FALSE(hostsim::session::parseLine("scroll 20", 3, error));
}

}  // namespace
}  // namespace lumbrel::integration

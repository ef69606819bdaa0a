// The function groups over the layout model, called as the module calls
// them.
#include "host_fixture.h"
#include "hostsim/picture_files.h"

#include "hostsim/host/groups/groups.h"
#include "host/xt_files.h"
#include "host/xt_groups.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace hostsim::test {
namespace {

constexpr OSType kIdentifierKey = XT_SLUG_IDENTIFIER;

class GroupTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        sim = start();
        ASSERT_TRUE(sim->started());
        t = &fake.tables();
    }

    XTDocID openTest(Document doc = testDocument()) {
        const OpenResult opened = sim->newDocument(std::move(doc));
        EXPECT_TRUE(opened.ok()) << opened.message;
        return opened.doc;
    }

    // A 144 x 72 point EPS picture.
    std::string writeEps(const std::string& name) {
        const std::string path = tmp.file(name);
        lumbrel::test::writeFile(path, "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 144 72\n%%EndComments\nshowpage\n");
        return path;
    }

    std::unique_ptr<Simulator> sim;
    FakeTables* t = nullptr;
};

TEST_F(GroupTest, BoxesComeInChainOrderAndTheChainEndsInZero) {
    openTest();
    const XTBoxID picture = t->box.firstBox(1);
    const XTBoxID text = t->box.nextBox(picture);
    ASSERT_NE(picture, 0);
    ASSERT_NE(text, 0);
    EXPECT_EQ(t->box.nextBox(text), 0);
    EXPECT_EQ(t->box.nextBox(0), 0);
    EXPECT_EQ(t->box.firstBox(99), 0);
    EXPECT_EQ(t->box.boxKind(picture), XT_BOX_PICTURE);
    EXPECT_EQ(t->box.boxKind(text), XT_BOX_TEXT);
    EXPECT_EQ(t->box.isPictureBox(picture), 1);
    EXPECT_EQ(t->box.isPictureBox(text), 0);
    EXPECT_EQ(t->box.isPictureBox(0), 0);
    EXPECT_EQ(t->box.isGroupBox(picture), 0);
    EXPECT_EQ(t->box.boxSpread(t->box.firstBox(3)), 3);
    XTFixedRect bounds{};
    ASSERT_EQ(t->box.getBounds(picture, &bounds), 0);
    EXPECT_EQ(bounds.top, 100 << 16);
    EXPECT_EQ(bounds.left, 100 << 16);
    EXPECT_EQ(bounds.bottom, 200 << 16);
    EXPECT_EQ(bounds.right, 300 << 16);
    EXPECT_EQ(t->box.getBounds(12345, &bounds), XT_PARAMERR);

    EXPECT_EQ(t->box.curBox(), 0);
    t->box.setCurBox(text);
    EXPECT_EQ(t->box.curBox(), text);
    EXPECT_EQ(sim->current()->selection(), std::vector<BoxId>{text});
    t->box.deselectAll();
    EXPECT_EQ(t->box.curBox(), 0);
    EXPECT_TRUE(sim->current()->selection().empty());
    EXPECT_TRUE(sim->violations().empty()) << ::testing::PrintToString(messages(*sim));
}

TEST_F(GroupTest, PicturesAreReadFromTheRealFileAndTheirLinkIsWatched) {
    openTest();
    const XTBoxID box = t->box.firstBox(1);
    const std::string path = writeEps("art.eps");
    ASSERT_EQ(t->import.importPicture(box, path.c_str()), 0);
    EXPECT_TRUE(transcriptHas("import \"" + path + "\" into box " + std::to_string(box) + ": OK"));
    EXPECT_EQ(sim->current()->changeState, kChangeStateChanged);

    char buffer[512];
    EXPECT_EQ(t->picture.picturePath(box, buffer, sizeof buffer), static_cast<std::int32_t>(path.size()));
    EXPECT_EQ(std::string(buffer), path);
    char small[5];
    EXPECT_EQ(t->picture.picturePath(box, small, sizeof small), static_cast<std::int32_t>(path.size()));
    EXPECT_EQ(std::string(small), path.substr(0, 4));
    EXPECT_EQ(t->picture.colorSpace(box), XT_CS_CMYK);
    EXPECT_DOUBLE_EQ(t->picture.resolution(box), 72.0);
    XTFixedRect bounds{};
    ASSERT_EQ(t->picture.pictureBounds(box, &bounds), 0);
    EXPECT_EQ(bounds.bottom, 72 << 16);
    EXPECT_EQ(bounds.right, 144 << 16);

    char status[32];
    EXPECT_EQ(t->picture.status(box, status, sizeof status), XT_STATUS_OK);
    EXPECT_STREQ(status, "OK");
    {
        std::ofstream more(path, std::ios::app);
        more << "% changed outside\n";
    }
    EXPECT_EQ(t->picture.status(box, status, sizeof status), XT_STATUS_MODIFIED);
    EXPECT_STREQ(status, "Modified");
    ASSERT_EQ(t->picture.updatePicture(box, 0), 0);
    EXPECT_EQ(t->picture.status(box, status, sizeof status), XT_STATUS_OK);
    std::filesystem::remove(path);
    EXPECT_EQ(t->picture.status(box, status, sizeof status), XT_STATUS_MISSING);
    EXPECT_STREQ(status, "Missing");

    // The picture fills the 200 x 100 box proportionally: scale 100/72.
    ASSERT_EQ(t->picture.fitPicture(box, XT_FIT_PROPORTIONAL, 0), 0);
    EXPECT_NEAR(sim->current()->findBox(box)->picture()->scaleV, 100.0 / 72.0, 1e-9);
    EXPECT_TRUE(sim->violations().empty()) << ::testing::PrintToString(messages(*sim));
}

TEST_F(GroupTest, ImportFailuresAnswerTheHostsCodes) {
    openTest();
    const XTBoxID picture = t->box.firstBox(1);
    const XTBoxID text = t->box.nextBox(picture);
    const std::string missing = tmp.file("gone.tif");
    EXPECT_EQ(t->import.importPicture(picture, missing.c_str()), XT_FNF);
    EXPECT_EQ(t->import.importPicture(text, writeEps("a.eps").c_str()), XT_PARAMERR);
    lumbrel::test::writeFile(tmp.file("empty.tif"), "");
    EXPECT_NE(t->import.importPicture(picture, tmp.file("empty.tif").c_str()), 0);
    EXPECT_FALSE(sim->current()->findBox(picture)->picture().has_value());
    char status[8] = "x";
    EXPECT_EQ(t->picture.status(picture, status, sizeof status), -1);
    EXPECT_STREQ(status, "");
    EXPECT_EQ(t->picture.picturePath(picture, status, sizeof status), 0);
}

TEST_F(GroupTest, SlugsAreBinarySafeAndMarkTheDocumentChanged) {
    openTest();
    const XTBoxID picture = t->box.firstBox(1);
    const XTBoxID text = t->box.nextBox(picture);
    const char bytes[] = {'a', '\0', 'b', '\xFF'};
    const XTHandle data = t->memory.newHandle(4);
    std::memcpy(t->memory.handleData(data), bytes, 4);
    ASSERT_EQ(t->slug.setSlug(picture, XT_SLUG_PICTURE, kIdentifierKey, data), 0);
    EXPECT_EQ(sim->current()->changeState, kChangeStateChanged);
    EXPECT_EQ(*sim->current()->slug(picture, SlugKind::picture, kIdentifierKey), std::string(bytes, 4));

    char two[2] = {};
    EXPECT_EQ(t->slug.getSlugData(picture, XT_SLUG_PICTURE, kIdentifierKey, two, 2), 4);
    EXPECT_EQ(std::string(two, 2), std::string("a\0", 2));
    EXPECT_EQ(t->slug.getSlugData(picture, XT_SLUG_PICTURE, kIdentifierKey, nullptr, 0), 4);
    EXPECT_EQ(t->slug.getSlugData(picture, XT_SLUG_BOX, kIdentifierKey, two, 2), -1);

    const XTHandle copy = t->slug.getSlug(picture, XT_SLUG_PICTURE, kIdentifierKey);
    ASSERT_NE(copy, 0);
    EXPECT_EQ(t->memory.handleSize(copy), 4);
    EXPECT_EQ(std::memcmp(t->memory.handleData(copy), bytes, 4), 0);

    // Owner 0 is the current box; picture slugs need a picture box.
    t->box.setCurBox(text);
    EXPECT_EQ(t->slug.setSlug(0, XT_SLUG_BOX, XT_SLUG_IMAGENAME, data), 0);
    EXPECT_NE(sim->current()->slug(text, SlugKind::box, XT_SLUG_IMAGENAME), nullptr);
    EXPECT_EQ(t->slug.setSlug(0, XT_SLUG_PICTURE, kIdentifierKey, data), XT_PARAMERR);
    EXPECT_EQ(t->slug.setSlug(picture, 7, kIdentifierKey, data), XT_PARAMERR);
    EXPECT_EQ(messages(*sim), std::vector<std::string>{"xtslug.setSlug got the slug kind 7 (0 or 1)"});
    t->memory.disposeHandle(data);
    t->memory.disposeHandle(copy);
    EXPECT_EQ(sim->liveHandles(), 0U);
}

TEST_F(GroupTest, BoxRecordsBecomeBoxesAtTheEndOfTheChain) {
    const XTDocID doc = openTest();
    const XTHandle record = t->boxRecord.newBoxRecord(doc, XT_BOX_PICTURE, XT_SHAPE_RECT);
    ASSERT_NE(record, 0);
    const XTFixedRect bounds{10 << 16, 20 << 16, 110 << 16, 120 << 16};
    t->boxRecord.setRecordBounds(record, &bounds);
    const XTBoxID box = t->boxRecord.installBox(doc, 2, record);
    ASSERT_NE(box, 0);
    t->boxRecord.disposeBoxRecord(record);
    const std::vector<BoxId>& chain = *sim->current()->chain(2);
    EXPECT_EQ(chain.back(), box);
    EXPECT_EQ(sim->current()->findBox(box)->bounds(), (Rect{10, 20, 110, 120}));
    EXPECT_TRUE(transcriptHas("box " + std::to_string(box) + " made (picture) on spread 2 at [10, 20, 110, 120]"));
    EXPECT_EQ(t->boxRecord.installBox(doc, 2, record), 0);
    EXPECT_NE(messages(*sim).back().find("xtxtbox.installBox got handle"), std::string::npos);
    EXPECT_EQ(t->boxRecord.newBoxRecord(doc, XT_BOX_GROUP, XT_SHAPE_RECT), 0);
    EXPECT_EQ(messages(*sim).back(), "xtxtbox.newBoxRecord got box kind 9 (3, 4 or 5)");
}

TEST_F(GroupTest, GroupMembersComeInAHostHandle) {
    Document doc = testDocument();
    const BoxId a = doc.firstBox(1);
    const BoxId b = doc.nextBox(a);
    const BoxId group = doc.groupBoxes({a, b});
    ASSERT_NE(group, 0);
    openTest(std::move(doc));
    EXPECT_EQ(t->box.isGroupBox(group), 1);
    std::int32_t count = -1;
    const XTHandle members = t->group.groupMembers(group, &count);
    ASSERT_NE(members, 0);
    ASSERT_EQ(count, 2);
    const auto* ids = static_cast<const XTBoxID*>(t->memory.handleData(members));
    EXPECT_EQ(ids[0], a);
    EXPECT_EQ(ids[1], b);
    t->memory.disposeHandle(members);
    EXPECT_EQ(t->group.groupMembers(a, &count), 0);
    EXPECT_EQ(count, 0);
}

TEST_F(GroupTest, PagesSpreadsAndMasters) {
    Document doc;
    doc.projectName = "Masters";
    Spread master;
    master.name = "A-Master";
    master.width = 612;
    master.height = 792;
    master.pages.push_back(Page{"A", 0, 0, 0});
    ASSERT_EQ(doc.addMasterSpread(master), -1);
    for (int i = 0; i < 2; ++i) {
        Spread spread;
        spread.width = 1224;
        spread.height = 792;
        spread.pages.push_back(Page{std::to_string(2 * i + 1), 1, 0, 0});
        spread.pages.push_back(Page{std::to_string(2 * i + 2), 1, 612, 0});
        doc.addSpread(spread);
    }
    doc.setCurrentPage(3);
    openTest(std::move(doc));
    EXPECT_EQ(t->page.numPages(), 4);
    EXPECT_EQ(t->page.numMasterPages(), 1);
    EXPECT_EQ(t->page.curPage(), 3);
    EXPECT_EQ(t->spread.curSpread(), 2);
    EXPECT_EQ(t->page.pageToSpread(0), 2);
    EXPECT_EQ(t->page.pageToSpread(2), 1);
    EXPECT_EQ(t->page.seqToPage(5), 4);
    EXPECT_EQ(t->page.seqToPage(1), 0);
    char name[8];
    EXPECT_EQ(t->page.pageName(4, name, sizeof name), 1);
    EXPECT_STREQ(name, "4");
    XTFixedRect rect{};
    ASSERT_EQ(t->page.pageRectInSpread(4, &rect), 0);
    EXPECT_EQ(rect.left, 612 << 16);
    EXPECT_EQ(rect.right, 1224 << 16);
    EXPECT_EQ(t->page.pageWidth(), 612 << 16);
    EXPECT_EQ(t->page.pageLength(), 792 << 16);
    ASSERT_EQ(t->spread.spreadBounds(1, &rect), 0);
    EXPECT_EQ(rect.right, 1224 << 16);
    EXPECT_EQ(t->spread.spreadBounds(3, &rect), XT_PARAMERR);
    EXPECT_EQ(t->spread.numSpreads(), 2);

    EXPECT_EQ(t->page.gotoPage(1), 1);
    EXPECT_EQ(t->spread.curSpread(), 1);
    EXPECT_EQ(t->page.gotoPage(9), 0);
    EXPECT_EQ(t->master.showingMaster(), 0);
    EXPECT_EQ(t->master.gotoMaster(1), 1);
    EXPECT_EQ(t->master.showingMaster(), 1);
    EXPECT_EQ(t->spread.curSpread(), -1);
    EXPECT_EQ(t->master.gotoMaster(2), 0);
    EXPECT_EQ(t->page.gotoPage(2), 1);
    EXPECT_EQ(t->master.showingMaster(), 0);
    EXPECT_TRUE(sim->violations().empty()) << ::testing::PrintToString(messages(*sim));
}

TEST_F(GroupTest, TextCopiesAnswerTheWholeLengthAndNeverSplitACharacter) {
    ASSERT_TRUE(sim->newDocument(testDocument(), "\xC3\x84rger").ok());  // "Ärger"
    char buffer[16];
    EXPECT_EQ(t->project.projectName(buffer, 2), 6);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(t->project.projectName(buffer, 3), 6);
    EXPECT_STREQ(buffer, "\xC3\x84");
    EXPECT_EQ(t->project.projectName(buffer, sizeof buffer), 6);
    EXPECT_STREQ(buffer, "\xC3\x84rger");
    EXPECT_EQ(t->doc.docPath(t->doc.curDocID(), buffer, sizeof buffer), 0);  // never saved
    EXPECT_EQ(t->doc.isLibrary(t->doc.curDocID()), 0);
    EXPECT_EQ(t->doc.dirtyFlag(), kChangeStateUnchanged);
    t->doc.setDirtyFlag(XT_DIRTY_CHANGED);
    EXPECT_EQ(sim->current()->changeState, kChangeStateChanged);
    t->doc.setDirtyFlag(9);
    EXPECT_EQ(messages(*sim), std::vector<std::string>{"xtdoc.setDirtyFlag got the change state 9 (0 to 3)"});
}

TEST_F(GroupTest, SystemFontsAndFixedRectangles) {
    EXPECT_EQ(t->system.hostVersion(), kHostVersion);
    EXPECT_EQ(t->system.currentTool(), XT_TOOL_CONTENT);
    sim->setTool(3);
    EXPECT_EQ(t->system.currentTool(), 3);
    const std::uint32_t before = t->system.ticks();
    sim->idle(3);
    EXPECT_EQ(t->system.ticks(), before + 3);

    EXPECT_NE(t->font.fontIDFromName("helvetica"), 0);
    EXPECT_EQ(t->font.fontIDFromName("No Such Font"), 0);
    XTFontDesc desc{};
    desc.fontID = t->font.fontIDFromName("Helvetica");
    desc.hSize = desc.vSize = 10 << 16;
    const XTFontInst font = t->font.newFontInstance(&desc);
    EXPECT_GT(t->font.charWidth(font, 'W'), t->font.charWidth(font, 'i'));  // real metrics, not a fixed width
    t->font.disposeFontInstance(font);
    t->font.disposeFontInstance(font);
    EXPECT_EQ(messages(*sim), std::vector<std::string>{"xtfont.disposeFontInstance got a font instance that is not live"});

    const XTFixedRect a{0, 0, 10 << 16, 10 << 16};
    const XTFixedRect touching{10 << 16, 10 << 16, 20 << 16, 20 << 16};
    const XTFixedRect apart{11 << 16, 11 << 16, 20 << 16, 20 << 16};
    EXPECT_EQ(t->fixedRect.rectsMeet(&a, &touching), 1);
    EXPECT_EQ(t->fixedRect.rectsMeet(&a, &apart), 0);
    const XTFixedPoint edge{10 << 16, 0};
    EXPECT_EQ(t->fixedRect.pointInRect(&edge, &a), 1);
}

TEST_F(GroupTest, PdfModuleKeepsOptionsAndReportsPagesFromZero) {
    openTest();
    const XTBoxID box = t->box.firstBox(1);
    ASSERT_NE(t->pdf, nullptr);
    XTPDFOptions options{};
    EXPECT_EQ(t->pdf->getOptions(box, &options), XT_PARAMERR);  // no PDF placed
    Picture pdf;
    pdf.path = "/nowhere/three.pdf";
    pdf.fileType = kFilePDF;
    pdf.bounds = Rect{0, 0, 792, 612};
    pdf.pdf = PdfInfo{{PdfPage{}, PdfPage{}, PdfPage{}}, 3, PdfBox::trim};
    ASSERT_EQ(sim->current()->setPicture(box, pdf), 0);
    ASSERT_EQ(t->pdf->getOptions(box, &options), 0);
    EXPECT_EQ(options.page, 2);
    EXPECT_EQ(options.pageBox, static_cast<std::int16_t>(PdfBox::trim));

    const XTPDFOptions next{0, 1, {0, 0}};
    EXPECT_EQ(t->pdf->setOptions(&next), 0);
    EXPECT_EQ(sim->runtime().importOptions.pdfPage, 1);
    EXPECT_EQ(sim->runtime().importOptions.pdfBox, PdfBox::crop);
    const XTPDFOptions bad{2, 9, {0, 0}};
    EXPECT_EQ(t->pdf->setOptions(&bad), XT_PARAMERR);
    EXPECT_EQ(t->pdf->pageCount(nullptr), 0);
    EXPECT_EQ(messages(*sim).back(), "XPDF.pageCount got a stream that is not open");
}

std::string svgRect(double width, double height) {
    return "width=\"" + pointsText(width) + "\" height=\"" + pointsText(height) + "\" fill=\"#d2d2d2\"";
}

bool hasLine(const std::string& text, const std::string& part, const std::string& ending) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.find(part) != std::string::npos && line.size() >= ending.size() &&
            line.compare(line.size() - ending.size(), ending.size(), ending) == 0) {
            return true;
        }
    }
    return false;
}

TEST_F(GroupTest, AnImportedPdfPageTakesTheSizeOfItsChosenPageBoxOnScreenAndInPrint) {
    Document doc = testDocument(1);
    // 800 x 792 points: every page box of the test PDF fits whole.
    const BoxId big = doc.addBox(1, kBoxPicture, Rect{0, 0, 792, 800});
    openTest(std::move(doc));
    const std::string pdf = tmp.file("three.pdf");
    lumbrel::test::writeFile(pdf, threePagePdf());
    struct Case {
        std::int16_t page;  // as set, counted from 1
        PdfBox box;
        double width, height;
    };
    const Case cases[] = {
        {1, PdfBox::media, 612, 792}, {1, PdfBox::crop, 540, 720},
        {2, PdfBox::trim, 570, 370},  // turned by 90 degrees: width and height swap
        {2, PdfBox::bleed, 700, 500}, {3, PdfBox::art, 300, 400}, {3, PdfBox::crop, 280, 380},
    };
    for (const Case& c : cases) {
        const std::string name = std::to_string(c.page) + " " + pdfBoxName(c.box);
        const XTPDFOptions options{c.page, static_cast<std::int16_t>(c.box), {0, 0}};
        ASSERT_EQ(t->pdf->setOptions(&options), 0) << name;
        ASSERT_EQ(t->import.importPicture(static_cast<XTBoxID>(big), pdf.c_str()), 0) << name;
        XTFixedRect bounds{};
        ASSERT_EQ(t->picture.pictureBounds(static_cast<XTBoxID>(big), &bounds), 0) << name;
        EXPECT_EQ(bounds.right, static_cast<Fixed>(c.width * 65536)) << name;
        EXPECT_EQ(bounds.bottom, static_cast<Fixed>(c.height * 65536)) << name;
        XTPDFOptions back{};
        ASSERT_EQ(t->pdf->getOptions(static_cast<XTBoxID>(big), &back), 0) << name;
        EXPECT_EQ(back.page, c.page - 1) << name;
        EXPECT_EQ(back.pageBox, options.pageBox) << name;

        const std::string svg = tmp.file("view.svg");
        ASSERT_TRUE(sim->renderView(svg)) << name;
        EXPECT_NE(lumbrel::test::readFile(svg).find(svgRect(c.width, c.height)), std::string::npos) << name;
        const std::string ps = tmp.file("out.ps");
        PrintRun run;
        run.path = ps;
        ASSERT_TRUE(sim->print(run).ok) << name;
        EXPECT_TRUE(hasLine(lumbrel::test::readFile(ps), "0 0 " + pointsText(c.width) + " " + pointsText(c.height) + " ",
                            " hsfill"))
            << name;
    }

    // A page the PDF does not have fails and leaves the picture as it was.
    const XTPDFOptions four{4, 0, {0, 0}};
    ASSERT_EQ(t->pdf->setOptions(&four), 0);
    EXPECT_NE(t->import.importPicture(static_cast<XTBoxID>(big), pdf.c_str()), 0);
    XTPDFOptions kept{};
    ASSERT_EQ(t->pdf->getOptions(static_cast<XTBoxID>(big), &kept), 0);
    EXPECT_EQ(kept.page, 2);
    EXPECT_EQ(kept.pageBox, static_cast<std::int16_t>(PdfBox::crop));

    // Updating re-reads the changed file with the page and box the picture was placed with, not the next import's.
    {
        std::ofstream more(pdf, std::ios::app);
        more << "% changed outside\n";
    }
    char status[32];
    EXPECT_EQ(t->picture.status(static_cast<XTBoxID>(big), status, sizeof status), XT_STATUS_MODIFIED);
    ASSERT_EQ(t->picture.updatePicture(static_cast<XTBoxID>(big), 0), 0);
    EXPECT_EQ(t->picture.status(static_cast<XTBoxID>(big), status, sizeof status), XT_STATUS_OK);
    XTFixedRect bounds{};
    ASSERT_EQ(t->picture.pictureBounds(static_cast<XTBoxID>(big), &bounds), 0);
    EXPECT_EQ(bounds.right, 280 << 16);
    EXPECT_EQ(bounds.bottom, 380 << 16);
    EXPECT_TRUE(sim->violations().empty()) << ::testing::PrintToString(messages(*sim));
}

// A read stream on `path` through a file object that is disposed at once.
XTStreamRef openRead(const FakeTables& t, const std::string& path) {
    XTFileRef file = t.file.create();
    EXPECT_NE(file, nullptr);
    EXPECT_EQ(t.file.setLocation(file, path.c_str()), 0);
    const XTStreamOpenRequest request{sizeof(XTStreamOpenRequest), XT_STREAM_READ, {0, 0, 0, 0, 0, 0, 0}};
    XTStreamRef stream = nullptr;
    EXPECT_EQ(t.file.openStream(file, &request, &stream), 0);
    t.file.dispose(file);
    return stream;
}

TEST_F(GroupTest, StreamsOutliveTheirFileObjectAndThePdfModuleCountsPagesFromThem) {
    const std::string pdf = tmp.file("three.pdf");
    lumbrel::test::writeFile(pdf, threePagePdf());
    XTStreamRef stream = openRead(*t, pdf);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(t->pdf->pageCount(stream), 3);
    EXPECT_EQ(t->pdf->pageCount(stream), 3);  // read from the start every time
    EXPECT_EQ(t->file.closeStream(stream), 0);
    EXPECT_TRUE(sim->violations().empty()) << ::testing::PrintToString(messages(*sim));

    // Not a PDF, or a PDF cut short: no pages, and no misuse either.
    const std::string cut = tmp.file("cut.pdf");
    lumbrel::test::writeFile(cut, threePagePdf().substr(0, 200));
    for (const std::string& path : {writeEps("not.pdf"), cut}) {
        XTStreamRef other = openRead(*t, path);
        EXPECT_EQ(t->pdf->pageCount(other), 0) << path;
        EXPECT_EQ(t->file.closeStream(other), 0);
    }
    EXPECT_TRUE(sim->violations().empty()) << ::testing::PrintToString(messages(*sim));

    EXPECT_EQ(t->pdf->pageCount(stream), 0);
    EXPECT_EQ(messages(*sim).back(), "XPDF.pageCount got a stream that is not open");
    EXPECT_EQ(t->file.closeStream(stream), XT_PARAMERR);
    EXPECT_EQ(messages(*sim).back(), "xtfile.closeStream got a stream that is not open");
}

TEST_F(GroupTest, StreamsAreOpenedForReadingOnlyWithAWellFormedRequest) {
    const std::string pdf = tmp.file("one.pdf");
    lumbrel::test::writeFile(pdf, threePagePdf());
    XTFileRef file = t->file.create();
    ASSERT_EQ(t->file.setLocation(file, pdf.c_str()), 0);
    struct Case {
        XTStreamOpenRequest request;
        const char* violation;
    };
    const Case cases[] = {
        {{16, XT_STREAM_READ, {}}, "xtfile.openStream got a request of size 16 instead of 18"},
        {{18, 2, {}}, "xtfile.openStream got the access 2, which is not read"},
        {{18, XT_STREAM_READ, {0, 0, 0, 1, 0, 0, 0}}, "xtfile.openStream got a request whose reserved words are not 0"},
    };
    for (const Case& c : cases) {
        XTStreamRef stream = reinterpret_cast<XTStreamRef>(&file);  // overwritten with 0
        EXPECT_EQ(t->file.openStream(file, &c.request, &stream), XT_PARAMERR) << c.violation;
        EXPECT_EQ(stream, nullptr) << c.violation;
        EXPECT_EQ(messages(*sim).back(), c.violation);
    }
    XTStreamRef stream = nullptr;
    EXPECT_EQ(t->file.openStream(file, nullptr, &stream), XT_PARAMERR);
    EXPECT_EQ(messages(*sim).back(), "xtfile.openStream got no request");
    const std::size_t misuses = sim->violations().size();

    // Places that cannot be read are errors of the file system, not misuse.
    const XTStreamOpenRequest read{18, XT_STREAM_READ, {}};
    const std::string longPath(5000, 'a');
    EXPECT_EQ(t->file.setLocation(file, ""), XT_PARAMERR);
    EXPECT_EQ(t->file.setLocation(file, longPath.c_str()), XT_PARAMERR);
    const std::pair<std::string, XTError> places[] = {
        {tmp.file("missing.pdf"), XTError{XT_FNF}}, {tmp.file("missing/dir/x.pdf"), XTError{XT_FNF}},
        {tmp.path().string(), XTError{kErrIO}}};
    for (const auto& [place, error] : places) {
        ASSERT_EQ(t->file.setLocation(file, place.c_str()), 0);
        EXPECT_EQ(t->file.openStream(file, &read, &stream), error) << place;
        EXPECT_EQ(stream, nullptr) << place;
    }
    EXPECT_EQ(sim->violations().size(), misuses) << ::testing::PrintToString(messages(*sim));

    t->file.dispose(file);
    EXPECT_EQ(t->file.openStream(file, &read, &stream), XT_PARAMERR);
    EXPECT_EQ(messages(*sim).back(), "xtfile.openStream got a file object that is not live");
    XTFileRef blank = t->file.create();
    EXPECT_EQ(t->file.openStream(blank, &read, &stream), XT_PARAMERR);
    EXPECT_EQ(messages(*sim).back(), "xtfile.openStream got a file object without a location");
    t->file.dispose(blank);
}

// The module's wrappers make requests the host accepts, and a host without
// the group answers an error instead of a crash.
TEST_F(GroupTest, TheModulesStreamWrappersOpenWhatTheHostAccepts) {
    const std::string pdf = tmp.file("wrapped.pdf");
    lumbrel::test::writeFile(pdf, threePagePdf());
    lumbrel::gXtFile = fileGroupTable();
    XTStreamRef stream = nullptr;
    ASSERT_EQ(lumbrel::XTOpenReadStreamAt(pdf.c_str(), &stream), XT_NOERR);
    EXPECT_EQ(t->pdf->pageCount(stream), 3);
    EXPECT_EQ(lumbrel::XTCloseStream(stream), XT_NOERR);
    EXPECT_EQ(lumbrel::XTOpenReadStreamAt(tmp.file("none.pdf").c_str(), &stream), XT_FNF);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(lumbrel::XTOpenReadStreamAt("", &stream), XT_PARAMERR);
    EXPECT_EQ(lumbrel::XTCloseStream(nullptr), XT_NOERR);
    EXPECT_TRUE(sim->violations().empty()) << ::testing::PrintToString(messages(*sim));
    sim->quit();
    EXPECT_TRUE(sim->violations().empty()) << ::testing::PrintToString(messages(*sim));  // nothing left open

    lumbrel::gXtFile = XTFileGroup{};
    stream = reinterpret_cast<XTStreamRef>(&stream);
    EXPECT_EQ(lumbrel::XTOpenReadStreamAt(pdf.c_str(), &stream), XT_PARAMERR);
    EXPECT_EQ(stream, nullptr);
    EXPECT_EQ(lumbrel::XTCreateFile(), nullptr);
}

TEST_F(GroupTest, FileObjectsAndStreamsLeftAtQuitAreReported) {
    const std::string pdf = tmp.file("kept.pdf");
    lumbrel::test::writeFile(pdf, threePagePdf());
    ASSERT_NE(openRead(*t, pdf), nullptr);
    ASSERT_NE(openRead(*t, pdf), nullptr);
    ASSERT_NE(t->file.create(), nullptr);
    ASSERT_TRUE(sim->violations().empty()) << ::testing::PrintToString(messages(*sim));
    sim->quit();
    const std::vector<std::string> expected{"xtfile: 1 file object(s) never disposed at quit",
                                            "xtfile: 2 stream(s) never closed at quit"};
    EXPECT_EQ(messages(*sim), expected);
}

}  // namespace
}  // namespace hostsim::test


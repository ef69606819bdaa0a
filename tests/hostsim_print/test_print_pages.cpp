// Which pages a print job prints and which boxes each page draws.
#include "hostsim/print/print_pages.h"

#include <gtest/gtest.h>

namespace hostsim::print {
namespace {

// A master spread with one box, then a single right page and a spread of two.
Document facingDocument() {
    Document doc;
    doc.pageWidth = 400.0;
    doc.pageHeight = 600.0;
    Spread master;
    master.width = 800.0;
    master.height = 600.0;
    master.pages = {Page{"A1", 0, 0.0, 0.0}, Page{"A2", 0, 400.0, 0.0}};
    doc.addMasterSpread(master);
    Spread first;
    first.width = 800.0;
    first.height = 600.0;
    first.pages = {Page{"1", 1, 400.0, 0.0}};
    doc.addSpread(first);
    Spread second = first;
    second.pages = {Page{"2", 1, 0.0, 0.0}, Page{"3", 1, 400.0, 0.0}};
    doc.addSpread(second);
    return doc;
}

TEST(PrintPages, DocumentPagesInSpreadOrderWithTheirRectanglesAndNoMasters) {
    Document doc = facingDocument();
    doc.addBox(-1, kBoxText, Rect{10.0, 10.0, 50.0, 50.0});
    const std::vector<PrintPage> pages = printPages(doc);
    ASSERT_EQ(pages.size(), 3U);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i].number, static_cast<int>(i) + 1);
        EXPECT_TRUE(pages[i].boxes.empty()) << "master items are not printed";
    }
    EXPECT_EQ(pages[0].spread, 1);
    EXPECT_EQ(pages[0].rect, (Rect{0.0, 400.0, 600.0, 800.0}));
    EXPECT_EQ(pages[1].spread, 2);
    EXPECT_EQ(pages[1].rect, (Rect{0.0, 0.0, 600.0, 400.0}));
    EXPECT_EQ(pages[2].rect, (Rect{0.0, 400.0, 600.0, 800.0}));
}

TEST(PrintPages, BoxesGoToEveryPageTheyReachInChainOrder) {
    Document doc = facingDocument();
    const BoxId left = doc.addBox(2, kBoxPicture, Rect{10.0, 10.0, 100.0, 100.0});
    const BoxId across = doc.addBox(2, kBoxText, Rect{10.0, 300.0, 100.0, 500.0});
    const BoxId right = doc.addBox(2, kBoxPicture, Rect{10.0, 500.0, 100.0, 600.0});
    const BoxId touching = doc.addBox(2, kBoxPicture, Rect{10.0, 300.0, 100.0, 400.0});   // ends at the gutter
    const BoxId hairline = doc.addBox(2, kBoxLine, Rect{200.0, 400.0, 300.0, 400.0});     // on the gutter
    const BoxId pasteboard = doc.addBox(2, kBoxPicture, Rect{10.0, -200.0, 100.0, -100.0});
    const BoxId below = doc.addBox(2, kBoxPicture, Rect{600.0, 10.0, 700.0, 100.0});       // starts at the bottom edge
    doc.addBox(1, kBoxPicture, Rect{10.0, 10.0, 100.0, 100.0});  // on spread 1's pasteboard
    const std::vector<PrintPage> pages = printPages(doc);
    ASSERT_EQ(pages.size(), 3U);
    EXPECT_TRUE(pages[0].boxes.empty());
    EXPECT_EQ(pages[1].boxes, (std::vector<BoxId>{left, across, touching}));
    EXPECT_EQ(pages[2].boxes, (std::vector<BoxId>{across, right, hairline}));
    static_cast<void>(pasteboard);
    static_cast<void>(below);
}

TEST(PrintPages, NoPagesNoOutput) {
    Document doc;
    EXPECT_TRUE(printPages(doc).empty());
}

}  // namespace
}  // namespace hostsim::print

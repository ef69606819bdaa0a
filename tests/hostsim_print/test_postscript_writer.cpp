// The PostScript file of a print job: numbers and texts as PostScript reads
// them, the document structure, the page transform, and module PostScript
// spliced where it was sent.
#include "hostsim/print/postscript_writer.h"

#include "hostsim/model/document.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace hostsim::print {
namespace {

std::size_t count(const std::string& text, const std::string& needle) {
    std::size_t n = 0;
    for (std::size_t pos = text.find(needle); pos != std::string::npos; pos = text.find(needle, pos + 1)) ++n;
    return n;
}

TEST(PostScriptWriter, NumbersAreShortFixedAndNeverExponents) {
    EXPECT_EQ(PostScriptWriter::number(12.0), "12");
    EXPECT_EQ(PostScriptWriter::number(-0.5), "-0.5");
    EXPECT_EQ(PostScriptWriter::number(420.125), "420.125");
    EXPECT_EQ(PostScriptWriter::number(1.0 / 3.0), "0.333");
    EXPECT_EQ(PostScriptWriter::number(-0.0001), "0");
    EXPECT_EQ(PostScriptWriter::number(1e-9), "0");
    EXPECT_EQ(PostScriptWriter::number(32767.999), "32767.999");
    EXPECT_EQ(PostScriptWriter::number(1e20), "100000000000000000000");
    EXPECT_EQ(PostScriptWriter::number(std::numeric_limits<double>::quiet_NaN()), "0");
}

TEST(PostScriptWriter, DscTextEscapesWhatWouldEndOrBreakTheLine) {
    EXPECT_EQ(PostScriptWriter::dscText("Plain name"), "(Plain name)");
    EXPECT_EQ(PostScriptWriter::dscText("a(b)\\c"), "(a\\(b\\)\\\\c)");
    EXPECT_EQ(PostScriptWriter::dscText("l1\r\nl2\x7F\xC3\xA9"), "(l1\\015\\012l2\\177\\303\\251)");
    EXPECT_EQ(PostScriptWriter::dscText(""), "()");
}

class WriterTest : public ::testing::Test {
protected:
    WriterTest() {
        Spread spread;
        spread.width = 800.0;
        spread.height = 600.0;
        spread.pages = {Page{"1", 0, 0.0, 0.0}, Page{"2", 0, 400.0, 0.0}};
        doc.pageWidth = 400.0;
        doc.pageHeight = 600.0;
        doc.addSpread(spread);
        picture = doc.addBox(1, kBoxPicture, Rect{100.0, 450.0, 200.0, 550.0});
        Picture placed;
        placed.path = "/p/a.tif";
        placed.bounds = Rect{0.0, 0.0, 40.0, 60.0};
        placed.offsetH = 5.0;
        doc.setPicture(picture, placed);
        empty = doc.addBox(1, kBoxPicture, Rect{300.0, 450.0, 350.0, 500.0});
        text = doc.addBox(1, kBoxText, Rect{400.0, 450.0, 450.0, 500.0});
    }
    Document doc;
    BoxId picture = 0, empty = 0, text = 0;
};

TEST_F(WriterTest, StructureCommentsCountThePagesWrittenAndEndTheFile) {
    PostScriptWriter writer("Title (1)", 400.5, 600.0);
    writer.beginPage(1, Rect{0.0, 0.0, 600.0, 400.5});
    writer.beginPage(2, Rect{0.0, 400.5, 600.0, 801.0});  // ends page 1
    const std::string ps = writer.finish();
    EXPECT_EQ(writer.pages(), 2);
    EXPECT_EQ(ps.rfind("%!PS-Adobe-3.0\n", 0), 0U);
    EXPECT_NE(ps.find("\n%%Title: (Title \\(1\\))\n"), std::string::npos);
    EXPECT_NE(ps.find("\n%%Pages: 2\n"), std::string::npos);
    EXPECT_NE(ps.find("\n%%BoundingBox: 0 0 401 600\n"), std::string::npos) << "whole points enclosing the page";
    EXPECT_NE(ps.find("\n%%HiResBoundingBox: 0 0 400.5 600\n"), std::string::npos);
    EXPECT_NE(ps.find("<< /PageSize [400.5 600] >> setpagedevice"), std::string::npos);
    EXPECT_LT(ps.find("%%Page: 1 1\n"), ps.find("%%Page: 2 2\n"));
    EXPECT_EQ(count(ps, "\nshowpage\n"), 2U);
    EXPECT_LT(ps.rfind("showpage"), ps.find("%%Trailer"));
    EXPECT_EQ(ps.substr(ps.size() - 6), "%%EOF\n");
}

TEST_F(WriterTest, PagesMapSpreadCoordinatesWithTheYAxisDown) {
    PostScriptWriter writer("t", 400.0, 600.0);
    writer.beginPage(2, Rect{0.0, 400.0, 600.0, 800.0});
    const std::string ps = writer.finish();
    EXPECT_NE(ps.find("gsave\n0 600 translate 1 -1 scale -400 0 translate\n%%EndPageSetup\n"), std::string::npos)
        << ps;
}

TEST_F(WriterTest, BoxesAreDrawnInGreysInsideGraphicsStatesOfTheirOwn) {
    PostScriptWriter writer("t", 400.0, 600.0);
    writer.beginPage(2, Rect{0.0, 400.0, 600.0, 800.0});
    writer.drawBox(*doc.findBox(picture));
    writer.drawBox(*doc.findBox(empty));
    writer.drawBox(*doc.findBox(text));
    const std::string ps = writer.finish();
    // The picture box: its grey, then the picture's own extent at its offset, then the frame.
    const std::size_t box = ps.find("% box " + std::to_string(picture) + " picture\n");
    ASSERT_NE(box, std::string::npos);
    const std::size_t fill = ps.find("450 100 100 100 0.85 hsfill", box);
    const std::size_t content = ps.find("455 100 60 40 0.7 hsfill", box);
    const std::size_t frame = ps.find("450 100 100 100 hsframe", box);
    EXPECT_LT(fill, content);
    EXPECT_LT(content, frame);
    EXPECT_NE(frame, std::string::npos);
    EXPECT_NE(ps.find("450 300 moveto 500 350 lineto 450 350 moveto 500 300 lineto stroke"), std::string::npos)
        << "the empty box's cross";
    EXPECT_NE(ps.find("% box " + std::to_string(text) + " text\n450 400 50 50 hsframe\n"), std::string::npos);
    EXPECT_EQ(count(ps, "gsave"), count(ps, "grestore"));
    EXPECT_EQ(ps.find(" 0 setgray"), std::string::npos) << "no black of the host's own";
    EXPECT_EQ(ps.find(" 1 setgray"), std::string::npos) << "no white of the host's own";
}

TEST_F(WriterTest, ModulePostScriptGoesWhereItWasSentInAGraphicsStateOfItsOwn) {
    PostScriptWriter writer("t", 400.0, 600.0);
    writer.setupData("%job start");
    writer.beginPage(1, Rect{0.0, 0.0, 600.0, 400.0});
    writer.splice("");
    writer.splice("\rgsave\r1 setgray\rgrestore\r\r");
    writer.endPage();
    writer.splice("outside any page");
    writer.trailerData("%job end");
    const std::string ps = writer.finish();
    EXPECT_LT(ps.find("%%BeginSetup"), ps.find("gsave\n%job start\ngrestore\n"));
    EXPECT_LT(ps.find("%job start"), ps.find("%%EndSetup"));
    const std::size_t spliced = ps.find("gsave\n\rgsave\r1 setgray\rgrestore\r\r\ngrestore\n");
    EXPECT_GT(spliced, ps.find("%%EndPageSetup"));
    EXPECT_LT(spliced, ps.find("showpage"));
    EXPECT_EQ(ps.find("outside any page"), std::string::npos);
    EXPECT_GT(ps.find("gsave\n%job end\ngrestore\n"), ps.find("%%Trailer"));
    EXPECT_EQ(count(ps, "gsave\n\ngrestore"), 0U) << "nothing for an empty piece";
}

}  // namespace
}  // namespace hostsim::print

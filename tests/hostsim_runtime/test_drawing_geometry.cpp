// The font group measures with the real font files; the drawing group keeps
// what the module draws as geometry per box, besides the textual records.
#include "host_fixture.h"

#include "hostsim/render/font_engine.h"

namespace hostsim::test {
namespace {

FakeTables* gTables = nullptr;
XTFontInst gFont = 0;

class DrawingGeometryTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        gTables = &fake.tables();
    }
};

TEST_F(DrawingGeometryTest, CharacterWidthsAreTheFontsAdvancesInSixteenDotSixteen) {
    auto sim = start();
    ASSERT_TRUE(sim->started());
    const std::int16_t geneva = gTables->font.fontIDFromName("Geneva");
    ASSERT_NE(geneva, 0);
    EXPECT_EQ(gTables->font.fontIDFromName("GENEVA"), geneva);
    XTFontDesc desc{};
    desc.fontID = geneva;
    desc.hSize = desc.vSize = 10 << 16;
    const XTFontInst ten = gTables->font.newFontInstance(&desc);
    desc.hSize = desc.vSize = 20 << 16;
    const XTFontInst twenty = gTables->font.newFontInstance(&desc);
    desc.fontID = gTables->font.fontIDFromName("Courier");
    const XTFontInst mono = gTables->font.newFontInstance(&desc);

    render::FontEngine fonts;
    // Characters above U+FFFF are measured by their code point.
    for (const std::uint32_t unit : {std::uint32_t{'W'}, std::uint32_t{'i'}, std::uint32_t{0xE4}, std::uint32_t{0xD800},
                                     std::uint32_t{0x1D400}, std::uint32_t{0x1F4F7}}) {
        EXPECT_EQ(gTables->font.charWidth(ten, unit), toFixed(*fonts.advance(geneva, 10.0, unit))) << unit;
        EXPECT_NEAR(gTables->font.charWidth(twenty, unit), 2 * gTables->font.charWidth(ten, unit), 1) << unit;
    }
    EXPECT_GT(gTables->font.charWidth(ten, 'W'), gTables->font.charWidth(ten, 'i'));
    EXPECT_EQ(gTables->font.charWidth(mono, 'W'), gTables->font.charWidth(mono, 'i'));
    // Lone surrogates and unassigned characters measure as the missing glyph.
    EXPECT_EQ(gTables->font.charWidth(ten, 0xDC00), gTables->font.charWidth(ten, 0x0378));
    // An unknown font id gets the substitute's widths.
    desc.fontID = 0;
    desc.hSize = desc.vSize = 10 << 16;
    const XTFontInst unknown = gTables->font.newFontInstance(&desc);
    EXPECT_EQ(gTables->font.charWidth(unknown, 'W'), gTables->font.charWidth(ten, 'W'));
    for (const XTFontInst f : {ten, twenty, mono, unknown}) gTables->font.disposeFontInstance(f);
    EXPECT_TRUE(sim->violations().empty());
}

TEST_F(DrawingGeometryTest, EachBoxDrawKeepsItsRectanglesAndTextRuns) {
    fake.hook(XT_CB_DRAWBOX, [](void* record) {
        const auto* draw = static_cast<const XTDrawBoxRec*>(record);
        if (draw->phase != XT_DRAW_PHASE_CONTENT) return 0;
        XTFontDesc desc{};
        desc.fontID = gTables->font.fontIDFromName("Times");
        desc.hSize = desc.vSize = 5 << 16;
        gFont = gTables->font.newFontInstance(&desc);
        const std::uint16_t text[] = {'a', '<', 0xD800};
        gTables->draw.fillRect(draw->port, 101, 102.5, 140, 108, XTColor{255, 255, 255, 100});
        gTables->draw.drawText(draw->port, gFont, text, 3, 101, 106, XTColor{0, 0, 0, 60});
        gTables->font.disposeFontInstance(gFont);
        return 0;
    });
    auto sim = start();
    ASSERT_TRUE(sim->newDocument(testDocument()).ok());
    const std::vector<render::BoxDrawing>& drawn = sim->boxDrawings();
    ASSERT_EQ(drawn.size(), 2U);  // the picture box and the text box of the current spread
    EXPECT_EQ(drawn[0].box, sim->current()->firstBox(1));
    EXPECT_EQ(drawn[1].box, sim->current()->nextBox(drawn[0].box));
    ASSERT_EQ(drawn[0].list.ops.size(), 2U);
    const auto& fill = std::get<render::FillOp>(drawn[0].list.ops[0]);
    EXPECT_EQ(fill.area, (render::Area{101, 102.5, 140, 108}));
    EXPECT_EQ(fill.color, (render::Color{255, 255, 255, 100}));
    const auto& text = std::get<render::TextOp>(drawn[0].list.ops[1]);
    EXPECT_EQ(text.fontID, 20);
    EXPECT_EQ(text.hSize, 5.0);
    EXPECT_EQ(text.x, 101.0);
    EXPECT_EQ(text.y, 106.0);
    EXPECT_EQ(text.color.strength, 60);
    EXPECT_EQ(text.text, (std::u16string{u'a', u'<', char16_t{0xD800}}));
    // The textual records stay as they were.
    ASSERT_EQ(sim->drawCalls().size(), 4U);
    EXPECT_EQ(sim->drawCalls()[1].detail, "\"a<\xEF\xBF\xBD\" at (101, 106) size 5 font 20 rgb(0,0,0) 60%");
    // A fresh redraw starts fresh lists.
    sim->redraw();
    EXPECT_EQ(sim->boxDrawings().size(), 2U);
}

TEST_F(DrawingGeometryTest, TheViewIsWrittenAsSvgAndPng) {
    auto sim = start();
    std::string error;
    EXPECT_FALSE(sim->renderView(tmp.file("none.svg"), &error));
    ASSERT_TRUE(sim->newDocument(testDocument()).ok());
    ASSERT_TRUE(sim->setViewScale(3 << 15));  // 150 %
    ASSERT_TRUE(sim->renderView(tmp.file("v.svg"), &error)) << error;
    ASSERT_TRUE(sim->renderView(tmp.file("v.png"), &error)) << error;
    const std::string svg = lumbrel::test::readFile(tmp.file("v.svg"));
    // The 612-point page and 36 points of pasteboard each side, at 150 %.
    EXPECT_NE(svg.find("width=\"1026\""), std::string::npos) << svg.substr(0, 300);
    const std::string png = lumbrel::test::readFile(tmp.file("v.png"));
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_TRUE(transcriptHas("view of spread 1 at 150% written to \"" + tmp.file("v.png") + "\" (1026x1296 pixels)"));
}

}  // namespace
}  // namespace hostsim::test

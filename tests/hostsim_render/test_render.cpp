// Pictures of layout views: the font catalogue and real metrics, the scene
// of a spread, and the SVG and PNG written from it.
#include "hostsim/render/font_catalog.h"
#include "hostsim/render/font_engine.h"
#include "hostsim/render/page_renderer.h"
#include "hostsim/render/picture_decode.h"

#include "support/test_support.h"

#include "desktop/files/file_open.h"
#include "desktop/files/file_replace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>

namespace hostsim::render {
namespace {

#if defined(_WIN32)
constexpr bool kOnWindows = true;
#else
constexpr bool kOnWindows = false;
#endif

constexpr std::int16_t kGeneva = 3;
constexpr std::int16_t kTimes = 20;
constexpr std::int16_t kHelvetica = 21;
constexpr std::int16_t kCourier = 22;

std::string samplePicture(const char* name) { return lumbrel::test::sourcePath(std::string("samples/pictures/") + name); }

template <typename Op>
std::vector<Op> opsOf(const Scene& scene) {
    std::vector<Op> found;
    for (const DrawOp& op : scene.list.ops) {
        if (const Op* o = std::get_if<Op>(&op)) found.push_back(*o);
    }
    return found;
}

std::string utf8(const std::u16string& text) {
    std::string out;
    for (const char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// ---- fonts ----------------------------------------------------------------------------

TEST(FontCatalog, NamesMapToTheDejaVuFamiliesAndTheirFilesAreFound) {
    ASSERT_NE(fontByName("Geneva"), nullptr);
    EXPECT_STREQ(fontByName("geneva")->family, "DejaVu Sans");
    EXPECT_STREQ(fontByName("HELVETICA")->family, "DejaVu Sans");
    EXPECT_STREQ(fontByName("Arial")->family, "DejaVu Sans");
    EXPECT_STREQ(fontByName("Times")->family, "DejaVu Serif");
    EXPECT_STREQ(fontByName("Courier")->family, "DejaVu Sans Mono");
    EXPECT_EQ(fontByName("Geneva Bold"), nullptr);
    EXPECT_EQ(fontByName(""), nullptr);
    // Unknown ids are drawn in the substitute, the sans serif.
    EXPECT_STREQ(fontByID(0).family, "DejaVu Sans");
    EXPECT_STREQ(fontByID(999).family, "DejaVu Sans");
    for (const CatalogFont& font : catalogFonts()) {
        EXPECT_EQ(&fontByID(font.id), &font) << font.name;
        std::string error;
        const std::optional<std::string> file = findFontFile(font, &error);
        ASSERT_TRUE(file) << error;
        EXPECT_EQ(std::filesystem::path(*file).filename(), font.fileName);
    }
}

TEST(FontCatalog, AMissingFontFileIsReportedByName) {
    const CatalogFont ghost{"Ghost", 99, "Ghost Sans", "NoSuchFontFile-7f3a.ttf"};
    std::string error;
    EXPECT_FALSE(findFontFile(ghost, &error));
    EXPECT_NE(error.find("NoSuchFontFile-7f3a.ttf"), std::string::npos) << error;
    EXPECT_NE(error.find("\"Ghost\""), std::string::npos) << error;
    EXPECT_NE(error.find("fonts-dejavu-core"), std::string::npos) << error;
}

// Every font file lies directly in one of the system's own font folders (a
// Windows host looks in the Windows Fonts folder, never in a POSIX folder
// through drive Z:), or, on POSIX, somewhere below /usr/share/fonts.
TEST(FontCatalog, FilesComeFromTheSystemsOwnFontFolders) {
    if (std::getenv("HOSTSIM_FONT_DIR") != nullptr) GTEST_SKIP() << "HOSTSIM_FONT_DIR names a folder of its own";
    const std::vector<std::string> folders = systemFontFolders();
    ASSERT_FALSE(folders.empty());
#if defined(_WIN32)
    for (const std::string& folder : folders) EXPECT_NE(folder.front(), '/') << folder;
    const std::string fonts = desktop::files::nameOf(desktop::files::pathOf(folders.back()).filename());
    EXPECT_EQ(fonts, "Fonts") << folders.back();
#endif
    for (const CatalogFont& font : catalogFonts()) {
        const std::optional<std::string> file = findFontFile(font);
        ASSERT_TRUE(file) << font.name;
        const std::string folder = desktop::files::nameOf(desktop::files::pathOf(*file).parent_path());
        const bool inSystemFolder = std::find(folders.begin(), folders.end(), folder) != folders.end();
        EXPECT_TRUE(inSystemFolder || (!kOnWindows && file->rfind("/usr/share/fonts/", 0) == 0)) << *file;
    }
}

TEST(FontEngine, AdvanceWidthsComeFromTheFontAndScaleWithTheSize) {
    FontEngine fonts;
    ASSERT_TRUE(fonts.ready()) << fonts.error();
    const double w10 = fonts.advance(kGeneva, 10.0, 'W').value_or(0);
    const double i10 = fonts.advance(kGeneva, 10.0, 'i').value_or(0);
    const double w20 = fonts.advance(kGeneva, 20.0, 'W').value_or(0);
    EXPECT_GT(w10, 2.0 * i10);
    EXPECT_GT(i10, 0.0);
    EXPECT_LT(w10, 10.0 * 1.5);
    EXPECT_NEAR(w20, 2.0 * w10, 1e-9);
    // Names of one family measure alike; other families differ.
    EXPECT_EQ(fonts.advance(kHelvetica, 10.0, 'W'), fonts.advance(kGeneva, 10.0, 'W'));
    EXPECT_NE(fonts.advance(kTimes, 10.0, 'a'), fonts.advance(kGeneva, 10.0, 'a'));
    EXPECT_EQ(fonts.advance(kCourier, 10.0, 'i'), fonts.advance(kCourier, 10.0, 'W'));
    // Non-ASCII code units are real glyphs too.
    EXPECT_GT(fonts.advance(kGeneva, 10.0, 0x00C4).value_or(0), i10);
}

TEST(FontEngine, LoneSurrogatesAndUnknownCharactersMeasureAsTheMissingGlyph) {
    FontEngine fonts;
    const std::optional<double> high = fonts.advance(kGeneva, 10.0, 0xD800);
    const std::optional<double> low = fonts.advance(kGeneva, 10.0, 0xDFFF);
    const std::optional<double> unassigned = fonts.advance(kGeneva, 10.0, 0x0378);
    ASSERT_TRUE(high && low && unassigned);
    EXPECT_GT(*high, 0.0);
    EXPECT_EQ(*high, *low);
    EXPECT_EQ(*high, *unassigned);
    EXPECT_NE(*high, fonts.advance(kGeneva, 10.0, 'i').value_or(0));
    // Sizes that are no numbers give no width worth drawing, and no crash.
    EXPECT_FALSE(fonts.advance(kGeneva, std::numeric_limits<double>::quiet_NaN(), 'W'));
}

TEST(FontEngine, GlyphsRenderWithCoverageAndTheAdvanceOfTheMetrics) {
    FontEngine fonts;
    GlyphBitmap glyph;
    ASSERT_TRUE(fonts.glyph(kGeneva, 20.0, 20.0, 'W', 0.0, 0.0, glyph));
    ASSERT_NE(glyph.buffer, nullptr);
    int covered = 0;
    for (int row = 0; row < glyph.rows; ++row) {
        for (int col = 0; col < glyph.width; ++col) covered += glyph.buffer[row * glyph.pitch + col] > 128 ? 1 : 0;
    }
    EXPECT_GT(covered, 20);
    EXPECT_GT(glyph.top, 10);  // a capital stands well above the baseline
    EXPECT_NEAR(glyph.advance, fonts.advance(kGeneva, 20.0, 'W').value_or(0), 1e-3);
    ASSERT_TRUE(fonts.glyph(kGeneva, 20.0, 20.0, ' ', 0.0, 0.0, glyph));
    EXPECT_EQ(glyph.width * glyph.rows == 0 || glyph.buffer == nullptr, true);
    // Absurd sizes draw nothing and do not fail.
    EXPECT_TRUE(fonts.glyph(kGeneva, -3.0, 1e300, 'W', 0.0, 0.0, glyph));
}

// ---- scenes ---------------------------------------------------------------------------

// One page 400 x 300 with: a TIFF picture box, an EPS picture box, an empty
// picture box, a picture box whose file is gone, a text box and a rule.
struct SceneDoc {
    Document doc;
    BoxId tiff = 0, eps = 0, empty = 0, missing = 0, text = 0, rule = 0;
};

SceneDoc sceneDocument() {
    SceneDoc s;
    s.doc.pageWidth = 400;
    s.doc.pageHeight = 300;
    Spread spread;
    spread.width = 400;
    spread.height = 300;
    spread.pages.push_back(Page{"1", 0, 0.0, 0.0});
    const int n = s.doc.addSpread(spread);
    s.doc.setCurrentPage(1);
    s.tiff = s.doc.addBox(n, kBoxPicture, Rect{10, 10, 110, 160});
    EXPECT_EQ(s.doc.importPicture(s.tiff, samplePicture("rgb.tif")), 0);
    s.eps = s.doc.addBox(n, kBoxPicture, Rect{10, 200, 110, 350});
    EXPECT_EQ(s.doc.importPicture(s.eps, samplePicture("logo-cmyk.eps")), 0);
    s.empty = s.doc.addBox(n, kBoxPicture, Rect{150, 10, 250, 160});
    s.missing = s.doc.addBox(n, kBoxPicture, Rect{150, 200, 250, 350});
    Picture gone;
    gone.path = "/no/such/folder/gone.tif";
    gone.bounds = Rect{0, 0, 20, 20};
    s.doc.setPicture(s.missing, gone);
    s.text = s.doc.addBox(n, kBoxText, Rect{260, 10, 290, 390});
    s.doc.setText(s.text, "Pictures of every kind\ralone");
    s.rule = s.doc.addBox(n, kBoxLine, Rect{295, 10, 295, 390});
    return s;
}

bool sameArea(const Area& a, const Rect& r) {
    return a.left == r.left && a.top == r.top && a.right == r.right && a.bottom == r.bottom;
}

TEST(SpreadScene, EveryKindOfBoxIsDrawnItsOwnWay) {
    const SceneDoc s = sceneDocument();
    const Scene scene = spreadScene(s.doc, 1, 1.0, {});
    // The decoded TIFF, placed at its size at the box's corner, clipped to the box.
    const auto images = opsOf<ImageOp>(scene);
    ASSERT_EQ(images.size(), 1U);
    EXPECT_TRUE(sameArea(images[0].clip, s.doc.findBox(s.tiff)->bounds()));
    EXPECT_EQ(images[0].area.left, 10.0);
    EXPECT_EQ(images[0].area.top, 10.0);
    EXPECT_EQ(images[0].area.width(), 48.0);
    EXPECT_EQ(images[0].pixels->width, 48);

    // EPS and the missing picture: grey placeholders with a cross and the name.
    const auto fills = opsOf<FillOp>(scene);
    auto filled = [&](BoxId id) {
        for (const FillOp& f : fills) {
            if (sameArea(f.area, s.doc.findBox(id)->bounds())) return true;
        }
        return false;
    };
    EXPECT_TRUE(filled(s.eps));
    EXPECT_TRUE(filled(s.missing));
    EXPECT_FALSE(filled(s.empty));
    EXPECT_FALSE(filled(s.tiff));
    std::vector<std::string> texts;
    for (const TextOp& t : opsOf<TextOp>(scene)) texts.push_back(utf8(t.text));
    EXPECT_NE(std::find(texts.begin(), texts.end(), "logo-cmyk.eps"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "gone.tif (missing)"), texts.end());
    // The text box's two paragraphs, line by line.
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Pictures of every kind"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "alone"), texts.end());

    // Crosses: two lines each for the EPS, the missing and the empty box.
    EXPECT_EQ(opsOf<LineOp>(scene).size(), 6U);
    // A rule of no height still gets a visible pixel.
    bool rule = false;
    for (const FillOp& f : fills) rule = rule || (f.area.top == 295.0 && f.area.bottom > 295.0 && f.color.red == 0);
    EXPECT_TRUE(rule);

    // Without frames the empty box shows nothing at all.
    SceneOptions plain;
    plain.frames = false;
    EXPECT_EQ(opsOf<LineOp>(spreadScene(s.doc, 1, 1.0, {}, plain)).size(), 4U);
    EXPECT_TRUE(opsOf<StrokeOp>(spreadScene(s.doc, 1, 1.0, {}, plain)).empty());
}

TEST(SpreadScene, TheModulesDrawingsFollowTheirBox) {
    const SceneDoc s = sceneDocument();
    BoxDrawing label{s.tiff, {}};
    label.list.ops.emplace_back(FillOp{Area{12, 0, 40, 12}, Color{255, 255, 255, 100}});
    label.list.ops.emplace_back(TextOp{kGeneva, 10, 10, 12, 10, Color{0, 0, 0, 100}, u"rgb.tif"});
    const Scene scene = spreadScene(s.doc, 1, 1.0, {label});
    std::size_t image = 0, labelFill = 0, nextBox = 0;
    for (std::size_t i = 0; i < scene.list.ops.size(); ++i) {
        const DrawOp& op = scene.list.ops[i];
        if (std::holds_alternative<ImageOp>(op)) image = i;
        if (const auto* f = std::get_if<FillOp>(&op); f && f->area == Area{12, 0, 40, 12}) labelFill = i;
        if (const auto* f = std::get_if<FillOp>(&op); f && sameArea(f->area, s.doc.findBox(s.eps)->bounds())) nextBox = i;
    }
    EXPECT_LT(image, labelFill);
    EXPECT_LT(labelFill, nextBox);
}

TEST(SpreadScene, BadScalesHugeBoxesAndMissingSpreadsStayHarmless) {
    EXPECT_EQ(sanitizeScale(0.0), 1.0);
    EXPECT_EQ(sanitizeScale(-2.0), 1.0);
    EXPECT_EQ(sanitizeScale(std::numeric_limits<double>::quiet_NaN()), 1.0);
    EXPECT_EQ(sanitizeScale(std::numeric_limits<double>::infinity()), 1.0);
    EXPECT_EQ(sanitizeScale(0.5), 0.5);
    EXPECT_EQ(sanitizeScale(1000.0), 80.0);

    SceneDoc s = sceneDocument();
    const Scene normal = spreadScene(s.doc, 1, 2.0, {});
    // The spread and a margin of pasteboard, at the scale.
    EXPECT_EQ(normal.width, static_cast<int>(std::ceil(normal.area.width() * 2.0)));
    EXPECT_LT(normal.area.left, 0.0);
    const Scene zero = spreadScene(s.doc, 1, 0.0, {});
    EXPECT_EQ(zero.scale, 1.0);

    s.doc.addBox(1, kBoxPicture, Rect{0, 0, 30000, 30000});
    const Scene huge = spreadScene(s.doc, 1, 4.0, {});
    EXPECT_EQ(huge.width, kMaxPixels);
    EXPECT_EQ(huge.height, kMaxPixels);
    const Scene none = spreadScene(s.doc, 7, 1.0, {});
    EXPECT_GT(none.width, 0);
    EXPECT_EQ(none.list.ops.size(), 1U);  // the pasteboard only
}

// ---- SVG ------------------------------------------------------------------------------

TEST(Svg, CoordinatesArePointsUnderAViewBoxAndTextIsEscaped) {
    Scene scene;
    scene.area = Area{-10, -20, 190, 80};
    scene.scale = 2.0;
    scene.width = 400;
    scene.height = 200;
    scene.list.ops.emplace_back(FillOp{Area{12.5, 3, 40, 15}, Color{255, 255, 255, 100}});
    scene.list.ops.emplace_back(FillOp{Area{0, 0, 1, 1}, Color{255, 0, 16, 50}});
    scene.list.ops.emplace_back(TextOp{kTimes, 5, 5, 12.5, 13, Color{0, 0, 0, 100}, u"a<b&c>\"d' \xD800!"});
    const std::string svg = sceneToSvg(scene);
    EXPECT_NE(svg.find("width=\"400\" height=\"200\" viewBox=\"-10 -20 200 100\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("<rect x=\"12.5\" y=\"3\" width=\"27.5\" height=\"12\" fill=\"#ffffff\"/>"), std::string::npos)
        << svg;
    EXPECT_NE(svg.find("fill=\"#ff0010\" fill-opacity=\"0.5\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("<text x=\"12.5\" y=\"13\" font-family=\"DejaVu Serif\" font-size=\"5\""), std::string::npos)
        << svg;
    EXPECT_NE(svg.find(">a&lt;b&amp;c&gt;&quot;d&apos; \xEF\xBF\xBD!</text>"), std::string::npos) << svg;
}

TEST(Svg, PicturesAreEmbeddedOnceAndClippedToTheirBox) {
    const SceneDoc s = sceneDocument();
    Scene scene = spreadScene(s.doc, 1, 1.0, {});
    const std::string svg = sceneToSvg(scene);
    const std::size_t first = svg.find("data:image/png;base64,");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(svg.find("<clipPath id=\"clip1\"><rect x=\"10\" y=\"10\" width=\"150\" height=\"100\"/>"),
              std::string::npos);
    EXPECT_NE(svg.find(">gone.tif (missing)</text>"), std::string::npos);
}

// ---- PNG ------------------------------------------------------------------------------

double luminance(const Raster& r, int x, int y) {
    const std::uint8_t* p = r.at(x, y);
    return (p[0] + p[1] + p[2]) / 3.0;
}

TEST(Png, TextIsDrawnInBlackInsideItsWhiteRectangle) {
    FontEngine fonts;
    Scene scene;
    scene.area = Area{0, 0, 120, 40};
    scene.scale = 1.0;
    scene.width = 120;
    scene.height = 40;
    scene.list.ops.emplace_back(FillOp{scene.area, Color{0x80, 0x80, 0x80, 100}});
    scene.list.ops.emplace_back(FillOp{Area{10, 10, 90, 24}, Color{255, 255, 255, 100}});
    scene.list.ops.emplace_back(TextOp{kGeneva, 10, 10, 12, 21, Color{0, 0, 0, 100}, u"Wide name"});
    lumbrel::test::TempDir dir;
    // A name outside ASCII: the picture is written and read back by its UTF-8 text.
    const std::string path = dir.text() + "/Text \xC3\x84\xC3\xA9\xF0\x9D\x84\x9E.png";
    std::string error;
    ASSERT_TRUE(writeScene(scene, fonts, path, &error)) << error;
    const std::optional<Raster> back = decodePicture(path, &error);
    ASSERT_TRUE(back) << error;
    ASSERT_EQ(back->width, 120);
    ASSERT_EQ(back->height, 40);
    int black = 0, white = 0;
    for (int y = 10; y < 24; ++y) {
        for (int x = 10; x < 90; ++x) {
            const double l = luminance(*back, x, y);
            black += l < 60 ? 1 : 0;
            white += l > 250 ? 1 : 0;
        }
    }
    EXPECT_GT(black, 40);   // the glyphs
    EXPECT_GT(white, 500);  // the background around them
    // Outside the rectangle only the grey.
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{{5, 5}, {95, 15}, {50, 30}, {9, 12}, {50, 9}}) {
        EXPECT_EQ(luminance(*back, x, y), 0x80) << x << "," << y;
    }
    // The text stays within its measured width: nothing dark right of it.
    const double textEnd = 12 + [&] {
        double w = 0;
        for (const char16_t c : std::u16string(u"Wide name")) w += fonts.advance(kGeneva, 10, c).value_or(0);
        return w;
    }();
    for (int y = 10; y < 24; ++y) {
        for (int x = static_cast<int>(textEnd) + 2; x < 90; ++x) EXPECT_GT(luminance(*back, x, y), 250) << x;
    }
}

TEST(Png, EdgesOfAreasBlendByCoverageAndPicturesAreSampled) {
    FontEngine fonts;
    Scene scene;
    scene.area = Area{0, 0, 20, 10};
    scene.scale = 2.0;
    scene.width = 40;
    scene.height = 20;
    scene.list.ops.emplace_back(FillOp{Area{0, 0, 20, 10}, Color{255, 255, 255, 100}});
    // Black from x = 2.25 pt: pixel 4 is half covered.
    scene.list.ops.emplace_back(FillOp{Area{2.25, 0, 5, 10}, Color{0, 0, 0, 100}});
    auto pixels = std::make_shared<Raster>();
    pixels->width = 2;
    pixels->height = 1;
    pixels->rgb = {255, 0, 0, 0, 0, 255};
    scene.list.ops.emplace_back(ImageOp{Area{10, 0, 20, 10}, Area{10, 0, 15, 10}, pixels});
    std::string error;
    const std::optional<Raster> r = rasterize(scene, fonts, &error);
    ASSERT_TRUE(r) << error;
    EXPECT_NEAR(luminance(*r, 4, 5), 127.5, 1.0);
    EXPECT_EQ(luminance(*r, 5, 5), 0);
    EXPECT_EQ(luminance(*r, 3, 5), 255);
    EXPECT_EQ(r->at(22, 5)[0], 255);  // the red half of the picture
    EXPECT_EQ(r->at(22, 5)[2], 0);
    EXPECT_EQ(luminance(*r, 35, 5), 255);  // the blue half lies outside the clip
}

TEST(Png, WritingFailsCleanlyForUnknownKindsAndUnwritablePlaces) {
    FontEngine fonts;
    const Scene scene = spreadScene(sceneDocument().doc, 1, 1.0, {});
    lumbrel::test::TempDir dir;
    std::string error;
    EXPECT_FALSE(writeScene(scene, fonts, dir.file("view.gif"), &error));
    EXPECT_NE(error.find(".svg or .png"), std::string::npos);
    EXPECT_FALSE(writeScene(scene, fonts, dir.file("no/such/folder/view.png"), &error));
    EXPECT_NE(error.find("cannot write"), std::string::npos);
    EXPECT_FALSE(encodePng(Raster{}, &error));
    ASSERT_TRUE(writeScene(scene, fonts, dir.file("view.SVG"), &error)) << error;
    EXPECT_EQ(lumbrel::test::readFile(dir.file("view.SVG")).rfind("<?xml", 0), 0U);
}

// ---- picture previews -------------------------------------------------------------------

TEST(PicturePreview, TiffJpegAndPngDecodeAndOtherFilesDoNot) {
    struct Case {
        const char* name;
        int width, height;
    };
    for (const Case c : {Case{"rgb.tif", 48, 32}, Case{"cmyk.tif", 48, 32}, Case{"grey.tif", 40, 40},
                         Case{"photo.jpg", 48, 32}}) {
        std::string error;
        const std::optional<Raster> r = decodePicture(samplePicture(c.name), &error);
        ASSERT_TRUE(r) << c.name << ": " << error;
        EXPECT_EQ(r->width, c.width) << c.name;
        EXPECT_EQ(r->height, c.height) << c.name;
        // Real content, not one flat colour.
        double lo = 255, hi = 0;
        for (int y = 0; y < r->height; ++y) {
            for (int x = 0; x < r->width; ++x) {
                lo = std::min(lo, luminance(*r, x, y));
                hi = std::max(hi, luminance(*r, x, y));
            }
        }
        EXPECT_GT(hi - lo, 30) << c.name;
    }
    lumbrel::test::TempDir dir;
    std::string error;
    // Names with "Ä", "é" and a character outside the BMP decode as any other.
    for (const char* name : {"rgb.tif", "photo.jpg"}) {
        const std::string extension = std::filesystem::path(name).extension().string();
        const std::string copy = dir.text() + "/\xC3\x84-\xC3\xA9-\xF0\x9D\x84\x9E" + extension;
        std::string reason;
        ASSERT_TRUE(desktop::files::replaceFile(copy, lumbrel::test::readFile(samplePicture(name)), reason)) << reason;
        const std::optional<Raster> r = decodePicture(copy, &error);
        ASSERT_TRUE(r) << name << ": " << error;
        EXPECT_GT(r->width, 0) << name;
    }
    EXPECT_FALSE(decodePicture(samplePicture("logo-cmyk.eps"), &error));
    EXPECT_FALSE(decodePicture(dir.file("absent.tif"), &error));
    // A TIFF cut short after its header, and a JPEG of nothing but its marker.
    const std::string tiff = lumbrel::test::readFile(samplePicture("rgb.tif"));
    lumbrel::test::writeFile(dir.file("cut.tif"), tiff.substr(0, 200));
    EXPECT_FALSE(decodePicture(dir.file("cut.tif"), &error));
    lumbrel::test::writeFile(dir.file("cut.jpg"), std::string("\xFF\xD8\xFF\xE0", 4));
    EXPECT_FALSE(decodePicture(dir.file("cut.jpg"), &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace hostsim::render

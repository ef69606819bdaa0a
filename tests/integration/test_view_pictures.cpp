// Pictures of the layout view with the real module: its image-name labels,
// drawn through the host's font and drawing groups, appear in the SVG and
// PNG the host writes, at the label geometry for every view scale, on
// picture boxes only.
#include "integration_fixture.h"

#include "hostsim/render/font_engine.h"
#include "hostsim/render/picture_decode.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace lumbrel::integration {
namespace {

constexpr std::int16_t kGenevaID = 3;

struct SvgElement {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;  // character data of <text>
    double number(const std::string& key) const {
        const auto it = attributes.find(key);
        return it == attributes.end() ? std::nan("") : std::strtod(it->second.c_str(), nullptr);
    }
};

// The elements of the SVG in order (the writer puts one per line).
std::vector<SvgElement> elements(const std::string& svg) {
    std::vector<SvgElement> all;
    std::size_t at = 0;
    while ((at = svg.find('<', at)) != std::string::npos) {
        const std::size_t end = svg.find('>', at);
        if (end == std::string::npos) break;
        SvgElement e;
        std::string tag = svg.substr(at + 1, end - at - 1);
        at = end + 1;
        if (tag.empty() || tag[0] == '/' || tag[0] == '?') continue;
        const std::size_t blank = tag.find(' ');
        e.name = tag.substr(0, blank);
        std::size_t pos = blank;
        while (pos != std::string::npos && (pos = tag.find('=', pos)) != std::string::npos) {
            std::size_t keyStart = tag.rfind(' ', pos) + 1;
            const std::size_t valueEnd = tag.find('"', pos + 2);
            e.attributes[tag.substr(keyStart, pos - keyStart)] = tag.substr(pos + 2, valueEnd - pos - 2);
            pos = valueEnd;
        }
        if (e.name == "text") e.text = svg.substr(at, svg.find("</text>", at) - at);
        all.push_back(std::move(e));
    }
    return all;
}

struct Label {
    SvgElement rect, text;
};

// Every label: a white rectangle directly followed by black text in it.
std::vector<Label> labels(const std::string& svg) {
    const std::vector<SvgElement> all = elements(svg);
    std::vector<Label> found;
    for (std::size_t i = 0; i + 1 < all.size(); ++i) {
        const SvgElement& r = all[i];
        const SvgElement& t = all[i + 1];
        if (r.name == "rect" && r.attributes.count("fill") && r.attributes.at("fill") == "#ffffff" &&
            t.name == "text" && t.attributes.at("fill") == "#000000" && r.number("x") == t.number("x")) {
            found.push_back(Label{r, t});
        }
    }
    return found;
}

double labelWidth(const std::u16string& text, double size) {
    hostsim::render::FontEngine fonts;
    double width = 0;
    for (const char16_t unit : text) width += fonts.advance(kGenevaID, size, unit).value_or(0);
    return width;
}

class ViewPictureTest : public ModuleTest {
protected:
    std::string svgAt(double percent) {
        EXPECT_TRUE(sim().setViewScale(static_cast<hostsim::Fixed>(percent / 100.0 * 65536)));
        const std::string path = dir_.file("view.svg");
        std::string error;
        EXPECT_TRUE(sim().renderView(path, &error)) << error;
        return test::readFile(path);
    }
};

TEST_F(ViewPictureTest, LabelsSitAtTheBoxCornerAtEveryScaleWithTheFontsWidth) {
    startOrFail();
    openSample();
    EXPECT_TRUE(labels(svgAt(100)).empty());  // names are off at start
    ASSERT_TRUE(sim().chooseMenu("Show Image Names"));

    // Spread 1: the RGB TIFF at (460, 80) and the CMYK TIFF at (460, 320).
    struct Scale {
        double percent, scale;
    };
    for (const Scale s : {Scale{100, 1.0}, Scale{200, 2.0}, Scale{50, 0.5}}) {
        const std::vector<Label> found = labels(svgAt(s.percent));
        ASSERT_EQ(found.size(), 2U) << s.percent;
        const Label& rgb = found[0];
        EXPECT_EQ(rgb.text.text, "rgb.tif");
        EXPECT_EQ(found[1].text.text, "cmyk.tif");
        // 10 points on screen whatever the zoom: 5 document points at 200 %, 20 at 50 %.
        EXPECT_DOUBLE_EQ(rgb.text.number("font-size"), 10 / s.scale) << s.percent;
        EXPECT_EQ(rgb.text.attributes.at("font-family"), "DejaVu Sans");
        EXPECT_DOUBLE_EQ(rgb.text.number("x"), 460 + 2 / s.scale) << s.percent;
        EXPECT_DOUBLE_EQ(rgb.text.number("y"), 80 + 12 / s.scale) << s.percent;
        EXPECT_DOUBLE_EQ(rgb.rect.number("y"), 80 + 2 / s.scale) << s.percent;
        EXPECT_DOUBLE_EQ(rgb.rect.number("height"), 12 / s.scale) << s.percent;
        // The module measured the name with the host's metrics; the right
        // margin is 2 document points at every scale.
        const double fixedWidth = [&] {
            // The module sums 16.16 widths; the sum differs from the exact one by rounding only.
            return labelWidth(u"rgb.tif", 10 / s.scale);
        }();
        EXPECT_NEAR(rgb.rect.number("width"), fixedWidth + 2.0, 1e-3) << s.percent;
        EXPECT_GT(found[1].rect.number("width"), rgb.rect.number("width"));  // "cmyk" is longer than "rgb"
        EXPECT_NEAR(found[1].text.number("y"), 320 + 12 / s.scale, 1e-9);
    }
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

// A character beyond U+FFFF is one glyph on screen and is measured as one:
// the white background ends 2 points after the text whatever the name holds.
TEST_F(ViewPictureTest, TheBackgroundFitsNamesWithCharactersBeyondTheBasicPlane) {
    startOrFail();
    hostsim::Document made = spreadsDocument(1);
    const hostsim::BoxId box = made.addBox(1, hostsim::kBoxPicture, hostsim::Rect{100, 100, 200, 300});
    hostsim::Picture picture;
    picture.path = "/pics/smile \xF0\x9F\x98\x80 \xF0\x9D\x94\xB8.tif";  // U+1F600, U+1D538
    made.setPicture(box, picture);
    ASSERT_TRUE(sim().newDocument(std::move(made)).ok());
    ASSERT_TRUE(sim().chooseMenu("Show Image Names"));
    std::vector<Label> found;
    for (const Label& label : labels(svgAt(100))) {
        if (label.text.text.rfind("smile", 0) == 0) found.push_back(label);
    }
    ASSERT_EQ(found.size(), 1U);
    hostsim::render::FontEngine fonts;
    double byCharacter = 0, byUnit = 0;
    for (const char32_t c : std::u32string(U"smile \U0001F600 \U0001D538.tif")) {
        byCharacter += fonts.advance(kGenevaID, 10, c).value_or(0);
    }
    for (const char16_t unit : std::u16string(u"smile \U0001F600 \U0001D538.tif")) {
        byUnit += fonts.advance(kGenevaID, 10, unit).value_or(0);
    }
    ASSERT_GT(std::abs(byUnit - byCharacter), 1.0) << "the font has both glyphs";
    EXPECT_NEAR(found[0].rect.number("width"), byCharacter + 2.0, 1e-3);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(ViewPictureTest, OnlyPictureBoxesWithAPictureGetALabel) {
    startOrFail();
    openSample();
    ASSERT_TRUE(sim().chooseMenu("Show Image Names"));
    ASSERT_TRUE(sim().gotoPage(4));  // spread 3: EPS, PDF, an empty picture box and a text box
    const std::vector<Label> found = labels(svgAt(100));
    std::vector<std::string> names;
    for (const Label& l : found) names.push_back(l.text.text);
    EXPECT_EQ(names, (std::vector<std::string>{"photo-icc.eps", "pages.pdf"}));
    // Nothing at the empty box's or the text box's corner.
    for (const Label& l : found) {
        EXPECT_NE(l.text.number("y"), 320 + 12.0);
    }
    // The text box shows its own text, drawn by the host, with no white label behind it.
    const std::string svg = svgAt(100);
    EXPECT_NE(svg.find(">An empty picture box stands beside this text.</text>"), std::string::npos);

    // Switched off again, the labels are gone.
    ASSERT_TRUE(sim().chooseMenu("Show Image Names"));
    EXPECT_TRUE(labels(svgAt(100)).empty());
}

TEST_F(ViewPictureTest, ThePngShowsBlackNamesOnWhiteLabels) {
    startOrFail();
    openSample();
    ASSERT_TRUE(sim().chooseMenu("Show Image Names"));
    for (const double percent : {100.0, 200.0}) {
        const double scale = percent / 100;
        const std::vector<Label> found = labels(svgAt(percent));
        ASSERT_FALSE(found.empty());
        const std::string svg = test::readFile(dir_.file("view.svg"));
        // The SVG's viewBox origin is the PNG's top-left pixel.
        const SvgElement root = elements(svg).front();
        double originX = 0, originY = 0;
        ASSERT_EQ(std::sscanf(root.attributes.at("viewBox").c_str(), "%lf %lf", &originX, &originY), 2);

        const std::string png = dir_.file("view.png");
        std::string error;
        ASSERT_TRUE(sim().renderView(png, &error)) << error;
        const std::optional<hostsim::render::Raster> pixels = hostsim::render::decodePicture(png, &error);
        ASSERT_TRUE(pixels) << error;
        EXPECT_EQ(pixels->width, static_cast<int>(root.number("width")));

        const Label& rgb = found[0];
        const int left = static_cast<int>(std::ceil((rgb.rect.number("x") - originX) * scale));
        const int top = static_cast<int>(std::ceil((rgb.rect.number("y") - originY) * scale));
        const int right = static_cast<int>(std::floor((rgb.rect.number("x") + rgb.rect.number("width") - originX) * scale));
        const int bottom = static_cast<int>(std::floor((rgb.rect.number("y") + rgb.rect.number("height") - originY) * scale));
        int black = 0, white = 0, other = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const std::uint8_t* p = pixels->at(x, y);
                const bool grey = p[0] == p[1] && p[1] == p[2];
                if (grey && p[0] < 80) ++black;
                else if (grey && p[0] > 245) ++white;
                else if (!grey) ++other;
            }
        }
        EXPECT_GT(black, 15) << percent;  // the glyphs of "rgb.tif"
        EXPECT_GT(white, black) << percent;
        EXPECT_EQ(other, 0) << percent;  // nothing of the picture shows through
    }
}

TEST_F(ViewPictureTest, BadPathsFailWithAReasonAndNoDocumentIsNoPicture) {
    startOrFail();
    std::string error;
    EXPECT_FALSE(sim().renderView(dir_.file("view.png"), &error));
    EXPECT_EQ(error, "no document open");
    openSample();
    EXPECT_FALSE(sim().renderView(dir_.file("view.bmp"), &error));
    EXPECT_NE(error.find(".svg or .png"), std::string::npos);
    EXPECT_FALSE(sim().renderView(dir_.file("missing/folder/view.svg"), &error));
    EXPECT_TRUE(transcriptHas("view \"" + dir_.file("view.bmp") + "\" not written: " +
                              "cannot tell the picture kind of " + dir_.file("view.bmp") + " (use .svg or .png)"));
    // The highest zoom a session allows stays within the picture limit.
    ASSERT_TRUE(sim().setViewScale(80 << 16));
    ASSERT_TRUE(sim().renderView(dir_.file("big.svg"), &error)) << error;
    const SvgElement root = elements(test::readFile(dir_.file("big.svg"))).front();
    EXPECT_EQ(root.number("width"), 8000);
    EXPECT_EQ(root.number("height"), 8000);
}

}  // namespace
}  // namespace lumbrel::integration

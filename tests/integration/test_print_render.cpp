// Printed PostScript rendered by Ghostscript: the labels land at the boxes'
// top-left corners as the geometry says, black names on white backgrounds
// over the host's grey picture placeholders; no label pixels where none were
// asked for; and bad names and label settings never break the job.
#include "integration_fixture.h"
#include "print_support.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace lumbrel::integration {

namespace {

namespace fs = std::filesystem;

constexpr int kDpi = 144;
constexpr double kPixelsPerPoint = kDpi / 72.0;
constexpr double kLabelSize = 8.0;  // the default "FontSize"

struct Label {
    int page = 0;
    double x = 0.0, baseline = 0.0;  // page points from the top-left
    std::size_t length = 0;          // bytes of the name
};

// Every picture box with a path that starts on a document page gets its name
// at (left + 1, top + offset) of the page.
std::vector<Label> labelsOf(const hostsim::Document& doc, double offset) {
    std::vector<Label> labels;
    for (const LabelledBox& box : labelledBoxes(doc)) {
        labels.push_back(Label{box.page, box.bounds.left + 1.0 - box.pageRect.left,
                               box.bounds.top + offset - box.pageRect.top, box.fileName().size()});
    }
    return labels;
}

// A rectangle of device pixels.
struct PixelBox {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x1, y1 excluded
    bool contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

PixelBox pixels(double left, double top, double right, double bottom) {
    return PixelBox{static_cast<int>(std::floor(left * kPixelsPerPoint)), static_cast<int>(std::floor(top * kPixelsPerPoint)),
                    static_cast<int>(std::ceil(right * kPixelsPerPoint)),
                    static_cast<int>(std::ceil(bottom * kPixelsPerPoint))};
}

// Where a label may paint: from x as wide as its name could be (no glyph of
// the label font is wider than its size), from 0.8 size above the baseline to
// 0.2 size below, one pixel of slack around.
PixelBox labelArea(const Label& label) {
    const double slack = 1.0 / kPixelsPerPoint;
    return pixels(label.x - slack, label.baseline - 0.8 * kLabelSize - slack,
                  label.x + static_cast<double>(label.length) * kLabelSize + slack, label.baseline + 0.2 * kLabelSize + slack);
}

// The part surely covered by the white background whatever the glyphs:
// at least a quarter of the size per byte, a pixel in from every edge.
PixelBox labelCore(const Label& label) {
    const double inset = 1.0 / kPixelsPerPoint;
    return pixels(label.x + inset, label.baseline - 0.8 * kLabelSize + inset,
                  label.x + static_cast<double>(label.length) * kLabelSize * 0.25 - inset,
                  label.baseline + 0.2 * kLabelSize - inset);
}

int blackIn(const Rgb& page, const PixelBox& area) {
    int count = 0;
    for (int y = std::max(area.y0, 0); y < std::min(area.y1, page.height); ++y) {
        for (int x = std::max(area.x0, 0); x < std::min(area.x1, page.width); ++x) count += page.black(x, y) ? 1 : 0;
    }
    return count;
}

// A mid grey as Ghostscript renders setgray (its colour conversion may put
// the channels a unit apart).
bool grey(const std::uint8_t* pixel) {
    const int low = std::min({pixel[0], pixel[1], pixel[2]}), high = std::max({pixel[0], pixel[1], pixel[2]});
    return high - low <= 2 && low > 20 && high < 235;
}

class PrintRenderTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        if (!ghostscriptPresent()) GTEST_SKIP() << "Ghostscript (gs) is not installed";
    }

    // Prints the current document with labels on and the answer given; renders it.
    GhostscriptRun printAndRender(const std::string& name, const std::string& answer, bool labels = true) {
        if (labels) {
            EXPECT_TRUE(sim().chooseMenu("Show Image Names"));
        }
        hostsim::PrintRun run;
        run.path = dir_.file(name + ".ps");
        run.answer = answer;
        const hostsim::PrintResult result = sim().print(run);
        EXPECT_TRUE(result.ok) << result.error;
        const hostsim::Document& doc = *sim().current();
        GhostscriptRun rendered =
            renderWithGhostscript(run.path, dir_.path() / name, kDpi, doc.pageWidth, doc.pageHeight);
        EXPECT_EQ(rendered.exitCode, 0) << rendered.output;
        EXPECT_EQ(rendered.output.find("Error"), std::string::npos) << rendered.output;
        EXPECT_EQ(rendered.pages.size(), static_cast<std::size_t>(result.pages));
        return rendered;
    }
};

TEST_F(PrintRenderTest, LabelsLandAtTheTopLeftOfEveryPictureBoxAndNowhereElse) {
    startOrFail();
    openSample();
    const GhostscriptRun run = printAndRender("sample", "Yes");
    ASSERT_EQ(run.pages.size(), static_cast<std::size_t>(sim().current()->numPages()));
    // The font sent on the first page serves every later page.
    EXPECT_EQ(run.output.find("__f1"), std::string::npos) << run.output;

    const std::vector<Label> labels = labelsOf(*sim().current(), -3.0);
    ASSERT_FALSE(labels.empty());
    std::vector<std::size_t> labelsPerPage(run.pages.size());
    for (const Label& label : labels) {
        const Rgb& page = run.pages[static_cast<std::size_t>(label.page - 1)];
        EXPECT_GT(blackIn(page, labelArea(label)), 10) << "no name at page " << label.page << " x " << label.x;
        ++labelsPerPage[static_cast<std::size_t>(label.page - 1)];
    }
    // Black comes from the names only: the host draws in greys.
    for (std::size_t p = 0; p < run.pages.size(); ++p) {
        const Rgb& page = run.pages[p];
        int stray = 0;
        for (int y = 0; y < page.height; ++y) {
            for (int x = 0; x < page.width; ++x) {
                if (!page.black(x, y)) continue;
                bool inLabel = false;
                for (const Label& label : labels) {
                    if (static_cast<std::size_t>(label.page) == p + 1 && labelArea(label).contains(x, y)) inLabel = true;
                }
                stray += inLabel ? 0 : 1;
            }
        }
        EXPECT_EQ(stray, 0) << "black pixels outside the labels on page " << p + 1;
    }
    EXPECT_GT(std::count_if(labelsPerPage.begin() + 1, labelsPerPage.end(), [](std::size_t n) { return n > 0; }), 0)
        << "labels on later pages too";
}

TEST_F(PrintRenderTest, TheLabelBackgroundIsWhiteOverTheGreyPlaceholder) {
    // An offset that puts the label inside its box, over the picture's grey.
    constexpr double kOffset = 12.0;
    startOrFail();
    setPref("Offset", "12", "Labels");
    sim().quit();
    startOrFail();
    openSample();
    const GhostscriptRun run = printAndRender("inside", "Yes");
    ASSERT_EQ(run.pages.size(), static_cast<std::size_t>(sim().current()->numPages()));
    for (const Label& label : labelsOf(*sim().current(), kOffset)) {
        const Rgb& page = run.pages[static_cast<std::size_t>(label.page - 1)];
        const PixelBox core = labelCore(label);
        ASSERT_LT(core.x0, core.x1);
        int white = 0, black = 0, other = 0;
        for (int y = core.y0; y < core.y1; ++y) {
            for (int x = core.x0; x < core.x1; ++x) {
                if (page.white(x, y)) {
                    ++white;
                } else if (page.black(x, y)) {
                    ++black;
                } else {
                    ++other;
                }
            }
        }
        EXPECT_GT(white, 0) << "page " << label.page << " x " << label.x;
        EXPECT_GT(black, 0) << "page " << label.page << " x " << label.x;
        EXPECT_EQ(other, 0) << "grey shows through the label at page " << label.page << " x " << label.x;
        // Just above the label the box's grey placeholder shows.
        const int aboveY = core.y0 - static_cast<int>(1.5 * kPixelsPerPoint);
        const std::uint8_t* above = page.at(core.x0 + 1, aboveY);
        EXPECT_TRUE(grey(above))
            << "no grey above the label at page " << label.page << ": " << int(above[0]) << "," << int(above[1]) << ","
            << int(above[2]);
    }
}

TEST_F(PrintRenderTest, NoLabelPixelsWhenTheAnswerIsNoOrLabelsAreOff) {
    startOrFail();
    openSample();
    const GhostscriptRun off = printAndRender("off", "Yes", false);
    const GhostscriptRun no = printAndRender("no", "No");
    for (const GhostscriptRun* run : {&off, &no}) {
        ASSERT_FALSE(run->pages.empty());
        for (std::size_t p = 0; p < run->pages.size(); ++p) {
            const Rgb& page = run->pages[p];
            EXPECT_EQ(blackIn(page, PixelBox{0, 0, page.width, page.height}), 0) << "page " << p + 1;
        }
    }
    // The host's own drawing is there all the same: a grey picture placeholder.
    const Label first = labelsOf(*sim().current(), 20.0).front();
    const std::uint8_t* placeholder = no.pages[static_cast<std::size_t>(first.page - 1)].at(
        static_cast<int>((first.x + 4.0) * kPixelsPerPoint), static_cast<int>(first.baseline * kPixelsPerPoint));
    EXPECT_TRUE(grey(placeholder)) << int(placeholder[0]);
}

// ---- bad input through the real module ----------------------------------------------------------

// A document of one 600 × 800 page, for the pages of picture boxes below.
hostsim::Document onePageDocument() {
    hostsim::Document doc;
    doc.pageWidth = 600.0;
    doc.pageHeight = 800.0;
    hostsim::Spread spread;
    spread.width = 600.0;
    spread.height = 800.0;
    spread.pages.push_back(hostsim::Page{"1", 0, 0.0, 0.0});
    doc.addSpread(spread);
    return doc;
}

// A page of picture boxes whose names are everything a file name may hold.
hostsim::Document oddNamesDocument() {
    using namespace hostsim;
    Document doc = onePageDocument();
    doc.projectName = "Odd (names) \\ \xC3\xA9";
    const std::vector<std::string> names = {
        "/pics/a(b)c).tif",                       // unbalanced parentheses
        "/pics/back\\slash\\.tif",                // backslashes, one at the end
        "/pics/caf\xC3\xA9 \xFF\xFE\x80.tif",     // UTF-8, bytes that are no UTF-8
        "/pics/ctl\x01\x1B\r\n\t%%EOF\r.tif",     // control characters and a DSC comment
        "/" + std::string(506, 'x') + ".tif",     // 511 bytes
        "/pics/(((((((((((.tif",
    };
    double top = 40.0;
    for (const std::string& name : names) {
        const BoxId box = doc.addBox(1, kBoxPicture, Rect{top, 40.0, top + 80.0, 300.0});
        Picture picture;
        picture.path = name;
        picture.fileType = kFileTIFF;
        picture.colorSpace = kColorRGB;
        picture.bounds = Rect{0.0, 0.0, 50.0, 70.0};
        doc.setPicture(box, picture);
        top += 120.0;
    }
    doc.setCurrentPage(1);
    doc.markSaved();
    return doc;
}

// ---- names beyond ASCII ----------------------------------------------------------------------------------

// One page with a picture box per name, in chain order.
hostsim::Document namesDocument(const std::vector<std::string>& names) {
    using namespace hostsim;
    Document doc = onePageDocument();
    double top = 40.0;
    for (const std::string& name : names) {
        const BoxId box = doc.addBox(1, kBoxPicture, Rect{top, 40.0, top + 60.0, 400.0});
        Picture picture;
        picture.path = "/pics/" + name;
        doc.setPicture(box, picture);
        top += 100.0;
    }
    doc.setCurrentPage(1);
    doc.markSaved();
    return doc;
}

// The end of the PostScript string literal that starts at `open` ("(").
std::size_t literalEnd(const std::string& ps, std::size_t open) {
    int depth = 0;
    for (std::size_t i = open; i < ps.size(); ++i) {
        if (ps[i] == '\\') {
            ++i;
        } else if (ps[i] == '(') {
            ++depth;
        } else if (ps[i] == ')' && --depth == 0) {
            return i + 1;
        }
    }
    return std::string::npos;
}

// The job with the two strings of each label snippet (measured and shown)
// replaced, snippet by snippet, by the bytes of `texts` as hex strings: the
// same labels with their text set in the font directly.
std::string withLabelTexts(std::string ps, const std::vector<std::string>& texts) {
    std::size_t at = 0;
    for (const std::string& text : texts) {
        std::string hex = "<";
        for (const char c : text) {
            static constexpr char kDigits[] = "0123456789ABCDEF";
            hex += kDigits[static_cast<unsigned char>(c) >> 4];
            hex += kDigits[static_cast<unsigned char>(c) & 15];
        }
        hex += ">";
        at = ps.find("makefont setfont", at);
        if (at == std::string::npos) return {};
        for (const char* before : {"1 setgray ", "moveto\r"}) {
            const std::size_t open = ps.find('(', ps.find(before, at));
            const std::size_t end = literalEnd(ps, open);
            if (end == std::string::npos) return {};
            ps.replace(open, end - open, hex);
            at = open + hex.size();
        }
    }
    return ps;
}

bool samePages(const GhostscriptRun& a, const GhostscriptRun& b) {
    if (a.pages.size() != b.pages.size()) return false;
    for (std::size_t p = 0; p < a.pages.size(); ++p) {
        if (a.pages[p].pixels != b.pages[p].pixels) return false;
    }
    return true;
}

std::vector<std::string> dscLines(const std::string& ps) {
    std::vector<std::string> found;
    for (const std::string& line : psLines(ps)) {
        if (line.rfind("%%", 0) == 0) found.push_back(line);
    }
    std::sort(found.begin(), found.end());
    return found;
}

// Names arrive as UTF-8 in either Unicode form; the label font reads code
// page 1252. What Ghostscript draws for the module's labels is what it draws
// for the expected bytes set in the font directly.
TEST_F(PrintRenderTest, NamesBeyondAsciiPrintInTheFontsCodePage) {
    const std::string nfc = "B\xC3\xA4rbel Gr\xC3\xB6\xC3\x9F" "e caf\xC3\xA9 \xE2\x82\xAC" "5.tif";
    const std::string nfd = "Ba\xCC\x88rbel Gro\xCC\x88\xC3\x9F" "e cafe\xCC\x81 \xE2\x82\xAC" "5.tif";
    const std::string greek = "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1.tif";  // five Greek letters
    const std::string withCR = "a\r%%EOF\rb.tif";
    const std::string latin1 = "B\xE4rbel Gr\xF6\xDF" "e caf\xE9 \x80" "5.tif";  // code page 1252
    startOrFail();
    ASSERT_TRUE(sim().newDocument(namesDocument({nfc, nfd, greek, withCR}), "Names").ok());
    const GhostscriptRun job = printAndRender("names", "Yes");
    const std::string ps = test::readFile(dir_.file("names.ps"));

    const std::vector<std::string> lines = psLines(ps);
    const auto count = [&](const std::string& line) { return std::count(lines.begin(), lines.end(), line); };
    EXPECT_EQ(count("(B\\344rbel Gr\\366\\337e caf\\351 \\2005.tif) show"), 2) << "both forms";
    EXPECT_EQ(count("(?????.tif) show"), 1);
    EXPECT_EQ(count("(a\\015%%EOF\\015b.tif) show"), 1) << "one line";

    // The name adds no line that starts with "%%": those are the host's and
    // the font program's.
    const GhostscriptRun no = printAndRender("names-no", "No", false);
    std::vector<std::string> expectedDsc = dscLines(test::readFile(dir_.file("names-no.ps")));
    const std::vector<std::string> fontDsc = dscLines(test::readFile(test::sourcePath("resources/f1.ps")));
    expectedDsc.insert(expectedDsc.end(), fontDsc.begin(), fontDsc.end());
    std::sort(expectedDsc.begin(), expectedDsc.end());
    EXPECT_EQ(dscLines(ps), expectedDsc);
    EXPECT_FALSE(samePages(job, no));

    // The same texts set in the font directly render alike; with "?" for
    // the letters beyond ASCII they do not, so the font has those glyphs.
    const auto render = [&](const std::string& name, const std::vector<std::string>& texts) {
        const std::string edited = withLabelTexts(ps, texts);
        EXPECT_FALSE(edited.empty());
        test::writeFile(dir_.file(name + ".ps"), edited);
        const hostsim::Document& doc = *sim().current();
        return renderWithGhostscript(dir_.file(name + ".ps"), dir_.path() / name, kDpi, doc.pageWidth, doc.pageHeight);
    };
    const GhostscriptRun direct = render("direct", {latin1, latin1, "?????.tif", withCR});
    ASSERT_EQ(direct.exitCode, 0) << direct.output;
    EXPECT_TRUE(samePages(job, direct));
    const GhostscriptRun asked = render("asked", {"B?rbel Gr??e caf? ?5.tif", latin1, "?????.tif", withCR});
    ASSERT_EQ(asked.exitCode, 0) << asked.output;
    EXPECT_FALSE(samePages(job, asked));
    EXPECT_TRUE(violations().empty()) << violations().front();
}

struct LabelSettings {
    const char* name;
    const char* key;
    const char* value;
};

class BadLabelInputTest : public PrintRenderTest, public ::testing::WithParamInterface<LabelSettings> {};

TEST_P(BadLabelInputTest, GhostscriptRendersTheJobWithoutError) {
    startOrFail();
    const LabelSettings settings = GetParam();
    if (settings.key != nullptr) {
        setPref(settings.key, settings.value, "Labels");
        sim().quit();
        startOrFail();
    }
    ASSERT_TRUE(sim().newDocument(oddNamesDocument(), "Odd").ok());
    const GhostscriptRun run = printAndRender("odd", "Yes");
    ASSERT_EQ(run.pages.size(), 1U);
    EXPECT_TRUE(violations().empty()) << violations().front();
    const std::string ps = test::readFile(dir_.file("odd.ps"));
    EXPECT_EQ(psLines(ps).back(), "%%EOF");
}

INSTANTIATE_TEST_SUITE_P(
    Settings, BadLabelInputTest,
    ::testing::Values(LabelSettings{"Defaults", nullptr, nullptr},
                      LabelSettings{"FontName40", "FontName", "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn"},
                      LabelSettings{"FontNameWithSpaces", "FontName", "Times New Roman"},
                      LabelSettings{"FontNameWithSlash", "FontName", "a/b) show quit"},
                      LabelSettings{"FontSize0", "FontSize", "0"}, LabelSettings{"FontSizeNegative", "FontSize", "-12"},
                      LabelSettings{"FontSizeHuge", "FontSize", "10000"},
                      LabelSettings{"OffsetNotANumber", "Offset", "abc"}),
    [](const ::testing::TestParamInfo<LabelSettings>& param) { return std::string(param.param.name); });

}  // namespace

}  // namespace lumbrel::integration

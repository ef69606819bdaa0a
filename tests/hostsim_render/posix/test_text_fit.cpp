// Fitting box text and placeholder names: the one-pass fits cut every text
// exactly where measuring each shorter run again from its start cut it, and
// long texts render in bounded time.
#include "hostsim/render/font_engine.h"
#include "hostsim/render/page_renderer.h"
#include "hostsim/render/text_fit.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace hostsim::render {
namespace {

constexpr std::int16_t kHelvetica = 21;

double sum(std::u16string_view text, const UnitWidth& width) {
    double total = 0.0;
    for (const char16_t unit : text) total += width(unit);
    return total;
}

// The fits as the renderer made them before: shorten and measure again.
std::size_t measureEachCut(std::u16string_view line, double width, const UnitWidth& unitWidth) {
    std::size_t cut = line.size();
    while (cut > 0 && sum(line.substr(0, cut), unitWidth) > width) {
        const std::size_t blank = line.rfind(u' ', cut - 1);
        cut = (blank == std::u16string_view::npos || blank == 0) ? cut - 1 : blank;
    }
    return cut == 0 ? std::min<std::size_t>(1, line.size()) : cut;
}

std::size_t dropUntilItFits(std::u16string_view text, char16_t ellipsis, double room, const UnitWidth& unitWidth) {
    std::u16string units(text);
    while (!units.empty() && sum(units + ellipsis, unitWidth) > room) units.pop_back();
    return units.size();
}

// Line lengths of a paragraph wrapped by `fit`, blanks after a cut skipped.
template <typename Fit>
std::vector<std::size_t> wrap(std::u16string_view paragraph, double width, const UnitWidth& unitWidth, Fit fit) {
    std::vector<std::size_t> lines;
    while (!paragraph.empty()) {
        const std::size_t cut = fit(paragraph, width, unitWidth);
        lines.push_back(cut);
        std::size_t next = cut;
        while (next < paragraph.size() && paragraph[next] == u' ') ++next;
        paragraph.remove_prefix(next);
    }
    return lines;
}

// For messages: the text with every unit outside ASCII as '?'.
std::string printable(std::u16string_view text) {
    std::string out;
    for (const char16_t unit : text) out += unit < 0x80 ? static_cast<char>(unit) : '?';
    return out;
}

// The font's widths, each asked once: the old fits measure runs again and again.
UnitWidth fontWidths(FontEngine& fonts, double size) {
    auto known = std::make_shared<std::map<char16_t, double>>();
    return [&fonts, size, known](char16_t unit) {
        const auto found = known->find(unit);
        if (found != known->end()) return found->second;
        return (*known)[unit] = fonts.advance(kHelvetica, size, unit).value_or(size * 0.55);
    };
}

const std::vector<std::u16string> kTexts = {
    u"",           u" ",          u"a",           u"Wide",          u"Pictures of every kind",
    u" leading",   u"two  blanks", u"trailing  ",  u"WWWWWWWWWWWWWWWWWWWW",
    u"i i i i i i i i i i i i", u"caf\u00E9 \u2026 \U0001F600 smile", u"a\xD800" u"b lone surrogate"};

TEST(TextFit, EveryCutIsTheOneMeasuringEachRunAgainGave) {
    FontEngine fonts;
    ASSERT_TRUE(fonts.ready()) << fonts.error();
    const UnitWidth widths = fontWidths(fonts, 10.0);
    std::vector<std::u16string> texts = kTexts;
    std::mt19937 random(12);
    const std::u16string alphabet = u"aiWm. \u00E9  lI";
    for (int n = 0; n < 100; ++n) {
        std::u16string text;
        for (std::size_t length = random() % 40; length > 0; --length) text += alphabet[random() % alphabet.size()];
        texts.push_back(text);
    }
    for (const std::u16string& text : texts) {
        const double full = sum(text, widths);
        for (const double width : {-1.0, 0.0, 2.0, 5.5, 13.0, 30.0, 61.0, 100.0, full, full - 0.001, 1e9}) {
            EXPECT_EQ(fitLine(text, width, widths), measureEachCut(text, width, widths))
                << printable(text) << " in " << width;
            EXPECT_EQ(fitsWhole(text, width, widths), !(full > width)) << printable(text) << " in " << width;
            if (text.empty() || !(full > width)) continue;
            EXPECT_EQ(fitBeforeEllipsis(text, widths(u'\u2026'), width, widths),
                      dropUntilItFits(text, u'\u2026', width, widths))
                << printable(text) << " in " << width;
        }
    }
}

TEST(TextFit, AParagraphOfThousandsOfCharactersWrapsAsBefore) {
    // Helvetica's widths at 10 points, looked up: measuring each run again is
    // slow enough without asking the font each time.
    const UnitWidth widths = [](char16_t unit) {
        return unit == u' ' ? 2.78 : unit == u'e' ? 5.56 : unit == u'W' ? 9.44 : 8.33;
    };
    std::u16string paragraph;
    std::mt19937 random(7);
    while (paragraph.size() < 2000) {
        paragraph.append(1 + random() % 12, random() % 2 ? u'e' : u'W');
        paragraph.append(random() % 5 == 0 ? 2 : 1, u' ');
    }
    paragraph += std::u16string(300, u'm');  // a word longer than any line
    for (const double width : {40.0, 172.0}) {
        EXPECT_EQ(wrap(paragraph, width, widths, fitLine), wrap(paragraph, width, widths, measureEachCut)) << width;
    }
}

// A text box and a placeholder with long texts: megabytes used to take hours.
TEST(TextFit, LongTextsAndLongFileNamesRenderInBoundedTime) {
    Document doc;
    Spread spread;
    spread.width = 600;
    spread.height = 800;
    spread.pages.push_back(Page{"1", 0, 0.0, 0.0});
    doc.pageWidth = 600;
    doc.pageHeight = 800;
    const int n = doc.addSpread(spread);
    doc.setCurrentPage(1);
    std::string words;
    while (words.size() < 2'000'000) words += "picture names on the layout ";
    const BoxId text = doc.addBox(n, kBoxText, Rect{10, 10, 790, 300});
    doc.setText(text, words + std::string(2'000'000, 'x'));
    const BoxId picture = doc.addBox(n, kBoxPicture, Rect{10, 310, 110, 590});
    Picture missing;
    missing.path = "/no/such/folder/" + std::string(100'000, 'n') + ".tif";
    missing.bounds = Rect{0, 0, 20, 20};
    doc.setPicture(picture, missing);

    std::size_t lines = 0;
    EXPECT_TRUE(lumbrel::test::finishesWithin(std::chrono::seconds(20), [&] {
        FontEngine fonts;
        SceneOptions options;
        options.fonts = &fonts;
        const Scene scene = spreadScene(doc, n, 1.0, {}, options);
        for (const DrawOp& op : scene.list.ops) if (std::holds_alternative<TextOp>(op)) ++lines;
        // The box's lines down to its foot, and the shortened name.
        return lines == 64 + 1;
    })) << "no scene in time, or not 64 lines of text and a name";
}

}  // namespace
}  // namespace hostsim::render

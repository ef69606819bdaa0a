// Labels drawn through the host: which boxes get one, the label text, and
// the geometry at different view scales.
#include <gtest/gtest.h>

#include <string>

#include "desktop/desktop.h"
#include "labels/label_draw.h"
#include "labels/label_fixture.h"
#include "labels/labels.h"
#include "platform/keyboard.h"

namespace lumbrel::test {
namespace {

using ScreenLabelTest = LabelFixture;

constexpr double kEps = 1e-9;

void expectColor(const XTColor& color, int value) {
    EXPECT_EQ(color.red, value);
    EXPECT_EQ(color.green, value);
    EXPECT_EQ(color.blue, value);
    EXPECT_EQ(color.strength, 100);
}

TEST_F(ScreenLabelTest, MenuTogglesOffAndOnAndShiftKeepsLabelsOn) {
    const XTCommandID item = 901;
    doShowPath(0, item);
    EXPECT_EQ(labelState().mode, kLabelsFileName);
    EXPECT_TRUE(host().checked[item]);
    doShowPath(0, item);
    EXPECT_EQ(labelState().mode, kLabelsOff);
    EXPECT_FALSE(host().checked[item]);

    doShowPath(0, item);
    desktop::Desktop::instance().setKeyHeld(platform::kKeyCodeShift, true);
    doShowPath(0, item);
    EXPECT_EQ(labelState().mode, kLabelsShift);
    EXPECT_TRUE(host().checked[item]);
    doShowPath(0, item);
    EXPECT_EQ(labelState().mode, kLabelsShift);
    EXPECT_TRUE(host().checked[item]);
}

TEST_F(ScreenLabelTest, WhiteBackgroundAndBlackNameAt100Percent) {
    labelState().mode = kLabelsFileName;
    pictureBox(10, 100, 200, "/Volumes/Work/images/photo.tif");
    draw(10);

    ASSERT_EQ(host().fontNamesAsked.size(), 1U);
    EXPECT_EQ(host().fontNamesAsked[0], "Geneva");
    ASSERT_EQ(host().fontInstances.size(), 1U);
    const XTFontDesc& desc = host().fontInstances[0];
    EXPECT_EQ(desc.fontID, 3);
    EXPECT_EQ(desc.style, 0);
    EXPECT_EQ(desc.hSize, 10 * kPt);
    EXPECT_EQ(desc.vSize, 10 * kPt);

    ASSERT_EQ(host().texts.size(), 1U);
    const FakeText& text = host().texts[0];
    EXPECT_EQ(text.units, u"photo.tif");
    EXPECT_EQ(text.port, 42);
    EXPECT_EQ(text.font, 1);
    EXPECT_NEAR(text.x, 102.0, kEps);
    EXPECT_NEAR(text.y, 212.0, kEps);
    expectColor(text.color, 0);

    ASSERT_EQ(host().fills.size(), 1U);
    const FakeFill& fill = host().fills[0];
    EXPECT_EQ(fill.port, 42);
    // Nine units of 5 points; the right margin is 2 points.
    EXPECT_NEAR(fill.left, 102.0, kEps);
    EXPECT_NEAR(fill.top, 202.0, kEps);
    EXPECT_NEAR(fill.right, 102.0 + 45.0 + 2.0, kEps);
    EXPECT_NEAR(fill.bottom, 214.0, kEps);
    expectColor(fill.color, 255);

    ASSERT_EQ(host().disposedFonts.size(), 1U);
    EXPECT_EQ(host().disposedFonts[0], 1);
}

TEST_F(ScreenLabelTest, LabelKeepsItsScreenSizeAt200And50Percent) {
    labelState().mode = kLabelsFileName;
    pictureBox(10, 100, 200, "/a/abc");
    host().unitWidth = 2 * kPt;

    host().viewScale = 2 * kPt;
    draw(10);
    ASSERT_EQ(host().fontInstances.size(), 1U);
    EXPECT_EQ(host().fontInstances[0].hSize, 5 * kPt);
    ASSERT_EQ(host().texts.size(), 1U);
    EXPECT_NEAR(host().texts[0].x, 101.0, kEps);
    EXPECT_NEAR(host().texts[0].y, 206.0, kEps);
    ASSERT_EQ(host().fills.size(), 1U);
    EXPECT_NEAR(host().fills[0].top, 201.0, kEps);
    EXPECT_NEAR(host().fills[0].right, 101.0 + 6.0 + 2.0, kEps);
    EXPECT_NEAR(host().fills[0].bottom, 207.0, kEps);

    host().viewScale = kPt / 2;
    draw(10);
    ASSERT_EQ(host().fontInstances.size(), 2U);
    EXPECT_EQ(host().fontInstances[1].hSize, 20 * kPt);
    EXPECT_EQ(host().fontInstances[1].vSize, 20 * kPt);
    EXPECT_NEAR(host().texts[1].x, 104.0, kEps);
    EXPECT_NEAR(host().texts[1].y, 224.0, kEps);
    EXPECT_NEAR(host().fills[1].top, 204.0, kEps);
    EXPECT_NEAR(host().fills[1].right, 104.0 + 6.0 + 2.0, kEps);
    EXPECT_NEAR(host().fills[1].bottom, 228.0, kEps);
}

TEST_F(ScreenLabelTest, ScaleOfZeroNegativeOrBelowOnePercentCountsAsFull) {
    labelState().mode = kLabelsFileName;
    pictureBox(10, 100, 200, "/a/abc");
    for (const Fixed scale : {Fixed{0}, Fixed{-kPt}, Fixed{kPt / 100}, Fixed{1}}) {
        host().viewScale = scale;
        draw(10);
    }
    ASSERT_EQ(host().fontInstances.size(), 4U);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(host().fontInstances[i].hSize, 10 * kPt) << i;
        EXPECT_NEAR(host().texts[i].x, 102.0, kEps) << i;
        EXPECT_NEAR(host().texts[i].y, 212.0, kEps) << i;
    }

    // Just above the floor the label grows as the view shrinks.
    host().viewScale = kPt / 64;  // 1.5625 %
    draw(10);
    ASSERT_EQ(host().fontInstances.size(), 5U);
    EXPECT_EQ(host().fontInstances[4].hSize, 640 * kPt);
}

TEST_F(ScreenLabelTest, LabelTextBySeparatorAndShiftShowsTheWholePath) {
    labelState().mode = kLabelsFileName;
    pictureBox(1, 0, 0, "/Users/me/pics/a:b.jpg");
    pictureBox(2, 0, 0, "Macintosh HD:Pictures:scan.eps");
    pictureBox(3, 0, 0, "");
    host().slugs[{3, XT_SLUG_BOX, XT_SLUG_IMAGENAME}] = "dropped.png";
    pictureBox(4, 0, 0, "");
    host().slugs[{4, XT_SLUG_BOX, XT_SLUG_IMAGENAME}] = "relative/name.pdf";
    for (XTBoxID box = 1; box <= 4; ++box) draw(box);
    ASSERT_EQ(host().texts.size(), 4U);
    EXPECT_EQ(host().texts[0].units, u"a:b.jpg");
    EXPECT_EQ(host().texts[1].units, u"scan.eps");
    EXPECT_EQ(host().texts[2].units, u"dropped.png");
    EXPECT_EQ(host().texts[3].units, u"relative/name.pdf");

    labelState().mode = kLabelsShift;
    draw(1);
    draw(2);
    ASSERT_EQ(host().texts.size(), 6U);
    EXPECT_EQ(host().texts[4].units, u"/Users/me/pics/a:b.jpg");
    EXPECT_EQ(host().texts[5].units, u"Macintosh HD:Pictures:scan.eps");

    EXPECT_EQ(labelText("/a/b/", kLabelsFileName), "");
    EXPECT_EQ(labelText("plain.tif", kLabelsFileName), "plain.tif");
}

TEST_F(ScreenLabelTest, NonAsciiNameIsDrawnAsUtf16) {
    labelState().mode = kLabelsFileName;
    pictureBox(1, 0, 0, "/x/Gr\xC3\xBC\xC3\x9F\x65 \xF0\x9F\x93\xB7.jpg");
    draw(1);
    ASSERT_EQ(host().texts.size(), 1U);
    EXPECT_EQ(host().texts[0].units, u"Gr\u00FC\u00DFe \U0001F4F7.jpg");
    // The surrogate pair is one character, measured once.
    EXPECT_NEAR(host().fills[0].right, 2.0 + 11 * 5.0 + 2.0, kEps);
}

TEST_F(ScreenLabelTest, NoLabelForOtherBoxesPhasesOrEmptyNames) {
    pictureBox(1, 0, 0, "/x/a.tif");
    draw(1);
    EXPECT_TRUE(host().fills.empty()) << "labels are off";

    labelState().mode = kLabelsFileName;
    host().addBox(1, 2, XT_BOX_TEXT, rectPt(0, 0, 10, 10));
    host().slugs[{2, XT_SLUG_BOX, XT_SLUG_IMAGENAME}] = "stale.tif";
    pictureBox(3, 0, 0, "");  // no picture, no stored name
    pictureBox(4, 0, 0, "/x/invalid-\xFF-utf8.tif");
    draw(2);
    draw(3);
    draw(4);
    for (const int phase : {0, 1, 3, -2}) draw(1, static_cast<std::int16_t>(phase));
    EXPECT_TRUE(host().fills.empty());
    EXPECT_TRUE(host().texts.empty());
    EXPECT_TRUE(host().fontInstances.empty());

    draw(1);
    EXPECT_EQ(host().texts.size(), 1U);
}

TEST_F(ScreenLabelTest, EveryFontInstanceIsReleased) {
    labelState().mode = kLabelsFileName;
    pictureBox(1, 0, 0, "/x/a.tif");
    pictureBox(2, 0, 0, "/x/b.tif");
    draw(1);
    draw(2);
    draw(1);
    ASSERT_EQ(host().fontInstances.size(), 3U);
    EXPECT_EQ(host().disposedFonts, (std::vector<XTFontInst>{1, 2, 3}));
}

}  // namespace
}  // namespace lumbrel::test

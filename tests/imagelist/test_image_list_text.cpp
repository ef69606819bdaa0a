// The pieces of the image list's text that need no host: the page heading,
// the size field, the file name check and the line list that keeps each
// line once.
#include "imagelist/image_line.h"
#include "imagelist/line_set.h"
#include "imagelist/list_file_name.h"
#include "imagelist/list_layouts.h"
#include "platform/platform_traits.h"

#include <gtest/gtest.h>

#include <string>

namespace lumbrel {
namespace {

TEST(PageHeading, OneLabelInThePlaceOfItsPlaceholderAndNothingElseRead) {
    EXPECT_EQ(pageHeading("Page %s:\r\n\r\n", "iv"), "Page iv:\r\n\r\n");
    EXPECT_EQ(pageHeading("Seite %s:", "A-3"), "Seite A-3:");
    EXPECT_EQ(pageHeading("%s %s %d 100%%", "7"), "7 %s %d 100%");
    EXPECT_EQ(pageHeading("no placeholder", "7"), "no placeholder");
    EXPECT_EQ(pageHeading("trailing %", "7"), "trailing %");
}

TEST(PictureSize, MillimetresForTheMetricUnitsInchesOtherwiseWidthFirst) {
    constexpr Fixed kInch = 72 * 65536;
    const struct {
        std::int16_t unit;
        Fixed width, height;
        const char* text;
    } cases[] = {
        {XT_UNIT_MILLIMETRES, 2 * kInch, kInch, "50.8 mm x 25.4 mm"},
        {XT_UNIT_CENTIMETRES, 2 * kInch, kInch, "50.8 mm x 25.4 mm"},
        {XT_UNIT_INCHES, 2 * kInch, kInch, "2.0 inch x 1.0 inch"},
        {XT_UNIT_POINTS, kInch / 2, 3 * kInch, "0.5 inch x 3.0 inch"},
        {XT_UNIT_PICAS, 0, 0, "0.0 inch x 0.0 inch"},
    };
    for (const auto& c : cases) {
        char text[128];
        formatPictureSize(c.width, c.height, c.unit, text, sizeof text);
        EXPECT_STREQ(text, c.text) << c.unit;
    }
}

TEST(ListFileName, PlainNamesOnlySoTheListStaysInItsFolder) {
    const struct {
        std::string name;
        bool plain;
    } cases[] = {
        {"list.txt", true},        {"Bilder 2.txt", true},  {"a..b.txt", true},
        {std::string(255, 'n'), true},
        {"", false},               {"a/b.txt", false},      {"/etc/passwd", false},
        {"..", false},             {".", false},            {"../list.txt", false},
        {std::string(256, 'n'), false},
    };
    for (const auto& c : cases) EXPECT_EQ(isPlainListFileName(c.name.c_str()), c.plain) << c.name;
}

// Names the Windows file system would take as a drive, a file stream, a
// wildcard or no name at all; the POSIX build (the Mac's) keeps them.
TEST(ListFileName, WindowsRefusesDrivesStreamsWildcardsAndControlCharacters) {
    const bool windows = platform::Traits::kPathSeparator == '\\';
    const struct {
        const char* name;
        bool plainOnWindows;
        bool plainOnPosix;
    } cases[] = {
        {"Bilderliste Ä.txt", true, true}, {R"(..\list.txt)", false, true}, {R"(C:\list.txt)", false, true},
        {"C:list.txt", false, true},        {"list.txt:hidden", false, true}, {"list?.txt", false, true},
        {"a*.txt", false, true},            {"a<b>.txt", false, true},        {"a|b.txt", false, true},
        {"\"quoted\".txt", false, true},    {"tab\there.txt", false, true},  {"line\nend.txt", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isPlainListFileName(c.name), windows ? c.plainOnWindows : c.plainOnPosix) << c.name;
    }
}

TEST(IndexedLineList, KeepsEachLineOnceInOrderAndRefusesWhatDoesNotFit) {
    IndexedLineList lines(16);
    EXPECT_TRUE(lines.append("b"));
    EXPECT_TRUE(lines.append("a"));
    EXPECT_FALSE(lines.append("b"));
    EXPECT_TRUE(lines.append("B"));
    EXPECT_FALSE(lines.append("0123456789ab"));  // 13 bytes, 10 left
    EXPECT_TRUE(lines.append("ccc"));
    EXPECT_EQ(lines.getCount(), 4);
    EXPECT_EQ(lines.getPos("a"), 1);
    EXPECT_EQ(lines.getPos("ccc"), 3);
    EXPECT_EQ(std::string(lines.getBuffer(), static_cast<std::size_t>(lines.getUsed())),
              std::string("b\0a\0B\0ccc\0", 10));
    IndexedLineList none(0);
    EXPECT_FALSE(none.append("x"));
}

}  // namespace
}  // namespace lumbrel

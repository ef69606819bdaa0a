// Character-wise reading of UTF-8 from outside, and the keys names are
// compared by without regard to case and Unicode form.
#include <gtest/gtest.h>

#include <string>

#include "util/utf8_text.h"

namespace lumbrel {
namespace {

TEST(UTF8Text, CharactersAreCodePointsAndStrayBytesCountOneEach) {
    const struct {
        std::string text;
        std::size_t characters, prefixBytes;  // the bytes of the first `characters`
    } rows[] = {
        {"abc", 2, 2},
        {"\xC3\xA4\xE2\x82\xAC\xF0\x9F\x93\xB7z", 3, 9},
        {"\xF0\x9F\x93\xB7z", 1, 4},
        {"\xFF\xFE" "a", 2, 2},
        {"\xC3" "a", 1, 1},           // a sequence cut short: its lead byte alone
        {"\xED\xA0\x80" "a", 1, 1},   // an encoded surrogate is no UTF-8
        {"\xC0\xAF" "a", 1, 1},       // nor is an overlong form
        {"ab", 5, 2},
        {"", 3, 0},
    };
    for (const auto& row : rows) EXPECT_EQ(utf8PrefixLength(row.text, row.characters), row.prefixBytes) << row.text;

    const UTF8Character euro = utf8CharacterAt("x\xE2\x82\xAC", 1);
    EXPECT_EQ(euro.codePoint, U'\u20AC');
    EXPECT_EQ(euro.length, 3U);
    EXPECT_EQ(utf8CharacterAt("\x80", 0).codePoint, UTF8Character::kNotUTF8);
    EXPECT_EQ(utf8CharacterAt("a", 1).length, 0U);
    EXPECT_EQ(validUTF8("a\xFF\xC3"), "a\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(validUTF8("\xC3\xA4"), "\xC3\xA4");
}

TEST(UTF8Text, ComposedFormKeepsWhatItCannotRead) {
    EXPECT_EQ(composedUTF8("A\xCC\x88rger"), "\xC3\x84rger");
    EXPECT_EQ(composedUTF8("\xC3\x84rger"), "\xC3\x84rger");
    EXPECT_EQ(composedUTF8("A\xCC\x88\xFF"), "A\xCC\x88\xFF");  // not UTF-8: as it is
    EXPECT_EQ(composedUTF8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(UTF8Text, FoldedKeysAreEqualExactlyForTheSameNameInAnyCaseOrForm) {
    const struct {
        const char* a;
        const char* b;
        bool same;
    } rows[] = {
        {"Photo.TIF", "photo.tif", true},
        {"\xC3\x84rger.tif", "\xC3\xA4rger.tif", true},          // Ärger, ärger
        {"A\xCC\x88rger.tif", "\xC3\xA4RGER.TIF", true},          // decomposed and composed
        {"a\xCC\x88rger.tif", "\xC3\x84rger.tif", true},
        {"Stra\xC3\x9F" "e.tif", "STRASSE.TIF", true},              // full folding: ß is ss
        {"\xCE\xA3\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1", "\xCF\x83\xCE\xBF\xCF\x86\xCE\xB9\xCC\x81\xCE\xB1", true},
        {"\xC3\x85ngstr\xC3\xB6m", "\xE2\x84\xAB" "NGSTRO\xCC\x88M", true},  // the Ångström sign
        {"\xC3\xA4rger.tif", "arger.tif", false},
        {"photo.tif", "photo.tiff", false},
        {"[", "{", false},
        {"\xFF" "A.tif", "\xFF" "a.tif", true},                    // not UTF-8: ASCII letters alone fold
        {"\xFF\xC3\x84", "\xFF\xC3\xA4", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(caseFoldedKey(row.a) == caseFoldedKey(row.b), row.same) << row.a << " / " << row.b;
    }
    EXPECT_EQ(caseFoldedKey("MiXeD.Tif"), "mixed.tif");
}

}  // namespace
}  // namespace lumbrel

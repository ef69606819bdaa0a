#include "util/my_str.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform_traits.h"
#include "settings/localised_strings.h"
#include "settings/resources.h"
#include "support/test_support.h"
#include "util/string_table_fixture.h"
#include "util/files_paths.h"
#include "util/mac_roman.h"

namespace lumbrel {
namespace {

std::u16string unitsOf(MyStr& s) {
    std::int32_t length = -1;
    const std::uint16_t* units = s.uStr(&length);
    if (units == nullptr) return {};
    return std::u16string(units, units + length);
}

std::string utf8Of(const MyStr& s, std::size_t max = 1024) {
    std::vector<char> out(max, '\x7f');
    if (!s.getString(out.data(), max, kEncodingUTF8)) return "<failed>";
    return out.data();
}

// ---- decoding -------------------------------------------------------------------

TEST(MyStr, DecodesUTF8IntoUTF16) {
    MyStr s("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80", kEncodingUTF8);
    ASSERT_TRUE(s.hasString());
    EXPECT_EQ(unitsOf(s), u"Grüße € \U0001F600");
    EXPECT_EQ(s.getLen(), 10);  // the emoji takes two units
    EXPECT_EQ(utf8Of(s), "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80");

    MyStr empty("", kEncodingUTF8);
    EXPECT_TRUE(empty.hasString());
    EXPECT_EQ(empty.getLen(), 0);
    EXPECT_EQ(utf8Of(empty), "");
}

TEST(MyStr, InvalidUTF8GivesNoString) {
    const char* invalid[] = {
        "\x80",              // a continuation byte alone
        "ab\xC3",            // a sequence cut by the end
        "\xE2\x82",          // the same, three-byte form
        "\xC0\xAF",          // overlong "/"
        "\xE0\x80\xAF",      // overlong, three bytes
        "\xF0\x80\x80\xAF",  // overlong, four bytes
        "\xED\xA0\x80",      // an encoded surrogate
        "\xF4\x90\x80\x80",  // beyond U+10FFFF
        "\xF5\x80\x80\x80",  // a lead byte that never occurs
        "\xFF",
        ("a\xC3" "b"),       // a lead byte without its continuation
    };
    for (const char* text : invalid) {
        MyStr s(text, kEncodingUTF8);
        EXPECT_FALSE(s.hasString()) << text;
        EXPECT_EQ(s.getLen(), 0);
        EXPECT_EQ(s.UTF8Str(), nullptr);
    }
    // The limits themselves are characters.
    MyStr last("\xF4\x8F\xBF\xBF", kEncodingUTF8);
    EXPECT_EQ(unitsOf(last), u"\U0010FFFF");
    MyStr beforeSurrogates("\xED\x9F\xBF", kEncodingUTF8);
    EXPECT_EQ(unitsOf(beforeSurrogates), u"\uD7FF");
    MyStr bom("\xEF\xBB\xBFx", kEncodingUTF8);
    EXPECT_EQ(unitsOf(bom), u"\uFEFFx");  // kept as a character
}

TEST(MyStr, NullAndUnknownEncodingsGiveNoString) {
    EXPECT_FALSE(MyStr(static_cast<const char*>(nullptr), kEncodingUTF8).hasString());
    EXPECT_FALSE(MyStr("abc", kEncodingUTF16).hasString());
    EXPECT_FALSE(MyStr("abc", 0x1234u).hasString());
    EXPECT_FALSE(MyStr(static_cast<const unsigned char*>(nullptr), kEncodingMacRoman).hasString());
    EXPECT_FALSE(MyStr(static_cast<const std::uint16_t*>(nullptr), 3).hasString());
    EXPECT_FALSE(MyStr(PlatformString()).hasString());
}

TEST(MyStr, MacRomanUpperHalf) {
    // Every byte decodes, to a different character, and encodes back.
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    MyStr s(all.c_str(), kEncodingMacRoman);
    ASSERT_EQ(s.getLen(), 255);
    const std::u16string units = unitsOf(s);
    for (std::size_t i = 0; i < 127; ++i) EXPECT_EQ(units[i], i + 1);
    std::vector<char16_t> sorted(units.begin(), units.end());
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    char back[256];
    ASSERT_TRUE(s.getString(back, sizeof back, kEncodingMacRoman));
    EXPECT_EQ(std::string(back), all);

    // Characters the Mac's own files and menus rely on.
    EXPECT_EQ(macRomanToUnicode(0x80), u'Ä');
    EXPECT_EQ(macRomanToUnicode(0x8A), u'ä');
    EXPECT_EQ(macRomanToUnicode(0xA7), u'ß');
    EXPECT_EQ(macRomanToUnicode(0xCA), u'\u00A0');
    EXPECT_EQ(macRomanToUnicode(0xDB), u'€');
    EXPECT_EQ(macRomanToUnicode(0xF0), u'\uF8FF');
    EXPECT_EQ(macRomanToUnicode(0xD2), u'“');
    EXPECT_EQ(macRomanToUnicode(0xFF), u'ˇ');
}

TEST(MyStr, EncodingToMacRomanFailsForUnmappedCharacters) {
    char out[16] = "untouched";
    MyStr a("\xC4\x80", kEncodingUTF8);  // U+0100, not in Mac OS Roman
    EXPECT_FALSE(a.getString(out, sizeof out, kEncodingMacRoman));
    EXPECT_STREQ(out, "untouched");
    MyStr currency("\xC2\xA4", kEncodingUTF8);  // the sign 0xDB held before the euro
    EXPECT_FALSE(currency.getString(out, sizeof out, kEncodingMacRoman));
    MyStr emoji("\xF0\x9F\x98\x80", kEncodingUTF8);
    EXPECT_FALSE(emoji.getString(out, sizeof out, kEncodingMacRoman));
    EXPECT_STREQ(out, "untouched");

    MyStr euro("5 \xE2\x82\xAC", kEncodingUTF8);
    ASSERT_TRUE(euro.getString(out, sizeof out, kEncodingMacRoman));
    EXPECT_STREQ(out, "5 \xDB");
}

TEST(MyStr, WindowsLatin1) {
    MyStr s("\x80 \x9F \xE9", kEncodingWindowsLatin1);
    EXPECT_EQ(unitsOf(s), u"€ Ÿ é");
    char out[16];
    ASSERT_TRUE(s.getString(out, sizeof out, kEncodingWindowsLatin1));
    EXPECT_STREQ(out, "\x80 \x9F \xE9");
    for (const char* undefined : {"\x81", "\x8D", "\x8F", "\x90", "\x9D"}) {
        EXPECT_FALSE(MyStr(undefined, kEncodingWindowsLatin1).hasString()) << static_cast<int>(static_cast<unsigned char>(undefined[0]));
    }
    MyStr omega("\xCE\xA9", kEncodingUTF8);  // in Mac OS Roman, not in cp1252
    EXPECT_FALSE(omega.getString(out, sizeof out, kEncodingWindowsLatin1));
    EXPECT_TRUE(omega.getString(out, sizeof out, kEncodingMacRoman));
}

TEST(MyStr, PascalStrings) {
    const unsigned char pascal[] = {5, 'c', 'a', 'f', 0x8E, '!', 'X', 'Y'};
    MyStr s(pascal, kEncodingMacRoman);
    EXPECT_EQ(unitsOf(s), u"café!");  // the bytes behind the length are not read

    unsigned char out[16];
    std::memset(out, 0xAA, sizeof out);
    ASSERT_TRUE(s.getString(out, sizeof out, kEncodingUTF8));
    EXPECT_EQ(out[0], 6);
    EXPECT_EQ(std::memcmp(out + 1, "caf\xC3\xA9!", 6), 0);
    EXPECT_EQ(out[7], 0xAA);  // no terminator

    // The length byte and the text must fit in max.
    std::memset(out, 0xAA, sizeof out);
    EXPECT_FALSE(s.getString(out, 5, kEncodingMacRoman));
    EXPECT_EQ(out[0], 0xAA);
    ASSERT_TRUE(s.getString(out, 1 + 5, kEncodingMacRoman));
    EXPECT_EQ(out[0], 5);

    // At most 255 bytes of text, whatever max says.
    MyStr longText(std::string(256, 'a').c_str(), kEncodingUTF8);
    unsigned char big[300];
    EXPECT_FALSE(longText.getString(big, sizeof big, kEncodingMacRoman));
    MyStr longest(std::string(255, 'a').c_str(), kEncodingUTF8);
    ASSERT_TRUE(longest.getString(big, sizeof big, kEncodingMacRoman));
    EXPECT_EQ(big[0], 255);

    const unsigned char empty[] = {0};
    MyStr none(empty, kEncodingMacRoman);
    EXPECT_TRUE(none.hasString());
    EXPECT_EQ(none.getLen(), 0);
}

TEST(MyStr, CStringsMustFitWhole) {
    MyStr s("abc\xC3\xA9", kEncodingUTF8);  // 5 bytes of UTF-8
    char out[8] = "xxxxxxx";
    EXPECT_FALSE(s.getString(out, 5, kEncodingUTF8));
    EXPECT_STREQ(out, "xxxxxxx");
    EXPECT_FALSE(s.getString(out, 0, kEncodingUTF8));
    ASSERT_TRUE(s.getString(out, 6, kEncodingUTF8));
    EXPECT_STREQ(out, "abc\xC3\xA9");
    ASSERT_TRUE(s.getString(out, 5, kEncodingMacRoman));  // one byte for é here
    EXPECT_STREQ(out, "abc\x8E");
    MyStr none;
    EXPECT_FALSE(none.getString(out, sizeof out, kEncodingUTF8));
}

TEST(MyStr, Numbers) {
    EXPECT_EQ(utf8Of(MyStr(std::int32_t{0})), "0");
    EXPECT_EQ(utf8Of(MyStr(std::int32_t{-42})), "-42");
    EXPECT_EQ(utf8Of(MyStr(std::int32_t{2147483647})), "2147483647");
    EXPECT_EQ(utf8Of(MyStr(std::int32_t{-2147483647 - 1})), "-2147483648");
}

TEST(MyStr, UTF16Units) {
    const std::uint16_t units[] = {'a', 0xD83D, 0xDE00, 0, 'b', 0};
    MyStr upToZero(units, 0);
    EXPECT_EQ(upToZero.getLen(), 3);
    MyStr withZero(units, 5);
    EXPECT_EQ(unitsOf(withZero), std::u16string(u"a\U0001F600\0b", 5));
    MyStr negative(units, -1);
    EXPECT_FALSE(negative.hasString());

    // A lone surrogate is kept as a unit but has no UTF-8 form.
    const std::uint16_t lone[] = {'x', 0xDC00, 'y', 0};
    MyStr s(lone, 0);
    EXPECT_EQ(s.getLen(), 3);
    char out[16] = "untouched";
    EXPECT_FALSE(s.getString(out, sizeof out, kEncodingUTF8));
    EXPECT_STREQ(out, "untouched");
    EXPECT_STREQ(s.UTF8Str(), "x");  // converted up to the surrogate
}

TEST(MyStr, PlatformStringIsShared) {
    auto shared = std::make_shared<const std::u16string>(u"shared text");
    MyStr s(shared);
    EXPECT_EQ(s.platformString().get(), shared.get());
    EXPECT_EQ(shared.use_count(), 2);
    s.reset();
    EXPECT_FALSE(s.hasString());
    EXPECT_EQ(shared.use_count(), 1);
}

// ---- reading it back ------------------------------------------------------------

TEST(MyStr, GetStringIntoUnitsOnlyWhenThereIsRoomBeyondTheLength) {
    MyStr s("abc", kEncodingUTF8);
    std::uint16_t out[5] = {0, 0, 0, 0, 0};
    EXPECT_FALSE(s.getString(out, 3));
    EXPECT_EQ(out[0], 0);
    ASSERT_TRUE(s.getString(out, 4));
    EXPECT_EQ(out[0], 'a');
    EXPECT_EQ(out[2], 'c');
    EXPECT_EQ(out[3], 0);  // the caller's zero stays the terminator

    std::uint16_t marked[5] = {9, 9, 9, 9, 9};
    ASSERT_TRUE(s.getString(marked, 5));
    EXPECT_EQ(marked[3], 9);  // nothing written behind the text
    MyStr none;
    EXPECT_FALSE(none.getString(out, 5));
}

TEST(MyStr, UTF8StrBlockIsZeroFilledAndOwned) {
    MyStr s("\xE2\x82\xAC" "1", kEncodingUTF8);  // 2 units, 4 bytes of UTF-8
    const char* utf8 = s.UTF8Str();
    ASSERT_NE(utf8, nullptr);
    EXPECT_STREQ(utf8, "\xE2\x82\xAC" "1");
    for (int i = 4; i < (2 + 1) * 4; ++i) EXPECT_EQ(utf8[i], '\0') << i;
    EXPECT_EQ(s.UTF8Str(), utf8);  // made once

    MyStr none;
    EXPECT_EQ(none.UTF8Str(), nullptr);
    MyStr empty("", kEncodingUTF8);
    ASSERT_NE(empty.UTF8Str(), nullptr);
    EXPECT_STREQ(empty.UTF8Str(), "");
}

TEST(MyStr, UStrAndGetUString) {
    MyStr s("a\xC3\xA9", kEncodingUTF8);
    std::int32_t length = -1;
    const std::uint16_t* units = s.uStr(&length);
    ASSERT_NE(units, nullptr);
    EXPECT_EQ(length, 2);
    EXPECT_EQ(units[1], 0xE9);
    EXPECT_EQ(units[2], 0);
    EXPECT_EQ(s.uStr(nullptr), units);

    std::uint16_t* copy = s.getUString();
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, units);
    EXPECT_EQ(copy[0], 'a');
    EXPECT_EQ(copy[2], 0);
    std::free(copy);

    MyStr none;
    length = 77;
    EXPECT_EQ(none.uStr(&length), nullptr);
    EXPECT_EQ(length, 77);
    EXPECT_EQ(none.getUString(), nullptr);
}

TEST(MyStr, InitAndResetEmptyEverything) {
    MyStr s("text", kEncodingUTF8);
    ASSERT_NE(s.UTF8Str(), nullptr);
    ASSERT_NE(s.uStr(nullptr), nullptr);
    s.init();
    EXPECT_FALSE(s.hasString());
    EXPECT_EQ(s.UTF8Str(), nullptr);
    EXPECT_EQ(s.uStr(nullptr), nullptr);
    EXPECT_EQ(s.getLen(), 0);
    s.reset();  // twice is harmless
    EXPECT_FALSE(s.hasString());
}

// ---- host strings ---------------------------------------------------------------

// A stand-in for the host's string objects, counting what is made and destroyed.
struct FakeHostString {
    std::vector<std::uint16_t> units;
};
int gCreated = 0;
int gDestroyed = 0;

QXStringRef__* toRef(FakeHostString* s) { return reinterpret_cast<QXStringRef__*>(s); }
FakeHostString* fromRef(QXStringRef__* s) { return reinterpret_cast<FakeHostString*>(s); }

QXStringRef__* fakeCreate(const std::uint16_t* units, std::int32_t length) {
    ++gCreated;
    return toRef(new FakeHostString{std::vector<std::uint16_t>(units, units + length)});
}
std::int32_t fakeLength(QXStringRef__* s) { return static_cast<std::int32_t>(fromRef(s)->units.size()); }
std::int32_t fakeCopy(QXStringRef__* s, std::uint16_t* out, std::int32_t capacity) {
    const auto& units = fromRef(s)->units;
    const std::size_t n = std::min(units.size(), static_cast<std::size_t>(capacity));
    std::copy(units.begin(), units.begin() + static_cast<std::ptrdiff_t>(n), out);
    return static_cast<std::int32_t>(n);
}
void fakeDestroy(QXStringRef__* s) {
    ++gDestroyed;
    delete fromRef(s);
}

class MyStrHost : public ::testing::Test {
protected:
    void SetUp() override {
        gCreated = gDestroyed = 0;
        const HostStringFunctions functions{fakeCreate, fakeLength, fakeCopy, fakeDestroy};
        setHostStringFunctions(&functions);  // copied: the local may go
    }
    void TearDown() override { setHostStringFunctions(nullptr); }
};

TEST_F(MyStrHost, QxStrIsMadeOnceAndDestroyedByReset) {
    {
        MyStr s("Bild \xE2\x82\xAC", kEncodingUTF8);
        QXStringRef__* host = s.qxStr();
        ASSERT_NE(host, nullptr);
        EXPECT_EQ(s.qxStr(), host);
        EXPECT_EQ(gCreated, 1);
        const auto& units = fromRef(host)->units;
        EXPECT_EQ(std::u16string(units.begin(), units.end()), u"Bild €");
        s.reset();
        EXPECT_EQ(gDestroyed, 1);
        EXPECT_EQ(s.qxStr(), nullptr);
        MyStr t("again", kEncodingUTF8);
        ASSERT_NE(t.qxStr(), nullptr);
    }
    // The destructor destroys what the object made.
    EXPECT_EQ(gCreated, 2);
    EXPECT_EQ(gDestroyed, 2);
}

TEST_F(MyStrHost, FromHostStringDestroyedOnlyWhenAsked) {
    auto* kept = new FakeHostString{{'a', 0xE4, 'b'}};
    {
        MyStr s(toRef(kept), 0);
        EXPECT_EQ(unitsOf(s), u"aäb");
    }
    EXPECT_EQ(gDestroyed, 0);
    MyStr taken(toRef(kept), 1);
    EXPECT_EQ(unitsOf(taken), u"aäb");
    EXPECT_EQ(gDestroyed, 1);

    auto* empty = new FakeHostString{};
    MyStr e(toRef(empty), 1);
    EXPECT_TRUE(e.hasString());
    EXPECT_EQ(e.getLen(), 0);

    MyStr none(static_cast<QXStringRef__*>(nullptr), 1);
    EXPECT_FALSE(none.hasString());
    EXPECT_EQ(gDestroyed, 2);
}

TEST_F(MyStrHost, WithoutFunctionsNoHostStrings) {
    setHostStringFunctions(nullptr);
    MyStr s("text", kEncodingUTF8);
    EXPECT_EQ(s.qxStr(), nullptr);
    FakeHostString host{{'x'}};
    MyStr fromHost(toRef(&host), 1);  // cannot be read, nor destroyed
    EXPECT_FALSE(fromHost.hasString());
    EXPECT_EQ(gCreated, 0);
    EXPECT_EQ(gDestroyed, 0);
}

// ---- normalisation --------------------------------------------------------------

TEST(MyStr, NormalizeComposesAndRefreshesTheCopies) {
    MyStr s("Cafe\xCC\x81", kEncodingUTF8);  // e + combining acute
    ASSERT_EQ(s.getLen(), 5);
    EXPECT_STREQ(s.UTF8Str(), "Cafe\xCC\x81");
    s.normalize();
    EXPECT_EQ(s.getLen(), 4);
    EXPECT_STREQ(s.UTF8Str(), "Caf\xC3\xA9");
    EXPECT_EQ(unitsOf(s), u"Café");

    // Already composed: nothing is remade.
    const char* before = s.UTF8Str();
    s.normalize();
    EXPECT_EQ(s.UTF8Str(), before);

    MyStr none;
    none.normalize();
    EXPECT_FALSE(none.hasString());
}

TEST(MyStr, NormalizeKeepsZerosAndLoneSurrogates) {
    const std::uint16_t units[] = {'a', 0x0301, 0, 'o', 0x0308, 0xD800, 'u', 0x0308, 0xDC00};
    MyStr s(units, 9);
    s.normalize();
    EXPECT_EQ(unitsOf(s), std::u16string(u"á\0ö\xD800ü\xDC00", 6));
}

TEST_F(MyStrHost, NormalizeReleasesAStaleHostString) {
    MyStr s("A\xCC\x8A", kEncodingUTF8);  // A + ring above
    ASSERT_NE(s.qxStr(), nullptr);
    s.normalize();
    EXPECT_EQ(gDestroyed, 1);
    QXStringRef__* host = s.qxStr();
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(fromRef(host)->units, std::vector<std::uint16_t>{0xC5});
}

// ---- paths ----------------------------------------------------------------------

TEST(MyStr, PosixPathIsWrittenAsItIs) {
    MyStr s("/Users/me/Bilder/Gr\xC3\xBC\xC3\x9F" "e.tif", kEncodingUTF8);
    char out[kPathSize];
    ASSERT_TRUE(s.getPath(out));
    EXPECT_STREQ(out, "/Users/me/Bilder/Gr\xC3\xBC\xC3\x9F" "e.tif");
}

TEST(MyStr, LongPosixPathIsCutAtACharacterWithinTheBuffer) {
    // 510 ASCII bytes, then a two-byte character that would end at byte 512.
    std::string path = "/" + std::string(509, 'a') + "\xC3\xA9" + "tail";
    MyStr s(path.c_str(), kEncodingUTF8);
    std::vector<char> out(kPathSize + 16, '#');
    ASSERT_TRUE(s.getPath(out.data()));
    EXPECT_EQ(std::string(out.data()), path.substr(0, 510));
    EXPECT_EQ(out[kPathSize], '#');  // nothing written beyond 512 bytes

    std::string exact = "/" + std::string(510, 'b');  // 511 bytes: fits whole
    MyStr e(exact.c_str(), kEncodingUTF8);
    ASSERT_TRUE(e.getPath(out.data()));
    EXPECT_EQ(std::string(out.data()), exact);
}

TEST(MyStr, HfsPathIsConverted) {
    if (!platform::Traits::kHfsPaths) GTEST_SKIP() << "this build has no HFS paths";
    const char* hfs = "Daten:Bilder:Foto.tif";
    char expected[kPathSize];
    copyBounded(expected, hfs);
    ASSERT_TRUE(hfsToUnix(expected, sizeof expected));
    ASSERT_STRNE(expected, hfs);

    MyStr s(hfs, kEncodingUTF8);
    char out[kPathSize] = "untouched";
    ASSERT_TRUE(s.getPath(out));
    EXPECT_STREQ(out, expected);
    EXPECT_EQ(std::strchr(out, ':'), nullptr);
}

TEST(MyStr, FailedPathConversionLeavesTheBuffer) {
    if (!platform::Traits::kHfsPaths) GTEST_SKIP() << "this build has no HFS paths";
    // Far longer than an HFS path can be.
    MyStr tooLong((std::string(300, 'v') + ":file").c_str(), kEncodingUTF8);
    char out[kPathSize] = "untouched";
    EXPECT_FALSE(tooLong.getPath(out));
    EXPECT_STREQ(out, "untouched");
    MyStr empty("", kEncodingUTF8);
    EXPECT_FALSE(empty.getPath(out));
    MyStr none;
    EXPECT_FALSE(none.getPath(out));
    EXPECT_STREQ(out, "untouched");
}

TEST(MyStr, FromFileRef) {
    FileRef file;
    copyBounded(file.path, "/tmp/Bild \xC3\xA4.jpg");
    MyStr s(file);
    EXPECT_EQ(unitsOf(s), u"/tmp/Bild ä.jpg");

    std::memset(file.path, 'a', sizeof file.path);  // no terminator
    EXPECT_FALSE(MyStr(file).hasString());
    file.path[kPathSize - 1] = '\0';
    EXPECT_EQ(MyStr(file).getLen(), 511);
}

// ---- localised texts ------------------------------------------------------------

class MyStrTable : public test::StringTableTest {
protected:
    MyStrTable()
        : StringTableTest("<kHello>Hello \xE2\x82\xAC</kHello>\n"
                          "<kEmpty></kEmpty>\n"
                          "<kUmlaut>Gr\xC3\xB6\xC3\x9F" "e</kUmlaut>\n"
                          "<kBroken>bad \xC3</kBroken>\n") {}
};

TEST_F(MyStrTable, KeyGivesItsTextAndOtherTextsStay) {
    MyStr hello("kHello");
    EXPECT_EQ(unitsOf(hello), u"Hello €");
    MyStr anyCase("KHELLO");  // keys match without regard to case
    EXPECT_EQ(unitsOf(anyCase), u"Hello €");
    MyStr plain("Not a key \xC3\xA4");
    EXPECT_EQ(unitsOf(plain), u"Not a key ä");
    MyStr none(static_cast<const char*>(nullptr));
    EXPECT_FALSE(none.hasString());
}

TEST_F(MyStrTable, EmptyTextIsKeptEmpty) {
    MyStr s("kEmpty");
    EXPECT_TRUE(s.hasString());
    EXPECT_EQ(s.getLen(), 0);
    EXPECT_STREQ(s.UTF8Str(), "");
}

TEST_F(MyStrTable, TextThatIsNotUTF8GivesNoString) {
    EXPECT_FALSE(MyStr("kBroken").hasString());
    EXPECT_FALSE(MyStr("not \xC3 UTF-8").hasString());
}

TEST_F(MyStrTable, WithoutTableEveryTextStays) {
    cleanupMyStrings();
    MyStr s("kHello");
    EXPECT_EQ(unitsOf(s), u"kHello");
}

}  // namespace
}  // namespace lumbrel

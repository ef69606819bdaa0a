#include "util/string_functions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "settings/localised_strings.h"
#include "settings/resources.h"
#include "support/test_support.h"
#include "util/string_table_fixture.h"

namespace lumbrel {
namespace {

TEST(StringFunctions, ReplaceEveryByte) {
    char text[] = "Macintosh HD:Users:me:file";
    replace(text, ':', '/');
    EXPECT_STREQ(text, "Macintosh HD/Users/me/file");
    char high[] = "a\xDB" "b\xDB";
    replace(high, static_cast<signed char>(0xDB), 'E');
    EXPECT_STREQ(high, "aEbE");
    replace(nullptr, 'a', 'b');  // nothing to do
}

TEST(StringFunctions, TolowerInPlaceTouchesEveryByteThroughTheCLibrary) {
    char text[] = "Image.TIF; EPS-File 42";
    tolowerInPlace(text);
    EXPECT_STREQ(text, "image.tif; eps-file 42");
    // In the "C" locale bytes above 0x7F stay as they are (UTF-8 is not broken).
    char utf8[] = "\xC3\x84PFEL";
    tolowerInPlace(utf8);
    EXPECT_STREQ(utf8, "\xC3\x84pfel");
}

// Collects the pieces; stops when a piece equals the stop word.
struct Collector {
    std::vector<std::string> pieces;
    std::string stopAt = "(never)";
};

bool collect(char* piece, std::intptr_t value) {
    auto* c = reinterpret_cast<Collector*>(value);
    c->pieces.emplace_back(piece);
    return c->pieces.back() != c->stopAt;
}

using Pieces = std::vector<std::string>;

Pieces split(const char* text, char separator, bool* answer = nullptr) {
    Collector c;
    const bool result = EnumString(text, static_cast<signed char>(separator), collect, reinterpret_cast<std::intptr_t>(&c));
    if (answer != nullptr) *answer = result;
    return c.pieces;
}

TEST(StringFunctions, EnumStringPieces) {
    EXPECT_EQ(split("a,,b", ','), (Pieces{"a", "", "b"}));
    EXPECT_EQ(split("a,b,", ','), (Pieces{"a", "b"}));
    EXPECT_EQ(split(",a", ','), (Pieces{"", "a"}));
    EXPECT_EQ(split(",", ','), (Pieces{""}));
    EXPECT_EQ(split("no separator", ','), (Pieces{"no separator"}));
    bool answer = false;
    EXPECT_EQ(split("", ',', &answer), Pieces{});
    EXPECT_TRUE(answer);
}

TEST(StringFunctions, EnumStringStopsOnFalseAndReturnsTheLastAnswer) {
    Collector c;
    c.stopAt = "b";
    const auto value = reinterpret_cast<std::intptr_t>(&c);
    EXPECT_FALSE(EnumString("a;b;c", ';', collect, value));
    EXPECT_EQ(c.pieces, (Pieces{"a", "b"}));
    c.pieces.clear();
    c.stopAt = "c";
    EXPECT_FALSE(EnumString("a;b;c", ';', collect, value));  // the last piece said false
    c.pieces.clear();
    c.stopAt = "(never)";
    EXPECT_TRUE(EnumString("a;b;c;", ';', collect, value));
    EXPECT_EQ(c.pieces.size(), 3u);
}

TEST(StringFunctions, EnumStringCutsLongPiecesTo255Bytes) {
    const std::string text = std::string(300, 'x') + ";y";
    const Pieces pieces = split(text.c_str(), ';');
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], std::string(255, 'x'));
    EXPECT_EQ(pieces[1], "y");
}

TEST(StringFunctions, EnumStringWithZeroSeparatorTakesTheWholeText) {
    EXPECT_EQ(split("a;b", '\0'), (Pieces{"a;b"}));
}

TEST(StringFunctions, SemicolonFormAppendsTheSeparatorWhenThereIsRoom) {
    Collector c;
    const auto value = reinterpret_cast<std::intptr_t>(&c);
    char ext[16] = ".tif";
    EXPECT_TRUE(EnumString(ext, collect, value));
    EXPECT_STREQ(ext, ".tif;");  // the caller keeps it
    EXPECT_EQ(c.pieces, (Pieces{".tif"}));

    c.pieces.clear();
    char list[] = ".tif;.eps;";  // already ends in ";"
    EXPECT_TRUE(EnumString(list, collect, value));
    EXPECT_STREQ(list, ".tif;.eps;");
    EXPECT_EQ(c.pieces, (Pieces{".tif", ".eps"}));
}

TEST(StringFunctions, SemicolonFormWithoutRoomSplitsTheTextAsItIs) {
    Collector c;
    const auto value = reinterpret_cast<std::intptr_t>(&c);
    char full[] = ".tif;.eps";  // no byte to spare
    EXPECT_TRUE(EnumString(full, collect, value));
    EXPECT_STREQ(full, ".tif;.eps");
    EXPECT_EQ(c.pieces, (Pieces{".tif", ".eps"}));

    // One byte to spare is not enough for ";" and the terminator.
    c.pieces.clear();
    char buffer[7] = ".jpg";
    EXPECT_TRUE(EnumString(buffer, collect, value, 5));
    EXPECT_STREQ(buffer, ".jpg");
    EXPECT_TRUE(EnumString(buffer, collect, value, 6));
    EXPECT_STREQ(buffer, ".jpg;");
    EXPECT_EQ(c.pieces, (Pieces{".jpg", ".jpg"}));

    // An empty text gives no piece and stays empty.
    c.pieces.clear();
    char empty[4] = "";
    EXPECT_TRUE(EnumString(empty, collect, value));
    EXPECT_STREQ(empty, "");
    EXPECT_TRUE(c.pieces.empty());
}

TEST(StringFunctions, Wstrlen) {
    const std::uint16_t text[] = {'a', 0xD83D, 0xDE00, 0, 'b', 0};
    EXPECT_EQ(wstrlen(text), 3u);
    EXPECT_EQ(wstrlen(text + 3), 0u);
    EXPECT_EQ(wstrlen(nullptr), 0u);
}

TEST(StringFunctions, HostToUTF8InPlace) {
    char text[32] = "K\x9A" "ln \xDB";  // "Köln €" in Mac OS Roman
    ASSERT_TRUE(HostToUTF8(text, sizeof text));
    EXPECT_STREQ(text, "K\xC3\xB6ln \xE2\x82\xAC");

    // 6 bytes of Mac OS Roman become 9 of UTF-8: 9 + 1 is the least max.
    char tight[16] = "K\x9A" "ln \xDB";
    EXPECT_FALSE(HostToUTF8(tight, 9));
    EXPECT_STREQ(tight, "K\x9A" "ln \xDB");
    EXPECT_TRUE(HostToUTF8(tight, 10));
    EXPECT_STREQ(tight, "K\xC3\xB6ln \xE2\x82\xAC");

    // A text not terminated within max is not read beyond it.
    char unterminated[4] = {'a', 'b', 'c', 'd'};
    EXPECT_FALSE(HostToUTF8(unterminated, sizeof unterminated));
    EXPECT_FALSE(HostToUTF8(nullptr, 10));
}

TEST(StringFunctions, UTF8ToHostInPlace) {
    char text[32] = "K\xC3\xB6ln \xE2\x82\xAC";
    ASSERT_TRUE(UTF8ToHost(text, sizeof text));
    EXPECT_STREQ(text, "K\x9A" "ln \xDB");

    char unmapped[32] = "\xC5\x81\xC3\xB3\x64\xC5\xBA";  // "Łódź": Ł and ź have no Mac OS Roman byte
    EXPECT_FALSE(UTF8ToHost(unmapped, sizeof unmapped));
    EXPECT_STREQ(unmapped, "\xC5\x81\xC3\xB3\x64\xC5\xBA");

    char invalid[8] = "a\xC3";
    EXPECT_FALSE(UTF8ToHost(invalid, sizeof invalid));
    EXPECT_STREQ(invalid, "a\xC3");

    char roundTrip[600];  // the upper half takes 2 or 3 bytes a character in UTF-8
    for (int b = 1; b < 256; ++b) roundTrip[b - 1] = static_cast<char>(b);
    roundTrip[255] = '\0';
    const std::string original(roundTrip);
    ASSERT_TRUE(HostToUTF8(roundTrip, sizeof roundTrip));
    ASSERT_TRUE(UTF8ToHost(roundTrip, sizeof roundTrip));
    EXPECT_EQ(std::string(roundTrip), original);
}

class StringFunctionsTable : public test::StringTableTest {
protected:
    StringFunctionsTable()
        : StringTableTest("<kSave>Sichern \xE2\x80\xA6</kSave>\n"
                          "<kPolish>\xC5\x81\xC3\xB3\x64\xC5\xBA</kPolish>\n") {}
};

TEST_F(StringFunctionsTable, UTF8ToHostLocalisesAKey) {
    char text[32] = "kSave";
    ASSERT_TRUE(UTF8ToHost(text, sizeof text));
    EXPECT_STREQ(text, "Sichern \xC9");  // the ellipsis is 0xC9 in Mac OS Roman

    // The localised text must fit in max too.
    char tight[32] = "kSave";
    EXPECT_FALSE(UTF8ToHost(tight, 9));
    EXPECT_STREQ(tight, "kSave");

    // A key whose text has no Mac OS Roman form leaves the key.
    char polish[32] = "kPolish";
    EXPECT_FALSE(UTF8ToHost(polish, sizeof polish));
    EXPECT_STREQ(polish, "kPolish");

    // HostToUTF8 reads Mac OS Roman text and looks nothing up.
    char key[32] = "kSave";
    ASSERT_TRUE(HostToUTF8(key, sizeof key));
    EXPECT_STREQ(key, "kSave");
}

}  // namespace
}  // namespace lumbrel

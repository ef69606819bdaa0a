// Texts for the narrow-character window functions: what both builds share
// (ASCII passes unchanged; limits in characters and in bytes; bad input).
#include "platform/narrow_text.h"
#include "settings/localised_strings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace lumbrel {
namespace {

std::string narrow(const char* text, std::size_t maxCharacters, std::size_t outSize) {
    char out[700];  // a guard zone behind every size the cases give
    std::memset(out, '#', sizeof out);
    const std::size_t length = platform::toNarrowText(text, maxCharacters, out, outSize);
    EXPECT_EQ(out[outSize], '#') << "written past the buffer";
    EXPECT_EQ(length, std::strlen(out));
    return out;
}

TEST(NarrowText, AsciiIsCutAtTheCharacterLimitOrTheBuffer) {
    const std::string long300(300, 'a');
    struct Case {
        const char* text;
        std::size_t maxCharacters;
        std::size_t outSize;
        std::string expected;
    };
    const Case cases[] = {
        {"Cancel", 250, 600, "Cancel"},
        {"", 250, 600, ""},
        {long300.c_str(), 250, 600, std::string(250, 'a')},
        {long300.c_str(), 250, 101, std::string(100, 'a')},
        {"Cancel", 3, 600, "Can"},
        {"Cancel", 250, 1, ""},
        {nullptr, 250, 600, ""},
        {"bad \xC3 byte", 250, 600, ""},  // no valid UTF-8: nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text != nullptr ? c.text : "(null)").substr(0, 20) + " max " +
                     std::to_string(c.maxCharacters) + " size " + std::to_string(c.outSize));
        EXPECT_EQ(narrow(c.text, c.maxCharacters, c.outSize), c.expected);
    }
    char untouched[4] = "abc";
    EXPECT_EQ(platform::toNarrowText("x", 250, untouched, 0), 0u);
    EXPECT_STREQ(untouched, "abc");
}

TEST(NarrowText, AStringWithoutATableIsItsKeyCutTo250Characters) {
    cleanupMyStrings();
    char out[600];
    getNarrowString("kSaveWarn", out);
    EXPECT_STREQ(out, "kSaveWarn");
    const std::string longKey(400, 'k');
    getNarrowString(longKey.c_str(), out);
    EXPECT_EQ(std::string(out), std::string(kNarrowStringCharacters, 'k'));
    char small[8];
    getNarrowString("kSaveWarn", small);
    EXPECT_STREQ(small, "kSaveWa");
}

}  // namespace
}  // namespace lumbrel

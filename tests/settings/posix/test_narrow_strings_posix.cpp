// The narrow-character functions of the POSIX build take UTF-8: non-ASCII
// text passes unchanged, cut only between characters.
#include <gtest/gtest.h>

#include <string>

#include "platform/narrow_text.h"

namespace lumbrel {
namespace {

TEST(NarrowTextPosix, Utf8PassesWholeCharactersUnchanged) {
    struct Case {
        std::string text;
        std::size_t maxCharacters;
        std::size_t outSize;
        std::string expected;
    };
    const Case cases[] = {
        {"Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC", 250, 600, "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC"},
        {"Gr\xC3\xB6\xC3\x9F" "e", 3, 600, "Gr\xC3\xB6"},
        {"Gr\xC3\xB6\xC3\x9F" "e", 250, 4, "Gr"},  // the "ö" would not fit whole
        {"a\xF0\x9F\x98\x80" "b", 2, 600, "a\xF0\x9F\x98\x80"},
    };
    for (const Case& c : cases) {
        char out[600];
        platform::toNarrowText(c.text.c_str(), c.maxCharacters, out, c.outSize);
        EXPECT_EQ(std::string(out), c.expected) << c.text << " " << c.maxCharacters << " " << c.outSize;
    }
}

}  // namespace
}  // namespace lumbrel

// The Windows build reads a path in the encoding its caller names: the same
// file answers to its name in UTF-8, Windows Latin 1 and Mac OS Roman.
#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"
#include "util/files_paths.h"

namespace lumbrel {
namespace {

TEST(FileExistsWin32, ThePathIsReadInTheGivenEncoding) {
    test::TempDir dir;
    const std::string folder = dir.text() + "\\";
    test::writeFile(folder + "Gr\xC3\xB6\xC3\x9F" "e.txt", "x");
    struct Case {
        std::string name;  // in the encoding below
        TextEncoding encoding;
        bool exists;
    };
    const Case cases[] = {
        {"Gr\xC3\xB6\xC3\x9F" "e.txt", kEncodingUTF8, true},
        {"Gr\xF6\xDF" "e.txt", kEncodingWindowsLatin1, true},
        {"Gr\x9A\xA7" "e.txt", kEncodingMacRoman, true},
        {"Gr\xF6\xDF" "e.txt", kEncodingUTF8, false},        // no valid UTF-8
        {"Gr\xC3\xB6\xC3\x9F" "e.txt", kEncodingWindowsLatin1, false},  // "GrÃ¶ÃŸe.txt"
        {"Gr\x9A\xA7" "e.txt", kEncodingWindowsLatin1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fileExists((folder + c.name).c_str(), c.encoding), c.exists) << c.name << " in " << c.encoding;
    }
    EXPECT_FALSE(fileExists("", kEncodingWindowsLatin1));
    EXPECT_FALSE(fileExists(nullptr, kEncodingWindowsLatin1));
}

}  // namespace
}  // namespace lumbrel

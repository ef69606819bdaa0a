// The one-pass search for many paths must give the same first occurrences
// as searching the text once per path.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "editing/first_occurrences.h"

namespace lumbrel::test {
namespace {

std::vector<std::size_t> findEach(std::string_view text, const std::vector<std::string_view>& patterns) {
    std::vector<std::size_t> answer;
    for (std::string_view p : patterns) answer.push_back(p.empty() ? kNotFound : text.find(p));
    return answer;
}

TEST(FirstOccurrencesTest, Cases) {
    constexpr std::size_t N = kNotFound;
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string_view> patterns;
        std::vector<std::size_t> expected;
    };
    const std::vector<Case> cases = {
        {"nothing to find", "abc", {}, {}},
        {"empty text", "", {"a", ""}, {N, N}},
        {"empty pattern", "abc", {"", "b"}, {N, 1}},
        {"whole text and longer", "abc", {"abc", "abcd"}, {0, N}},
        {"duplicates each answered", "xxabxab", {"ab", "ab", "b"}, {2, 2, 3}},
        {"prefix of another, found earlier alone", "ab abc", {"abc", "ab", "a"}, {3, 0, 0}},
        {"suffix of another ends together", "zzabc", {"abc", "bc", "c"}, {2, 3, 4}},
        {"found inside an earlier line", "/a/b/pic.tif.old\n/a/b/pic.tif\n", {"/a/b/pic.tif"}, {0}},
        {"overlapping repeats", "aaaa", {"aaa", "aa", "aaaaa"}, {0, 0, N}},
        {"failure across a partial match", "abababc", {"ababc", "babc"}, {2, 3}},
        {"bytes above 127 and NUL", std::string("a\xC3\xA9\0b", 5), {"\xC3\xA9", std::string_view("\0b", 2), "\xA9"},
         {1, 3, 2}},
        {"case matters", "Photo.JPG", {"photo.jpg", "JPG"}, {N, 6}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(firstOccurrences(c.text, c.patterns), c.expected) << c.name;
        EXPECT_EQ(findEach(c.text, c.patterns), c.expected) << c.name << " (the table itself)";
    }
}

// Small alphabets make patterns overlap, share prefixes and suffixes and
// repeat; lengths from 0 to past the text cover the borders.
TEST(FirstOccurrencesTest, SameAnswerAsSearchingOncePerPatternOnRandomLists) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 3000; ++round) {
        const auto alphabet = 1 + random() % 4;
        const std::size_t textLength = random() % 200;
        std::string text;
        for (std::size_t i = 0; i < textLength; ++i) text += static_cast<char>('a' + random() % alphabet);
        std::vector<std::string> owned(random() % 40);
        for (std::string& p : owned) {
            if (!text.empty() && random() % 2 == 0) {
                // A piece of the text, so that most patterns are found.
                const std::size_t from = random() % text.size();
                p = text.substr(from, 1 + random() % 12);
            } else {
                const std::size_t length = random() % 10;
                for (std::size_t i = 0; i < length; ++i) p += static_cast<char>('a' + random() % (alphabet + 1));
            }
        }
        if (!owned.empty() && random() % 4 == 0) owned.push_back(owned[random() % owned.size()]);
        const std::vector<std::string_view> patterns(owned.begin(), owned.end());
        ASSERT_EQ(firstOccurrences(text, patterns), findEach(text, patterns)) << "round " << round << " text " << text;
    }
}

TEST(FirstOccurrencesTest, ManyLongPathsSharingFolders) {
    std::mt19937 random(7);
    std::vector<std::string> paths;
    std::string list;
    for (int i = 0; i < 3000; ++i) {
        std::string path = "/Volumes/Jobs/Kunde " + std::to_string(random() % 30) + "/Bilder/" + std::to_string(i) +
                           (i % 3 == 0 ? ".tif" : ".jpg");
        if (i % 5 != 0) list += "line\t" + path + "\t" + path + ".new\r\n";  // every fifth path is missing
        paths.push_back(std::move(path));
    }
    const std::vector<std::string_view> patterns(paths.begin(), paths.end());
    const std::vector<std::size_t> found = firstOccurrences(list, patterns);
    EXPECT_EQ(found, findEach(list, patterns));
    EXPECT_EQ(std::count(found.begin(), found.end(), kNotFound), 600);
}

}  // namespace
}  // namespace lumbrel::test

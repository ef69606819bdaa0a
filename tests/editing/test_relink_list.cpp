// Reading one mapping of a relink list from where a picture's path was found.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/relink_list.h"
#include "editing/whole_path.h"
#include "platform/platform_traits.h"

namespace lumbrel {
namespace {

TEST(RelinkList, TheMappingRunsFromTheFirstTabToTheLineEnd) {
    const struct {
        std::string_view text;
        std::size_t at;
        std::optional<std::string_view> mapped;
    } cases[] = {
        {"/a.tif\t/b.tif\r/c.tif\t/d.tif", 0, "/b.tif"},
        {"/a.tif\t/b.tif\r/c.tif\t/d.tif", 14, "/d.tif"},      // the last line needs no line end
        {"/a.tif\t/b.tif\n", 0, "/b.tif"},
        {"/a.tif\t/b.tif\r\n", 0, "/b.tif"},
        {"x/a.tif\t/b.tif\r", 1, "/b.tif"},                    // found inside a longer old path
        {"/a.tif\t/b c.tif\r", 0, "/b c.tif"},                 // blanks belong to the path
        {"/a.tif\r\t/b.tif\r", 0, std::nullopt},                // the line ends before any tab
        {"/a.tif\n\t/b.tif\r", 0, std::nullopt},
        {"/a.tif", 0, std::nullopt},                            // the text ends before any tab
        {"/a.tif\t\r/c.tif", 0, std::nullopt},                  // empty new path
        {"/a.tif\t", 0, std::nullopt},
        {"/a.tif\t/b.tif\tnote\r", 0, std::nullopt},            // a further tab
        {"/a.tif\t/b.tif\t", 0, std::nullopt},
        {"/a.tif\t/b.tif", 14, std::nullopt},                   // at or past the end
        {"/a.tif\t/b.tif", 99, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mappingAt(c.text, c.at), c.mapped) << "at " << c.at << " in " << ::testing::PrintToString(std::string(c.text));
    }
}

TEST(RelinkList, OldPathsThatBeginMoreThanOneLineAreGatheredWithEveryNewPath) {
    using Lines = std::vector<std::string_view>;
    const struct {
        std::string_view text;
        std::string_view old;
        Lines news;  // empty: the old path is not repeated
    } cases[] = {
        {"/a\t/b\r/a\t/c\r", "/a", Lines{"/b", "/c"}},
        {"/a\t/b\n/x\t/y\r\n/a\t/c", "/a", Lines{"/b", "/c"}},  // any line end, none at the end
        {"/a\t/b\r/a\t\r", "/a", Lines{"/b", ""}},               // an unusable line still counts
        {"/a\t/b\r/a\r", "/a", Lines{}},                          // a line without a tab maps nothing
        {"/a\t/b\r/ab\t/c\r", "/a", Lines{}},                    // a longer path is another path
        {"/a\t/b\r\t/a\r\t/b\r", "", Lines{}},                   // no old path, nothing gathered
        {"/a\t/b\r/a\t/c\r/a\t/d", "/a", Lines{"/b", "/c", "/d"}},
    };
    for (const auto& c : cases) {
        const auto repeated = repeatedOldPaths(c.text);
        const auto found = repeated.find(c.old);
        const Lines got = found == repeated.end() ? Lines{} : found->second;
        EXPECT_EQ(got, c.news) << ::testing::PrintToString(std::string(c.text));
        EXPECT_EQ(repeated.size(), c.news.empty() ? 0U : 1U) << ::testing::PrintToString(std::string(c.text));
    }
}

// A relink request names its list by a whole path; Windows paths begin with
// a drive or a server, and a drive without a separator is relative.
TEST(WholePath, BeginsAtTheRootOrInWindowsAtADriveOrServer) {
    const bool windows = platform::Traits::kPathSeparator == '\\';
    const struct {
        const char* path;
        bool onWindows;
        bool onPosix;
    } cases[] = {
        {"/Jobs/Austausch.txt", true, true},   {R"(C:\Jobs\Austausch.txt)", true, false},
        {"z:/Jobs/Austausch.txt", true, false}, {R"(\\server\share\Austausch.txt)", true, false},
        {"C:Austausch.txt", false, false},      {R"(\Jobs\Austausch.txt)", false, false},
        {R"(\\\x)", false, false},              {R"(\\)", false, false},
        {"Austausch.txt", false, false},        {"Disk:Jobs:Austausch.txt", false, false},
        {"1:/x", false, false},                 {"", false, false},
    };
    for (const auto& c : cases) EXPECT_EQ(isWholePath(c.path), windows ? c.onWindows : c.onPosix) << c.path;
    EXPECT_FALSE(isWholePath(nullptr));
}

}  // namespace
}  // namespace lumbrel

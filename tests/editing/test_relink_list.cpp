// Reading one mapping of a relink list from where a picture's path was found.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "editing/relink_list.h"

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

}  // namespace
}  // namespace lumbrel

// The folder walk's rules that hold in every build.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform_traits.h"
#include "support/test_support.h"
#include "util/folder_walk_recorder.h"
#include "util/files_paths.h"

namespace lumbrel {
namespace {

namespace fs = std::filesystem;
using test::Recorder;
using test::TempDir;
using test::walk;
using test::writeFile;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAreArray;


// Paths below `dir` as the file system lists them (its own order, not sorted).
std::vector<std::string> listed(const fs::path& dir) {
    std::vector<std::string> paths;
    for (const auto& entry : fs::directory_iterator(dir)) paths.push_back(entry.path().string());
    return paths;
}

// `relative` ("sub/b.txt") below the scratch folder, as UTF-8 text with the
// build's separator: the form the walk reports.
std::string inside(const TempDir& dir, std::string relative) {
    for (char& c : relative) {
        if (c == '/') c = platform::Traits::kPathSeparator;
    }
    return dir.text() + platform::Traits::kPathSeparator + relative;
}

// a.txt, .hidden, sub/ (b.txt, inner/ (c.txt))
void makeTree(const TempDir& dir) {
    writeFile(inside(dir, "a.txt"), "a");
    writeFile(inside(dir, ".hidden"), "h");
    fs::create_directories(dir.path() / "sub" / "inner");
    writeFile(inside(dir, "sub/b.txt"), "b");
    writeFile(inside(dir, "sub/inner/c.txt"), "c");
}

TEST(EnumFolder, FlatWalkInFileSystemOrderWithHiddenItems) {
    TempDir dir;
    makeTree(dir);
    Recorder recorder;
    EXPECT_TRUE(walk(dir.text(), recorder, false));
    EXPECT_THAT(recorder.paths, ElementsAreArray(listed(dir.path())));
    EXPECT_THAT(recorder.paths, ::testing::Contains(inside(dir, ".hidden")));
    EXPECT_EQ(recorder.paths.size(), 3u);  // no "." or ".."
}

TEST(EnumFolder, DeepWalkReportsEachFolderBeforeItsContent) {
    TempDir dir;
    makeTree(dir);
    Recorder recorder;
    EXPECT_TRUE(walk(dir.text(), recorder, true));
    EXPECT_THAT(recorder.paths,
                UnorderedElementsAreArray({inside(dir, "a.txt"), inside(dir, ".hidden"), inside(dir, "sub"),
                                           inside(dir, "sub/b.txt"), inside(dir, "sub/inner"), inside(dir, "sub/inner/c.txt")}));
    // A folder's content follows right after the folder itself.
    const auto& paths = recorder.paths;
    const auto sub = std::find(paths.begin(), paths.end(), inside(dir, "sub")) - paths.begin();
    const std::vector<std::string> subtree(paths.begin() + sub + 1, paths.begin() + sub + 4);
    EXPECT_THAT(subtree, UnorderedElementsAreArray({inside(dir, "sub/b.txt"), inside(dir, "sub/inner"),
                                                    inside(dir, "sub/inner/c.txt")}));
    const auto inner = std::find(paths.begin(), paths.end(), inside(dir, "sub/inner")) - paths.begin();
    ASSERT_LT(inner + 1, static_cast<std::ptrdiff_t>(paths.size()));
    EXPECT_EQ(paths[static_cast<std::size_t>(inner + 1)], inside(dir, "sub/inner/c.txt"));
}

TEST(EnumFolder, FalseAtTheSecondItemStopsAfterTwoCalls) {
    TempDir dir;
    makeTree(dir);
    for (bool deep : {false, true}) {
        Recorder recorder;
        recorder.stopAt = 2;
        EXPECT_FALSE(walk(dir.text(), recorder, deep));
        EXPECT_EQ(recorder.paths.size(), 2u) << deep;
    }
}

TEST(EnumFolder, FalseInsideASubfolderStopsTheWholeWalk) {
    TempDir dir;
    fs::create_directory(dir.path() / "sub");
    writeFile(inside(dir, "sub/only.txt"), "x");
    for (const char* name : {"a", "b", "c", "d"}) writeFile(inside(dir, name), "x");
    Recorder all;
    ASSERT_TRUE(walk(dir.text(), all, true));
    const auto at = std::find(all.paths.begin(), all.paths.end(), inside(dir, "sub/only.txt")) - all.paths.begin();

    Recorder recorder;
    recorder.stopAt = static_cast<std::size_t>(at + 1);
    EXPECT_FALSE(walk(dir.text(), recorder, true));
    EXPECT_EQ(recorder.paths.size(), recorder.stopAt);
}

TEST(EnumFolder, TheCallbackMayChangeThePathItGets) {
    TempDir dir;
    makeTree(dir);
    Recorder recorder;
    recorder.scribble = true;
    EXPECT_TRUE(walk(dir.text(), recorder, true));
    EXPECT_THAT(recorder.paths,
                UnorderedElementsAreArray({inside(dir, "a.txt"), inside(dir, ".hidden"), inside(dir, "sub"),
                                           inside(dir, "sub/b.txt"), inside(dir, "sub/inner"), inside(dir, "sub/inner/c.txt")}));
}

TEST(EnumFolder, MissingTopFolderAnswersFalse) {
    TempDir dir;
    writeFile(inside(dir, "file"), "x");
    for (const std::string& top : {inside(dir, "missing"), inside(dir, "file"), std::string()}) {
        Recorder recorder;
        EXPECT_FALSE(walk(top, recorder, true)) << top;
        EXPECT_THAT(recorder.paths, IsEmpty());
    }
    EXPECT_FALSE(EnumFolder(dir.text().c_str(), nullptr, 0, true));
}

TEST(EnumFolder, ItemsWhosePathDoesNotFitAreSkippedNotCut) {
    TempDir dir;
    // Folders down to one whose path is 507 bytes long: its item "abc" has a
    // path of 511 bytes, which fits a path buffer; "abcd" does not.
    std::vector<std::string> expected{inside(dir, "short")};
    fs::path folder = dir.path();
    const std::size_t wanted = kPathSize - 5;
    ASSERT_LT(folder.string().size() + 2, wanted);
    while (wanted - folder.string().size() - 1 > 200) {
        folder /= std::string(200, 'm');
        expected.push_back(folder.string());
    }
    folder /= std::string(wanted - folder.string().size() - 1, 'f');
    expected.push_back(folder.string());
    fs::create_directories(folder);
    ASSERT_EQ(folder.string().size(), wanted);
    writeFile((folder / "abc").string(), "fits");
    writeFile((folder / "abcd").string(), "too long");
    fs::create_directory(folder / "abcde");
    writeFile((folder / "abcde" / "x").string(), "below a skipped folder");
    writeFile(inside(dir, "short"), "x");
    expected.push_back((folder / "abc").string());

    Recorder recorder;
    EXPECT_TRUE(walk(dir.text(), recorder, true));
    EXPECT_THAT(recorder.paths, UnorderedElementsAreArray(expected));
}

TEST(EnumFolder, TopFolderLongerThanABuffer) {
    TempDir dir;
    const fs::path deep = dir.path() / std::string(250, 'a') / std::string(250, 'b');
    fs::create_directories(deep);
    writeFile((deep / "x").string(), "x");
    Recorder recorder;
    EXPECT_TRUE(walk(deep.string(), recorder, true));
    EXPECT_THAT(recorder.paths, IsEmpty());
}

}  // namespace
}  // namespace lumbrel

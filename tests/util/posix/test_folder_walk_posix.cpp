// The folder walk over links, permissions and HFS paths.
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "util/folder_walk_recorder.h"
#include "util/files_paths.h"

namespace lumbrel {
namespace {

namespace fs = std::filesystem;
using test::Recorder;
using test::TempDir;
using test::walk;
using test::WithoutRootPrivileges;
using test::writeFile;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAreArray;


// a.txt, .hidden, sub/ (b.txt, inner/ (c.txt))
void makeTree(const TempDir& dir) {
    writeFile(dir.file("a.txt"), "a");
    writeFile(dir.file(".hidden"), "h");
    fs::create_directories(dir.path() / "sub" / "inner");
    writeFile(dir.file("sub/b.txt"), "b");
    writeFile(dir.file("sub/inner/c.txt"), "c");
}

TEST(EnumFolder, LinksToFoldersAreReportedButNotEntered) {
    TempDir dir;
    makeTree(dir);
    fs::create_directory_symlink(dir.path(), dir.path() / "sub" / "loop");
    fs::create_directory_symlink("..", dir.path() / "sub" / "inner" / "up");
    Recorder recorder;
    EXPECT_TRUE(walk(dir.path().string(), recorder, true));
    EXPECT_THAT(recorder.paths, ::testing::Contains(dir.file("sub/loop")));
    EXPECT_THAT(recorder.paths, ::testing::Contains(dir.file("sub/inner/up")));
    EXPECT_EQ(recorder.paths.size(), 8u);
}

TEST(EnumFolder, UnreadableSubfolderIsSkippedAndTheWalkGoesOn) {
    TempDir dir;
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec |
                                    fs::perms::group_read | fs::perms::group_exec);
    fs::create_directories(dir.path() / "open");
    fs::create_directories(dir.path() / "closed");
    writeFile(dir.file("open/o.txt"), "o");
    writeFile(dir.file("closed/c.txt"), "c");
    for (const char* name : {"1", "2", "3"}) writeFile(dir.file(name), "x");
    fs::permissions(dir.path() / "closed", fs::perms::none);

    WithoutRootPrivileges unprivileged;
    if (!unprivileged.ok()) GTEST_SKIP() << "cannot drop root privileges";
    if (::access(dir.file("open").c_str(), R_OK | X_OK) != 0) GTEST_SKIP() << "scratch folder closed to others";
    Recorder recorder;
    EXPECT_TRUE(walk(dir.path().string(), recorder, true));
    EXPECT_THAT(recorder.paths, UnorderedElementsAreArray({dir.file("open"), dir.file("open/o.txt"),
                                                           dir.file("closed"), dir.file("1"), dir.file("2"),
                                                           dir.file("3")}));

    // The top folder itself unreadable: false, and no call.
    Recorder none;
    EXPECT_FALSE(walk(dir.file("closed"), none, true));
    EXPECT_THAT(none.paths, IsEmpty());
}

TEST(EnumFolder, HfsFolderAndTrailingSlash) {
    TempDir dir;
    writeFile(dir.file("a.txt"), "a");
    std::string hfs = "Macintosh HD" + dir.path().string();
    for (char& c : hfs) {
        if (c == '/') c = ':';
    }
    Recorder fromHfs;
    EXPECT_TRUE(walk(hfs, fromHfs, false));
    EXPECT_THAT(fromHfs.paths, ElementsAreArray({dir.file("a.txt")}));

    Recorder slashed;
    EXPECT_TRUE(walk(dir.path().string() + "/", slashed, false));
    EXPECT_THAT(slashed.paths, ElementsAreArray({dir.file("a.txt")}));
}

}  // namespace
}  // namespace lumbrel

// Renaming without replacing: both ways the module may take (the exclusive
// rename of the file system, and link + unlink where that is missing) must
// leave an existing target and its source as they were.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/file_rename.h"
#include "support/test_support.h"

namespace lumbrel {
namespace {

namespace fs = std::filesystem;
using platform::RenameResult;
using test::readFile;
using test::TempDir;
using test::writeFile;

using RenameProc = RenameResult (*)(const char*, const char*) noexcept;

struct Way {
    const char* name;
    RenameProc rename;
};
const Way kWays[] = {{"exclusive rename", platform::renameNoReplace},
                     {"link and unlink", platform::renameNoReplaceByLink}};

TEST(RenameNoReplace, RenamesRefusesAnExistingTargetAndReportsAMissingSource) {
    for (const Way& way : kWays) {
        SCOPED_TRACE(way.name);
        TempDir dir;
        const std::string a = dir.file("a.tif"), b = dir.file("b.tif"), c = dir.file("c.tif");
        writeFile(a, "picture a");
        writeFile(b, "picture b");

        // An existing file of the new name: both stay exactly as they were.
        EXPECT_EQ(way.rename(a.c_str(), b.c_str()), RenameResult::TargetExists);
        EXPECT_EQ(readFile(a), "picture a");
        EXPECT_EQ(readFile(b), "picture b");
        // The same name is an existing target as well.
        EXPECT_EQ(way.rename(a.c_str(), a.c_str()), RenameResult::TargetExists);
        EXPECT_EQ(readFile(a), "picture a");
        // A folder of the new name.
        fs::create_directory(dir.file("folder"));
        EXPECT_EQ(way.rename(a.c_str(), dir.file("folder").c_str()), RenameResult::TargetExists);
        EXPECT_TRUE(fs::is_empty(dir.file("folder")));

        // Success: the content moves, the old name is gone.
        EXPECT_EQ(way.rename(a.c_str(), c.c_str()), RenameResult::Renamed);
        EXPECT_FALSE(fs::exists(a));
        EXPECT_EQ(readFile(c), "picture a");

        // Nothing of the old name: nothing is made.
        EXPECT_EQ(way.rename(a.c_str(), dir.file("d.tif").c_str()), RenameResult::SourceMissing);
        EXPECT_FALSE(fs::exists(dir.file("d.tif")));

        // No folder of the new path, or no path at all.
        EXPECT_NE(way.rename(c.c_str(), dir.file("none/c.tif").c_str()), RenameResult::Renamed);
        EXPECT_EQ(way.rename(c.c_str(), ""), RenameResult::Failed);
        EXPECT_EQ(way.rename(nullptr, c.c_str()), RenameResult::Failed);
        EXPECT_EQ(readFile(c), "picture a");
    }
}

}  // namespace
}  // namespace lumbrel

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/test_support.h"
#include "platform/platform_traits.h"
#include "util/files_paths.h"

namespace lumbrel {
namespace {

// A buffer with a guard zone behind the part a function is told it may use,
// so a write past the size shows.
struct GuardedBuffer {
    static constexpr std::size_t kGuard = 64;
    char bytes[1024 + kGuard];
    std::size_t size;

    GuardedBuffer(std::size_t usable, const std::string& text) : size(usable) {
        std::memset(bytes, '#', sizeof bytes);
        std::memcpy(bytes, text.c_str(), text.size() + 1);
    }
    bool guardIntact() const {
        for (std::size_t i = size; i < size + kGuard; ++i) {
            if (bytes[i] != '#') return false;
        }
        return true;
    }
};

std::string nameOf(const char* path, bool withExtension, std::size_t size = kPathSize) {
    char out[kPathSize];
    std::memset(out, 'Q', sizeof out);
    getFileName(path, out, size, withExtension);
    return out;
}

TEST(PathSeparator, DecidedByTheFirstCharacterAlone) {
    EXPECT_EQ(pathSeparatorOf("/Images:a.tif"), '/');
    EXPECT_EQ(pathSeparatorOf(test::otherPathForm("Disk:Images/a.tif").c_str()), test::otherPathSeparator());
    EXPECT_EQ(pathSeparatorOf("a.tif"), test::otherPathSeparator());
    EXPECT_EQ(pathSeparatorOf(""), test::otherPathSeparator());
}

TEST(GetFileName, LastComponentWithOrWithoutExtension) {
    EXPECT_EQ(nameOf(test::otherPathForm("Disk:Images:a.tif").c_str(), false), "a");
    EXPECT_EQ(nameOf("/Images/a.tif", true), "a.tif");
    EXPECT_EQ(nameOf("a.b.tif", false), "a.b");
    EXPECT_EQ(nameOf("a.b.tif", true), "a.b.tif");
    EXPECT_EQ(nameOf("/Images/", true), "");
    EXPECT_EQ(nameOf("/x.y/a", false), "a");  // a dot in a folder is no extension
}

TEST(GetFileName, OnlyTheSeparatorOfThePathFormSplits) {
    // In an HFS path "/" is a character of a name; in a POSIX path ":" is.
    EXPECT_EQ(nameOf(test::otherPathForm("Disk:Images:a/b.tif").c_str(), true), "a/b.tif");
    EXPECT_EQ(nameOf("/Images/Disk:a.tif", true), "Disk:a.tif");
    EXPECT_EQ(nameOf("Images/a.tif", true), "Images/a.tif");
}

TEST(GetFileName, CutsToTheBufferWithoutWritingPastIt) {
    const std::string longName(600, 'n');
    GuardedBuffer out(kPathSize, "");
    getFileName(("/x/" + longName + ".tif").c_str(), out.bytes, out.size, false);
    EXPECT_EQ(std::string(out.bytes), std::string(kPathSize - 1, 'n'));
    EXPECT_TRUE(out.guardIntact());

    EXPECT_EQ(nameOf("/x/abcdef.tif", true, 4), "abc");
    char untouched[2] = {'Z', 'Z'};
    getFileName("/x/a.tif", untouched, 0, true);
    EXPECT_EQ(untouched[0], 'Z');
}

TEST(GetFolder, CutsAtTheLastSeparatorOfThePathForm) {
    char posix[] = "/Images/a.tif";
    EXPECT_EQ(getFolder(posix), posix + 7);
    EXPECT_STREQ(posix, "/Images");

    std::string hfs = test::otherPathForm("Disk:Im/ages:a.tif");
    EXPECT_EQ(getFolder(hfs.data()), hfs.data() + 12);
    EXPECT_STREQ(hfs.c_str(), test::otherPathForm("Disk:Im/ages").c_str());

    char bare[] = "a.tif";
    EXPECT_EQ(getFolder(bare), nullptr);
    EXPECT_STREQ(bare, "a.tif");
    EXPECT_EQ(getFolder(nullptr), nullptr);
}

TEST(AddPathComponent, AppendsSlashAndComponent) {
    char path[kPathSize] = "/Images";
    EXPECT_TRUE(addPathComponent(path, "a.tif"));
    EXPECT_STREQ(path, "/Images/a.tif");
}

TEST(AddPathComponent, RefusesWhatDoesNotFitAndLeavesThePath) {
    GuardedBuffer exact(9, "/abc");  // "/abc/def" and its terminator: 9 bytes
    EXPECT_TRUE(addPathComponent(exact.bytes, exact.size, "def"));
    EXPECT_STREQ(exact.bytes, "/abc/def");
    EXPECT_TRUE(exact.guardIntact());

    GuardedBuffer tight(8, "/abc");
    EXPECT_FALSE(addPathComponent(tight.bytes, tight.size, "def"));
    EXPECT_STREQ(tight.bytes, "/abc");
    EXPECT_TRUE(tight.guardIntact());

    // A 600-byte path in a buffer said to hold 512 is not even terminated in it.
    GuardedBuffer over(kPathSize, "/" + std::string(599, 'p'));
    EXPECT_FALSE(addPathComponent(over.bytes, over.size, "a"));
    EXPECT_EQ(std::strlen(over.bytes), 600u);
}

TEST(ReplaceExtension, OnlyTheLastComponentHasAnExtension) {
    char path[kPathSize] = "/x/a.tif";
    EXPECT_EQ(replaceExtension(path, ".eps"), path + 4);
    EXPECT_STREQ(path, "/x/a.eps");

    char dottedFolder[kPathSize] = "/x.y/a";
    EXPECT_EQ(replaceExtension(dottedFolder, ".eps"), dottedFolder + 6);
    EXPECT_STREQ(dottedFolder, "/x.y/a.eps");

    char hfs[kPathSize];
    std::strcpy(hfs, test::otherPathForm("Disk:x.y:a.b.tif").c_str());
    replaceExtension(hfs, ".eps");
    EXPECT_STREQ(hfs, test::otherPathForm("Disk:x.y:a.b.eps").c_str());

    char hfsDottedFolder[kPathSize];
    std::strcpy(hfsDottedFolder, test::otherPathForm("Disk:x.y:a").c_str());
    replaceExtension(hfsDottedFolder, ".eps");
    EXPECT_STREQ(hfsDottedFolder, test::otherPathForm("Disk:x.y:a.eps").c_str());
}

TEST(ReplaceExtension, EmptyExtensionRemovesIt) {
    char path[kPathSize] = "/x/a.b.tif";
    replaceExtension(path, "");
    EXPECT_STREQ(path, "/x/a.b");
}

TEST(ReplaceExtension, RefusesWhatDoesNotFit) {
    // Shrinking fits where appending would not.
    GuardedBuffer shrink(9, "/x/a.tif");
    EXPECT_NE(replaceExtension(shrink.bytes, shrink.size, ".ps"), nullptr);
    EXPECT_STREQ(shrink.bytes, "/x/a.ps");

    GuardedBuffer grow(9, "/x/a.tif");
    EXPECT_EQ(replaceExtension(grow.bytes, grow.size, ".tiff"), nullptr);
    EXPECT_STREQ(grow.bytes, "/x/a.tif");
    EXPECT_TRUE(grow.guardIntact());

    GuardedBuffer over(kPathSize, "/" + std::string(595, 'p') + ".tif");
    EXPECT_EQ(replaceExtension(over.bytes, over.size, ".eps"), nullptr);
    EXPECT_EQ(std::string(over.bytes).substr(596), ".tif");
}

TEST(PathEndsWith, IgnoresCaseAndRefusesShorterPaths) {
    EXPECT_TRUE(pathEndsWith("/x/LAYOUTS", "layouts"));
    EXPECT_TRUE(pathEndsWith("layouts", "LAYOUTS"));
    EXPECT_FALSE(pathEndsWith("/x/layout", "layouts"));
    EXPECT_FALSE(pathEndsWith("outs", "layouts"));
    EXPECT_FALSE(pathEndsWith(nullptr, "a"));
}

TEST(GetNextLine, OnlyCarriageReturnsEndLines) {
    const char crlf[] = "first\r\nsecond\r\n";
    EXPECT_EQ(getNextLine(crlf), crlf + 7);

    EXPECT_EQ(getNextLine("first\nsecond\n"), nullptr);
    EXPECT_EQ(getNextLine(static_cast<const char*>(nullptr)), nullptr);

    const char blanks[] = "first\r\r\n\n\rsecond";
    EXPECT_STREQ(getNextLine(blanks), "second");

    // A LF before the first CR belongs to the first line.
    const char mixed[] = "a\nb\rc";
    EXPECT_STREQ(getNextLine(mixed), "c");

    // A last line ending in CR leads to the empty rest, not to null.
    const char last[] = "only\r";
    EXPECT_EQ(getNextLine(last), last + 5);

    char writable[] = "one\rtwo";
    char* next = getNextLine(writable);
    ASSERT_EQ(next, writable + 4);
    *next = 'T';
    EXPECT_STREQ(writable, "one\rTwo");
}

std::string converted(const std::string& hfs, std::size_t size = kPathSize, bool* ok = nullptr) {
    GuardedBuffer path(size, hfs);
    const bool result = hfsToUnix(path.bytes, path.size);
    if (ok != nullptr) *ok = result;
    EXPECT_TRUE(path.guardIntact());
    return path.bytes;
}

TEST(HfsToUnix, StartupVolumeIsTheRootOthersLieInVolumes) {
    if (!platform::Traits::kHfsPaths) GTEST_SKIP() << "this build has no HFS paths";
    EXPECT_EQ(converted("Macintosh HD:Users:a.tif"), "/Users/a.tif");
    EXPECT_EQ(converted("macintosh hd:Users:"), "/Users");
    EXPECT_EQ(converted("Macintosh HD:"), "/");
    EXPECT_EQ(converted("Data:Images:a.tif"), "/Volumes/Data/Images/a.tif");
    EXPECT_EQ(converted("Data:Images:"), "/Volumes/Data/Images");
    EXPECT_EQ(converted("Data:"), "/Volumes/Data");
}

TEST(HfsToUnix, SlashInsideANameBecomesColon) {
    if (!platform::Traits::kHfsPaths) GTEST_SKIP() << "this build has no HFS paths";
    EXPECT_EQ(converted("Data:2024/05:a/b.tif"), "/Volumes/Data/2024:05/a:b.tif");
    EXPECT_EQ(converted("Backup/Old:a.tif"), "/Volumes/Backup:Old/a.tif");
}

TEST(HfsToUnix, PosixAndRelativePaths) {
    if (!platform::Traits::kHfsPaths) GTEST_SKIP() << "this build has no HFS paths";
    EXPECT_EQ(converted("/Users/a:b.tif"), "/Users/a:b.tif");
    EXPECT_EQ(converted("a.tif"), "a.tif");
    EXPECT_EQ(converted(":Images:a.tif"), "Images/a.tif");
}

TEST(HfsToUnix, FailuresLeaveThePathAsItWas) {
    if (!platform::Traits::kHfsPaths) GTEST_SKIP() << "this build has no HFS paths";
    bool ok = true;
    EXPECT_EQ(converted("Data::a.tif", kPathSize, &ok), "Data::a.tif");
    EXPECT_FALSE(ok);
    EXPECT_EQ(converted(":", kPathSize, &ok), ":");
    EXPECT_FALSE(ok);
    EXPECT_EQ(converted("", kPathSize, &ok), "");
    EXPECT_FALSE(ok);

    // "/Volumes/Data/Images/a.tif" needs 27 bytes.
    EXPECT_EQ(converted("Data:Images:a.tif", 26, &ok), "Data:Images:a.tif");
    EXPECT_FALSE(ok);
    EXPECT_EQ(converted("Data:Images:a.tif", 27, &ok), "/Volumes/Data/Images/a.tif");
    EXPECT_TRUE(ok);
}

TEST(HfsToUnix, HfsPathsEndAt255Bytes) {
    if (!platform::Traits::kHfsPaths) GTEST_SKIP() << "this build has no HFS paths";
    bool ok = false;
    const std::string longest = "Data:" + std::string(250, 'n');
    EXPECT_EQ(converted(longest, kPathSize, &ok), "/Volumes/Data/" + std::string(250, 'n'));
    EXPECT_TRUE(ok);

    const std::string tooLong = longest + "n";
    EXPECT_EQ(converted(tooLong, kPathSize, &ok), tooLong);
    EXPECT_FALSE(ok);

    const std::string huge = "Data:" + std::string(595, 'n');
    EXPECT_EQ(converted(huge, 1024, &ok), huge);
    EXPECT_FALSE(ok);
}

TEST(PosixPathOf, GivesPosixPathsBackAndConvertsHfs) {
    if (!platform::Traits::kHfsPaths) GTEST_SKIP() << "this build has no HFS paths";
    char buffer[kPathSize];
    const char* posix = "/Users/a.tif";
    EXPECT_EQ(posixPathOf(posix, buffer, sizeof buffer), posix);
    EXPECT_STREQ(posixPathOf("Data:a.tif", buffer, sizeof buffer), "/Volumes/Data/a.tif");
    EXPECT_EQ(posixPathOf("", buffer, sizeof buffer), nullptr);
    EXPECT_EQ(posixPathOf("Data::a", buffer, sizeof buffer), nullptr);
}

// "C:\a" names a drive: a build without HFS paths converts nothing.
TEST(HfsToUnix, ABuildWithoutHfsPathsTakesEveryPathAsItIs) {
    if (platform::Traits::kHfsPaths) GTEST_SKIP() << "this build has HFS paths";
    for (const char* path : {"C:\\Bilder\\a.tif", "Data:a.tif", "\\\\server\\share\\b.eps", "/x/y"}) {
        bool ok = false;
        EXPECT_EQ(converted(path, kPathSize, &ok), path);
        EXPECT_TRUE(ok) << path;
        char buffer[kPathSize];
        EXPECT_EQ(posixPathOf(path, buffer, sizeof buffer), path);
    }
}

}  // namespace
}  // namespace lumbrel

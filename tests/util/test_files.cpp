// The file helpers' rules that hold in every build, with the Windows cases
// that matter there (a read-only file, names beyond ASCII, long paths).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/platform_traits.h"
#include "support/test_support.h"
#include "util/files_paths.h"

namespace lumbrel {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

struct FreeBlock {
    void operator()(char* block) const { std::free(block); }
};
using Block = std::unique_ptr<char, FreeBlock>;

// `name` inside the scratch folder, as UTF-8 text with the build's separator.
std::string inside(const TempDir& dir, const std::string& name) {
    return dir.text() + platform::Traits::kPathSeparator + name;
}

// A file whose path is longer than a path buffer (and than MAX_PATH).
std::string makeDeepFile(const TempDir& dir, const std::string& content) {
    const std::string folder =
        inside(dir, std::string(250, 'a')) + platform::Traits::kPathSeparator + std::string(250, 'b');
    fs::create_directories(test::pathFromUtf8(folder));
    const std::string path = folder + platform::Traits::kPathSeparator + "deep.txt";
    writeFile(path, content);
    return path;
}

TEST(FileExists, FilesAndFoldersWhateverTheirNames) {
    TempDir dir;
    for (const char* name : {"a.txt", "Bild ä.tif", "写真.jpg"}) {
        const std::string file = inside(dir, name);
        writeFile(file, "x");
        EXPECT_TRUE(fileExists(file.c_str())) << name;
        EXPECT_FALSE(isFolder(file.c_str())) << name;
    }
    EXPECT_TRUE(fileExists(dir.text().c_str()));
    EXPECT_TRUE(isFolder(dir.text().c_str()));
    EXPECT_FALSE(fileExists(inside(dir, "missing").c_str()));
    EXPECT_FALSE(isFolder(inside(dir, "missing").c_str()));
    EXPECT_FALSE(fileExists(""));
    EXPECT_FALSE(fileExists(nullptr));
}

TEST(FilesWithLongPaths, PathsLongerThanABufferAreReadNotCut) {
    TempDir dir;
    const std::string path = makeDeepFile(dir, "deep");
    ASSERT_GT(path.size(), kPathSize);
    EXPECT_TRUE(fileExists(path.c_str()));
    EXPECT_EQ(getFileSize(path.c_str()), 4);
    std::int32_t length = -1;
    std::int16_t status = 1;
    const Block block(getFileData(path.c_str(), &length, &status));
    EXPECT_EQ(status, kFileRead);
    EXPECT_EQ(length, 4);

    // A 600-byte path whose first 511 bytes name an existing folder.
    const std::string missing = path.substr(0, kPathSize - 1) + std::string(89, 'z');
    EXPECT_FALSE(fileExists(missing.c_str()));
    EXPECT_EQ(getFileData(missing.c_str(), &length, &status), nullptr);
    EXPECT_EQ(status, kFileNotOpened);
}

TEST(GetFileData, ReadsTheFileIntoAZeroTerminatedBlock) {
    TempDir dir;
    const std::string content("ab\0cd\xff", 6);
    const std::string path = inside(dir, "ä.bin");
    writeFile(path, content);
    std::int32_t length = -1;
    std::int16_t status = 1;
    const Block block(getFileData(path.c_str(), &length, &status));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(status, kFileRead);
    ASSERT_EQ(length, 6);
    EXPECT_EQ(std::string(block.get(), 6), content);
    for (int i = 6; i < 10; ++i) EXPECT_EQ(block.get()[i], '\0') << i;
}

TEST(GetFileData, EmptyFileGivesAnEmptyBlock) {
    TempDir dir;
    writeFile(inside(dir, "empty"), "");
    std::int32_t length = -1;
    std::int16_t status = 1;
    const Block block(getFileData(inside(dir, "empty").c_str(), &length, &status));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(status, kFileRead);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(std::memcmp(block.get(), "\0\0\0\0", 4), 0);
}

TEST(GetFileData, MissingFoldersAndUnconvertiblePathsCannotBeOpened) {
    TempDir dir;
    for (const std::string& path : {inside(dir, "missing"), dir.text(), std::string("Data::x"), std::string()}) {
        std::int32_t length = 7;
        std::int16_t status = 1;
        EXPECT_EQ(getFileData(path.c_str(), &length, &status), nullptr) << path;
        EXPECT_EQ(status, kFileNotOpened) << path;
        EXPECT_EQ(length, 0) << path;
    }
    // Null result holders are allowed.
    EXPECT_EQ(getFileData(inside(dir, "missing").c_str(), nullptr, nullptr), nullptr);
}

TEST(SetFileData, CreatesOrTruncates) {
    TempDir dir;
    const std::string path = inside(dir, "out ü.bin");
    const std::string content("x\0y", 3);
    ASSERT_TRUE(setFileData(path.c_str(), content.data(), content.size()));
    EXPECT_EQ(readFile(path), content);

    writeFile(path, "a much longer content");
    ASSERT_TRUE(setFileData(path.c_str(), "ab", 2));
    EXPECT_EQ(readFile(path), "ab");

    ASSERT_TRUE(setFileData(path.c_str(), nullptr, 0));
    EXPECT_EQ(readFile(path), "");
    EXPECT_FALSE(setFileData(inside(dir, "missing").append(1, platform::Traits::kPathSeparator).append("o").c_str(),
                             "x", 1));
    EXPECT_FALSE(setFileData(inside(dir, "out.txt").c_str(), nullptr, 1));
}

TEST(GetFileSize, SizeOfAFileThatCanBeRewritten) {
    TempDir dir;
    writeFile(inside(dir, "a"), std::string(1234, 'a'));
    EXPECT_EQ(getFileSize(inside(dir, "a").c_str()), 1234);
    EXPECT_EQ(getFileSize(inside(dir, "missing").c_str()), 0);
    EXPECT_EQ(getFileSize(dir.text().c_str()), 0);
    // Opening for update must not change the file.
    EXPECT_EQ(readFile(inside(dir, "a")), std::string(1234, 'a'));
}

// Read-only by its own permission (POSIX) or attribute (Windows): the
// owner's write permission is what both builds' libraries take away.
TEST(GetFileSize, AFileMadeReadOnlyReportsZeroWhileItIsRead) {
    TempDir dir;
    const std::string path = inside(dir, "nur lesen ö.txt");
    writeFile(path, "12345");
    ASSERT_TRUE(test::makeReadOnly(path));
    // Root writes anyway, on POSIX and in a Wine prefix run as root (CI).
    if (std::fstream(test::pathFromUtf8(path), std::ios::in | std::ios::out).is_open()) {
        GTEST_SKIP() << "a read-only file does not stop this process (root)";
    }
    EXPECT_EQ(getFileSize(path.c_str()), 0);
    EXPECT_TRUE(fileExists(path.c_str()));
    std::int32_t length = 0;
    const Block block(getFileData(path.c_str(), &length, nullptr));
    EXPECT_EQ(length, 5);
}

TEST(WriteBOM, WritesTheThreeBytes) {
    TempDir dir;
    const std::string path = inside(dir, "bom");
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(writeBOM(file));
    std::fclose(file);
    EXPECT_EQ(readFile(path), "\xEF\xBB\xBF");
    EXPECT_FALSE(writeBOM(nullptr));
}

TEST(GetFileModDate, WholeSecondsOfTheLastWriteTime) {
    TempDir dir;
    const std::string path = inside(dir, "datiert ä");
    writeFile(path, "x");
    using namespace std::chrono;
    const sys_time<nanoseconds> when{seconds{1234567890} + nanoseconds{987654321}};
    fs::last_write_time(test::pathFromUtf8(path), file_clock::from_sys(when));
    EXPECT_EQ(getFileModDate(path.c_str()), 1234567890u);
    EXPECT_EQ(getFileModDate(inside(dir, "missing").c_str()), 0u);
    EXPECT_EQ(getFileModDate(""), 0u);
}

}  // namespace
}  // namespace lumbrel

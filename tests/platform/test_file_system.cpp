// The file-system interface, in whichever build runs it: POSIX calls or
// Win32 ones over UTF-16 paths.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "platform/file_system.h"
#include "support/test_support.h"

namespace lumbrel {
namespace {

namespace fs = std::filesystem;
using platform::FolderListing;
using platform::ItemInfo;
using platform::ItemKind;

// The path as the module hands it over: UTF-8 text.
std::string utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path fromUtf8(const std::string& text) { return test::pathFromUtf8(text); }

constexpr std::int64_t kSomeTime = 1700000000;  // 2023-11-14, UTC

void setModified(const fs::path& path, std::int64_t seconds) {
    using namespace std::chrono;
    fs::last_write_time(path, file_clock::from_sys(sys_seconds(std::chrono::seconds(seconds))));
}

std::map<std::string, ItemKind> listAll(FolderListing& listing) {
    std::map<std::string, ItemKind> items;
    const char* name = nullptr;
    ItemKind kind{};
    while (listing.next(name, kind)) items.emplace(name, kind);
    return items;
}

TEST(FileSystem, LooksAtFilesOfEveryNameAndSize) {
    const test::TempDir dir;
    struct Case {
        const char* name;
        std::size_t size;
        std::int64_t modified;
    };
    const Case cases[] = {
        {"empty.txt", 0, kSomeTime},
        {"five.bin", 5, kSomeTime + 1},
        {"Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC.tif", 70000, 86400},  // "Grüße €.tif": not in any ANSI code page whole
        {"\xE6\x97\xA5\xE6\x9C\xAC.pdf", 3, kSomeTime},             // CJK
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path path = dir.path() / fromUtf8(c.name);
        test::writeFile(utf8(path), std::string(c.size, 'x'));
        setModified(path, c.modified);
        ItemInfo info;
        ASSERT_TRUE(platform::lookAt(utf8(path).c_str(), info));
        EXPECT_EQ(info.kind, ItemKind::File);
        EXPECT_EQ(info.size, static_cast<std::int64_t>(c.size));
        EXPECT_EQ(info.modified, c.modified);
        ItemInfo itself;
        ASSERT_TRUE(platform::lookAtItself(utf8(path).c_str(), itself));
        EXPECT_EQ(itself.kind, ItemKind::File);
        EXPECT_EQ(itself.size, info.size);
    }
}

TEST(FileSystem, FoldersAndMissingItems) {
    const test::TempDir dir;
    fs::create_directory(dir.path() / fromUtf8("\xC3\x84nderungen"));
    ItemInfo info;
    ASSERT_TRUE(platform::lookAt(utf8(dir.path() / fromUtf8("\xC3\x84nderungen")).c_str(), info));
    EXPECT_EQ(info.kind, ItemKind::Folder);

    const std::string missing = utf8(dir.path() / "missing");
    const std::string belowAFile = utf8(dir.path() / "file.txt" / "x");
    test::writeFile(utf8(dir.path() / "file.txt"), "x");
    for (const char* path : {static_cast<const char*>(nullptr), "", missing.c_str(), belowAFile.c_str()}) {
        SCOPED_TRACE(path != nullptr ? path : "(null)");
        ItemInfo untouched{ItemKind::Link, 42, 43};
        EXPECT_FALSE(platform::lookAt(path, untouched));
        EXPECT_FALSE(platform::lookAtItself(path, untouched));
        EXPECT_EQ(untouched.kind, ItemKind::Link);
        EXPECT_EQ(untouched.size, 42);
        EXPECT_EQ(untouched.modified, 43);
        EXPECT_EQ(platform::openRegularFile(path), nullptr);
    }
}

TEST(FileSystem, ReadsRegularFilesOnly) {
    const test::TempDir dir;
    const std::string file = utf8(dir.path() / fromUtf8("\xC3\xA9t\xC3\xA9.txt"));
    test::writeFile(file, std::string("a\r\nb\0c", 6));  // bytes as they are: no text-mode translation
    std::FILE* opened = platform::openRegularFile(file.c_str());
    ASSERT_NE(opened, nullptr);
    char buffer[16] = {};
    EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, opened), 6U);
    EXPECT_EQ(std::memcmp(buffer, "a\r\nb\0c", 6), 0);
    std::int64_t length = 0;
    EXPECT_TRUE(platform::openFileLength(opened, length));
    EXPECT_EQ(length, 6);
    EXPECT_TRUE(platform::seekFile(opened, 0, SEEK_END));
    EXPECT_EQ(platform::tellFile(opened), 6);
    EXPECT_TRUE(platform::seekFile(opened, 2, SEEK_SET));
    EXPECT_EQ(std::fgetc(opened), '\n');
    std::fclose(opened);

    EXPECT_EQ(platform::openRegularFile(utf8(dir.path()).c_str()), nullptr);  // a folder
}

TEST(FileSystem, OpensRemovesAndWritesByUtf8Path) {
    const test::TempDir dir;
    const fs::path path = dir.path() / fromUtf8("\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB.log");  // Cyrillic
    std::FILE* file = platform::openFile(utf8(path).c_str(), "wb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(std::fwrite("line\n", 1, 5, file), 5U);
    std::fclose(file);
    EXPECT_EQ(test::readFile(utf8(path)), "line\n");  // binary mode: no CR added
    EXPECT_TRUE(platform::removeFile(utf8(path).c_str()));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(platform::removeFile(utf8(path).c_str()));
    EXPECT_EQ(platform::openFile(nullptr, "rb"), nullptr);
    EXPECT_EQ(platform::openFile(utf8(path).c_str(), "rb"), nullptr);
}

TEST(FileSystem, ResolvesToAnAbsolutePathThatMustFit) {
    const test::TempDir dir;
    fs::create_directory(dir.path() / "sub");
    test::writeFile(utf8(dir.path() / fromUtf8("\xC3\xBC.txt")), "x");
    const std::string roundabout = utf8(dir.path() / "sub" / ".." / fromUtf8("\xC3\xBC.txt"));

    char resolved[1024];
    ASSERT_TRUE(platform::resolvePath(roundabout.c_str(), resolved, sizeof resolved));
    EXPECT_TRUE(fromUtf8(resolved).is_absolute()) << resolved;
    EXPECT_TRUE(fs::equivalent(fromUtf8(resolved), dir.path() / fromUtf8("\xC3\xBC.txt"))) << resolved;
    EXPECT_EQ(std::string(resolved).find(".."), std::string::npos) << resolved;

    // In place, as the module resolves its own path buffers.
    char inPlace[1024];
    std::strcpy(inPlace, roundabout.c_str());
    ASSERT_TRUE(platform::resolvePath(inPlace, inPlace, sizeof inPlace));
    EXPECT_STREQ(inPlace, resolved);

    // Exactly the length plus its terminator fits; one byte less does not and
    // leaves the buffer as it was.
    const std::size_t needed = std::strlen(resolved) + 1;
    char tight[1024];
    EXPECT_TRUE(platform::resolvePath(roundabout.c_str(), tight, needed));
    std::strcpy(tight, "untouched");
    EXPECT_FALSE(platform::resolvePath(roundabout.c_str(), tight, needed - 1));
    EXPECT_STREQ(tight, "untouched");
    EXPECT_FALSE(platform::resolvePath(utf8(dir.path() / "missing").c_str(), tight, sizeof tight));
}

TEST(FileSystem, LocalTimeRoundTrips) {
    for (const std::time_t t : {std::time_t{86400}, std::time_t{kSomeTime}, std::time_t{2000000000}}) {
        std::tm local{};
        ASSERT_TRUE(platform::localTime(t, local)) << t;
        local.tm_isdst = -1;
        EXPECT_EQ(std::mktime(&local), t);
    }
}

TEST(FolderListing, ListsNamesAndKindsWithoutDotEntries) {
    const test::TempDir dir;
    test::writeFile(utf8(dir.path() / "a.txt"), "a");
    test::writeFile(utf8(dir.path() / fromUtf8("\xC3\x84rger.tif")), "b");
    fs::create_directory(dir.path() / "sub");
    test::writeFile(utf8(dir.path() / "sub" / "inner.pdf"), "c");
    fs::create_directory(dir.path() / "sub" / "deeper");

    FolderListing top(utf8(dir.path()).c_str());
    ASSERT_TRUE(top);
    const std::map<std::string, ItemKind> expected{
        {"a.txt", ItemKind::File}, {"\xC3\x84rger.tif", ItemKind::File}, {"sub", ItemKind::Folder}};
    EXPECT_EQ(listAll(top), expected);

    FolderListing again(utf8(dir.path()).c_str());
    FolderListing sub(again, "sub");
    ASSERT_TRUE(sub);
    const std::map<std::string, ItemKind> inSub{{"inner.pdf", ItemKind::File}, {"deeper", ItemKind::Folder}};
    EXPECT_EQ(listAll(sub), inSub);

    FolderListing deeper(sub, "deeper");
    ASSERT_TRUE(deeper);
    EXPECT_TRUE(listAll(deeper).empty());
    const char* name = nullptr;
    ItemKind kind{};
    EXPECT_FALSE(deeper.next(name, kind));  // stays at its end
}

TEST(FolderListing, OpensFoldersOnly) {
    const test::TempDir dir;
    test::writeFile(utf8(dir.path() / "file.txt"), "x");
    fs::create_directory(dir.path() / "sub");
    const std::string file = utf8(dir.path() / "file.txt");
    const std::string missing = utf8(dir.path() / "missing");
    for (const char* path : {static_cast<const char*>(nullptr), "", file.c_str(), missing.c_str()}) {
        SCOPED_TRACE(path != nullptr ? path : "(null)");
        EXPECT_FALSE(FolderListing(path));
    }
    const FolderListing top(utf8(dir.path()).c_str());
    ASSERT_TRUE(top);
    for (const char* name : {static_cast<const char*>(nullptr), "", "file.txt", "missing"}) {
        SCOPED_TRACE(name != nullptr ? name : "(null)");
        EXPECT_FALSE(FolderListing(top, name));
    }
    EXPECT_TRUE(FolderListing(top, "sub"));
    const FolderListing closed(missing.c_str());
    EXPECT_FALSE(FolderListing(closed, "sub"));  // no parent, no subfolder
}

// A link to a folder is listed as a link and never opened as a subfolder,
// so a walk cannot go round; asked by its path, it is what it leads to.
TEST(FolderListing, LinksAreListedButNeverEntered) {
    const test::TempDir dir;
    fs::create_directory(dir.path() / "real");
    test::writeFile(utf8(dir.path() / "real" / "x.txt"), "x");
    std::string error;
    if (!test::makeFolderLink(dir.path() / "real", dir.path() / "loop", error))
        GTEST_SKIP() << "no folder link can be made here: " << error;

    FolderListing top(utf8(dir.path()).c_str());
    const std::map<std::string, ItemKind> expected{{"real", ItemKind::Folder}, {"loop", ItemKind::Link}};
    EXPECT_EQ(listAll(top), expected);
    EXPECT_FALSE(FolderListing(top, "loop"));

    ItemInfo info;
    ASSERT_TRUE(platform::lookAt(utf8(dir.path() / "loop").c_str(), info));
    EXPECT_EQ(info.kind, ItemKind::Folder);
    ASSERT_TRUE(platform::lookAtItself(utf8(dir.path() / "loop").c_str(), info));
    EXPECT_EQ(info.kind, ItemKind::Link);
    char resolved[1024];
    ASSERT_TRUE(platform::resolvePath(utf8(dir.path() / "loop" / "x.txt").c_str(), resolved, sizeof resolved));
    EXPECT_TRUE(fs::equivalent(fromUtf8(resolved), dir.path() / "real" / "x.txt")) << resolved;
}

}  // namespace
}  // namespace lumbrel

// The file helpers' rules that need POSIX itself: permissions, links,
// FIFOs and devices, HFS paths, sparse files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "support/test_support.h"
#include "util/files_paths.h"

namespace lumbrel {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::WithoutRootPrivileges;
using test::writeFile;

// A scratch folder others may enter, so the unprivileged user meets only the
// permission bits the test sets.
void openToOthers(const TempDir& dir) {
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
}

// The HFS form of a POSIX path on the startup volume.
std::string hfsFormOf(const std::string& posix) {
    std::string hfs = "Macintosh HD" + posix;
    for (char& c : hfs) {
        if (c == '/') c = ':';
    }
    return hfs;
}

struct FreeBlock {
    void operator()(char* block) const { std::free(block); }
};
using Block = std::unique_ptr<char, FreeBlock>;

// A file whose path is longer than a path buffer.
std::string makeDeepFile(const TempDir& dir, const std::string& content) {
    const fs::path folder = dir.path() / std::string(250, 'a') / std::string(250, 'b');
    fs::create_directories(folder);
    const std::string path = (folder / "deep.txt").string();
    writeFile(path, content);
    return path;
}

TEST(FileHelpers, HfsPathsOnTheStartupVolumeReachTheSameFiles) {
    TempDir dir;
    const std::string file = dir.file("a.txt");
    writeFile(file, std::string(1234, 'a'));
    EXPECT_TRUE(fileExists(hfsFormOf(file).c_str()));
    EXPECT_EQ(getFileSize(hfsFormOf(file).c_str()), 1234);
    ASSERT_TRUE(setFileData(hfsFormOf(dir.file("hfs.txt")).c_str(), "h", 1));
    EXPECT_EQ(readFile(dir.file("hfs.txt")), "h");
}

TEST(IsFolder, TellsFoldersFromFiles) {
    TempDir dir;
    writeFile(dir.file("a.txt"), "x");
    fs::create_symlink(dir.path(), dir.path() / "link");
    EXPECT_TRUE(isFolder(dir.path().c_str()));
    EXPECT_TRUE(isFolder(hfsFormOf(dir.path().string()).c_str()));
    EXPECT_TRUE(isFolder(dir.file("link").c_str()));
    EXPECT_FALSE(isFolder(dir.file("a.txt").c_str()));
    EXPECT_FALSE(isFolder(dir.file("missing").c_str()));
}

TEST(GetFileData, HfsPathIsConvertedFirst) {
    TempDir dir;
    writeFile(dir.file("a.txt"), "hfs");
    std::int32_t length = 0;
    std::int16_t status = 1;
    const Block block(getFileData(hfsFormOf(dir.file("a.txt")).c_str(), &length, &status));
    ASSERT_NE(block, nullptr);
    EXPECT_STREQ(block.get(), "hfs");
}

TEST(GetFileData, UnreadableFileCannotBeOpened) {
    TempDir dir;
    openToOthers(dir);
    writeFile(dir.file("readable"), "r");
    writeFile(dir.file("secret"), "s");
    fs::permissions(dir.file("readable"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir.file("secret"), fs::perms::none);
    WithoutRootPrivileges unprivileged;
    if (!unprivileged.ok()) GTEST_SKIP() << "cannot drop root privileges";
    std::int32_t length = 0;
    std::int16_t status = 1;
    const Block control(getFileData(dir.file("readable").c_str(), &length, &status));
    if (control == nullptr) GTEST_SKIP() << "the scratch folder is closed to other users";
    EXPECT_EQ(getFileData(dir.file("secret").c_str(), &length, &status), nullptr);
    EXPECT_EQ(status, kFileNotOpened);
}

TEST(GetFileData, WhatIsNoRegularFileIsNeverWaitedOnAndCountsAsUnopened) {
    TempDir dir;
    for (const test::NonFile kind : test::kNonFiles) {
        SCOPED_TRACE(test::nonFileName(kind));
        const std::string path = dir.file(std::string("item-") + test::nonFileName(kind));
        ASSERT_TRUE(test::makeNonFile(kind, path));
        const int answer = test::runBounded(std::chrono::seconds(10), [&] {
            std::int32_t length = -1;
            std::int16_t status = kFileRead;
            if (getFileData(path.c_str(), &length, &status) != nullptr) return 1;
            if (length != 0 || status != kFileNotOpened) return 2;
            if (getFileData(hfsFormOf(path).c_str(), nullptr, nullptr) != nullptr) return 3;
            return openRegularFile(path.c_str()) == nullptr ? 0 : 4;
        });
        EXPECT_EQ(answer, 0) << "-1: it blocked";
    }
    // A regular file behind a link is read.
    writeFile(dir.file("real"), "abc");
    ASSERT_EQ(::symlink(dir.file("real").c_str(), dir.file("link").c_str()), 0);
    std::FILE* file = openRegularFile(dir.file("link").c_str());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(test::streamContents(file), "abc");
    std::fclose(file);
    EXPECT_EQ(openRegularFile(nullptr), nullptr);
    EXPECT_EQ(openRegularFile(""), nullptr);
}

TEST(CreateRegularFile, MakesOrEmptiesRegularFilesAndLeavesEverythingElseAlone) {
    TempDir dir;
    for (const test::NonFile kind : test::kNonFiles) {
        SCOPED_TRACE(test::nonFileName(kind));
        const std::string path = dir.file(std::string("item-") + test::nonFileName(kind));
        ASSERT_TRUE(test::makeNonFile(kind, path));
        const int answer = test::runBounded(std::chrono::seconds(10), [&] {
            std::FILE* file = createRegularFile(path.c_str());
            if (file != nullptr) std::fclose(file);
            return file == nullptr ? 0 : 1;
        });
        EXPECT_EQ(answer, 0) << "-1: it blocked";
    }
    // New, emptied, and through a link the file behind it.
    writeFile(dir.file("old"), "old content");
    ASSERT_EQ(::symlink(dir.file("old").c_str(), dir.file("link").c_str()), 0);
    for (const char* name : {"new", "old", "link"}) {
        std::FILE* file = createRegularFile(dir.file(name).c_str());
        ASSERT_NE(file, nullptr) << name;
        EXPECT_GE(std::fputs("x", file), 0);
        EXPECT_EQ(std::fclose(file), 0);
        EXPECT_EQ(readFile(dir.file(name)), "x") << name;
    }
    EXPECT_EQ(createRegularFile(dir.file("none/new").c_str()), nullptr);
    EXPECT_EQ(createRegularFile(""), nullptr);
    EXPECT_EQ(createRegularFile(nullptr), nullptr);
}

TEST(GetFileData, FileLargerThan32BitsIsRefused) {
    TempDir dir;
    const std::string path = dir.file("huge");
    writeFile(path, "");
    // Sparse: no disk space is used.
    ASSERT_EQ(::truncate(path.c_str(), off_t{0x80000000}), 0);
    std::int32_t length = 7;
    std::int16_t status = 1;
    EXPECT_EQ(getFileData(path.c_str(), &length, &status), nullptr);
    EXPECT_EQ(status, kFileNoMemory);
    EXPECT_EQ(length, 0);
}

TEST(SetFileData, FailuresAreReported) {
    TempDir dir;
    EXPECT_FALSE(setFileData(dir.file("missing/out.txt").c_str(), "x", 1));
    EXPECT_FALSE(setFileData(dir.file("out.txt").c_str(), nullptr, 1));

    const fs::path locked = dir.path() / "locked";
    fs::create_directory(locked);
    if (!test::lockFolder(locked)) GTEST_SKIP() << "cannot lock a folder here";
    const bool written = setFileData((locked / "new.txt").c_str(), "x", 1);
    test::unlockFolder(locked);
    EXPECT_FALSE(written);
    EXPECT_FALSE(fs::exists(locked / "new.txt"));
}

TEST(GetFileSize, ReadOnlyFileReportsZero) {
    TempDir dir;
    openToOthers(dir);
    const std::string path = dir.file("readonly");
    writeFile(path, "12345");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    WithoutRootPrivileges unprivileged;
    if (!unprivileged.ok()) GTEST_SKIP() << "cannot drop root privileges";
    if (::access(path.c_str(), R_OK) != 0) GTEST_SKIP() << "the scratch folder is closed to other users";
    EXPECT_EQ(getFileSize(path.c_str()), 0);
}

TEST(GetFileModDate, WholeSecondsOfTheModificationTime) {
    TempDir dir;
    const std::string path = dir.file("dated");
    writeFile(path, "x");
    const timespec times[2] = {{1000000000, 0}, {1234567890, 987654321}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_EQ(getFileModDate(path.c_str()), 1234567890u);
    EXPECT_EQ(getFileModDate(hfsFormOf(path).c_str()), 1234567890u);
    EXPECT_EQ(getFileModDate(dir.file("missing").c_str()), 0u);
    EXPECT_EQ(getFileModDate(""), 0u);
}

std::string canonical(const std::string& path) { return fs::canonical(path).string(); }

TEST(ResolveAlias, LinkIsReplacedByItsResolvedTarget) {
    TempDir dir;
    fs::create_directory(dir.path() / "sub");
    writeFile(dir.file("target.txt"), "t");
    // A relative target through "..", and a link to that link.
    fs::create_symlink("sub/../target.txt", dir.path() / "link");
    fs::create_symlink("link", dir.path() / "link2");

    char path[kPathSize];
    copyBounded(path, dir.file("link"));
    EXPECT_TRUE(resolveAlias(path, sizeof path));
    EXPECT_EQ(std::string(path), canonical(dir.file("target.txt")));

    copyBounded(path, dir.file("link2"));
    EXPECT_TRUE(resolveAlias(path, sizeof path));
    EXPECT_EQ(std::string(path), canonical(dir.file("target.txt")));

    copyBounded(path, hfsFormOf(dir.file("link")));
    EXPECT_TRUE(resolveAlias(path, sizeof path));
    EXPECT_EQ(std::string(path), canonical(dir.file("target.txt")));
}

TEST(ResolveAlias, AnythingElseLeavesThePath) {
    TempDir dir;
    writeFile(dir.file("plain.txt"), "p");
    fs::create_symlink(dir.path() / "gone", dir.path() / "dangling");
    for (const std::string& original : {dir.file("plain.txt"), dir.file("dangling"), dir.file("missing")}) {
        char path[kPathSize];
        copyBounded(path, original);
        EXPECT_FALSE(resolveAlias(path, sizeof path)) << original;
        EXPECT_EQ(std::string(path), original);
    }
}

TEST(ResolveAlias, TargetThatDoesNotFitLeavesThePath) {
    TempDir dir;
    const std::string target = makeDeepFile(dir, "d");
    fs::create_symlink(target, dir.path() / "l");
    char path[kPathSize];
    copyBounded(path, dir.file("l"));
    EXPECT_FALSE(resolveAlias(path, sizeof path));
    EXPECT_EQ(std::string(path), dir.file("l"));

    fs::create_symlink("plain", dir.path() / "l3");
    writeFile(dir.file("plain"), "p");
    const std::string resolved = canonical(dir.file("plain"));
    char exact[kPathSize];
    copyBounded(exact, dir.file("l3"));
    EXPECT_FALSE(resolveAlias(exact, resolved.size()));  // no room for the terminator
    EXPECT_EQ(std::string(exact), dir.file("l3"));
    EXPECT_TRUE(resolveAlias(exact, resolved.size() + 1));
    EXPECT_EQ(std::string(exact), resolved);
}

}  // namespace
}  // namespace lumbrel

// The settings store against what only POSIX file systems have: permission
// bits, owners, the umask, FIFOs and devices, and the Mac's HFS paths.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include "settings/settings_store_fixture.h"

namespace lumbrel {
namespace {

using test::readFile;
using test::SettingsStore;
using test::TempDir;
using test::value;
using test::writeFile;

TEST_F(SettingsStore, SaveToALockedFolderWritesTheFileInPlace) {
    load("[A]\rx=1\r");
    store.set("A", "x", "2");
    struct stat before {};
    ASSERT_EQ(::stat(iniPath.c_str(), &before), 0);
    if (!test::lockFolder(dir.path())) GTEST_SKIP() << "cannot make a folder unwritable here";
    EXPECT_EQ(store.save(), 0);
    test::unlockFolder(dir.path());
    EXPECT_EQ(readFile(iniPath), "[A]\rx=2\r");
    struct stat after {};
    ASSERT_EQ(::stat(iniPath.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the same file, written over";
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    // Locked itself as well, the file is left as it was.
    store.set("A", "x", "3");
    if (!test::lockFile(iniPath) || !test::lockFolder(dir.path())) GTEST_SKIP() << "cannot lock a file here";
    EXPECT_EQ(store.save(), 0);
    test::unlockFolder(dir.path());
    test::unlockFile(iniPath);
    EXPECT_EQ(readFile(iniPath), "[A]\rx=2\r");
    EXPECT_EQ(value(store, "A", "x"), "3") << "the text in memory is unchanged";
}

// Permission bits do not hold root back, so as root the user "nobody" loads
// and saves, owning the folder and the file; otherwise the test's own user.
TEST_F(SettingsStore, SaveFollowsWhatTheFileAndItsFolderAllow) {
    struct Case {
        const char* what;
        mode_t folder;
        mode_t file;
        bool written;   // the new value reached the file
        bool replaced;  // by a new file renamed into place
    };
    const Case cases[] = {
        {"writable file and folder", 0755, 0640, true, true},
        {"read-only file", 0755, 0444, false, false},
        {"read-only folder, writable file", 0555, 0644, true, false},
        {"read-only folder and file", 0555, 0444, false, false},
        {"file unreadable at load", 0755, 0200, false, false},
    };
    constexpr uid_t kNobody = 65534;
    const bool root = ::geteuid() == 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir folder;
        const std::string path = folder.file("Lumbrel.ini");
        writeFile(path, "[A]\rx=1\r");
        if (root) {
            ASSERT_EQ(::chown(folder.path().c_str(), kNobody, kNobody), 0);
            ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
        }
        ASSERT_EQ(::chmod(path.c_str(), c.file), 0);
        ASSERT_EQ(::chmod(folder.path().c_str(), c.folder), 0);
        struct stat before {};
        ASSERT_EQ(::stat(path.c_str(), &before), 0);
        CMySettings settings;
        {
            const test::WithoutRootPrivileges asNobody;
            ASSERT_TRUE(asNobody.ok());
            ASSERT_EQ(settings.setupWithPath(path.c_str()), 0);
            settings.set("A", "x", "2");
            EXPECT_EQ(settings.save(), 0);
        }
        EXPECT_EQ(value(settings, "A", "x"), "2");
        ::chmod(folder.path().c_str(), 0755);
        struct stat after {};
        ASSERT_EQ(::stat(path.c_str(), &after), 0);
        ::chmod(path.c_str(), 0600);
        EXPECT_EQ(readFile(path), c.written ? "[A]\rx=2\r" : "[A]\rx=1\r");
        EXPECT_EQ(after.st_mode & 07777, c.file);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_ino != before.st_ino, c.replaced);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1) << "no temporary left";
    }
}

TEST_F(SettingsStore, ReplacedFileKeepsItsOwnerAndANewFileFollowsTheUmask) {
    for (const mode_t mask : {mode_t{022}, mode_t{027}, mode_t{077}}) {
        const std::string path = dir.file("New" + std::to_string(mask) + ".ini");
        const mode_t saved = ::umask(mask);
        store.setupWithPath(path.c_str());
        store.set("A", "x", "1");
        store.save();
        ::umask(saved);
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0666U & ~mask) << std::oct << mask;
    }
    if (::geteuid() != 0) GTEST_SKIP() << "only root can hand a file to another owner";
    load("[A]\rx=1\r");
    ASSERT_EQ(::chown(iniPath.c_str(), 65534, 65534), 0);
    store.set("A", "x", "2");
    store.save();
    struct stat info {};
    ASSERT_EQ(::stat(iniPath.c_str(), &info), 0);
    EXPECT_EQ(readFile(iniPath), "[A]\rx=2\r");
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
}

TEST_F(SettingsStore, AnHfsPathIsReadAndWrittenAsTheSameFile) {
    writeFile(iniPath, "[A]\rx=1\r");
    std::string hfs = "Macintosh HD" + iniPath;
    std::replace(hfs.begin(), hfs.end(), '/', ':');
    ASSERT_EQ(store.setupWithPath(hfs.c_str()), 0);
    EXPECT_EQ(value(store, "A", "x"), "1");
    EXPECT_EQ(std::string(store.path()), iniPath);
    store.set("A", "x", "2");
    store.save();
    EXPECT_EQ(readFile(iniPath), "[A]\rx=2\r");
    EXPECT_FALSE(std::filesystem::exists(hfs)) << "no file named with colons in the current folder";
    EXPECT_FALSE(store.shallReload());
}

TEST_F(SettingsStore, WhatIsNoFileLoadsAsMissingAndIsNeverSavedOver) {
    for (const test::NonFile kind : test::kNonFiles) {
        SCOPED_TRACE(test::nonFileName(kind));
        TempDir folder;
        const std::string path = folder.file("Lumbrel.ini");
        ASSERT_TRUE(test::makeNonFile(kind, path));
        struct stat before {};
        ASSERT_EQ(::lstat(path.c_str(), &before), 0);
        const int answer = test::runBounded(std::chrono::seconds(10), [&] {
            CMySettings settings;
            if (settings.setupWithPath(path.c_str()) != 0 || !settings.text().empty()) return 1;
            settings.set("A", "x", "2");
            return settings.save() == 0 ? 0 : 2;
        });
        EXPECT_EQ(answer, 0) << "-1: it blocked";
        struct stat after {};
        ASSERT_EQ(::lstat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
    }
}

TEST_F(SettingsStore, SaveReplacesTheFileWholeAndKeepsItsPermissions) {
    load("[A]\rx=1\r");
    ::chmod(iniPath.c_str(), 0640);
    store.set("A", "x", std::string(20000, 'y').c_str());
    store.save();
    struct stat info {};
    ASSERT_EQ(::stat(iniPath.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(readFile(iniPath).size(), 4 + 2 + 20000 + 1u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace lumbrel

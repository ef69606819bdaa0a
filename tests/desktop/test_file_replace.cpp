// Writing files over others: only regular files (or links to them) are
// replaced, through a temporary file of a unique name, keeping their mode;
// nothing planted beside the target is followed.
#include "desktop/files/file_replace.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace desktop::files {
namespace {

namespace fs = std::filesystem;
using lumbrel::test::readFile;
using lumbrel::test::TempDir;
using lumbrel::test::writeFile;

// Both ways of writing, as one call that answers whether it wrote.
struct Writer {
    const char* name;
    std::function<bool(const std::string& path, const std::string& bytes, std::string& reason)> write;
};

const std::vector<Writer> kWriters = {
    {"replaceFile", [](const std::string& path, const std::string& bytes, std::string& reason) {
         return replaceFile(path, bytes, reason);
     }},
    {"openToRewrite", [](const std::string& path, const std::string& bytes, std::string& reason) {
         std::FILE* file = openToRewrite(path, reason);
         if (file == nullptr) return false;
         const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
         return std::fclose(file) == 0 && written;
     }},
};

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct stat lstatOf(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info;
}

TEST(FileReplace, FoldersFifosDevicesAndLinksToThemAreRefusedAndLeftAlone) {
    for (const Writer& writer : kWriters) {
        TempDir dir;
        struct Target {
            const char* name;
            std::function<bool(const std::string&)> make;
            const char* reason;
        };
        const std::vector<Target> targets = {
            {"folder", [](const std::string& p) { return fs::create_directory(p); }, "a folder"},
            {"fifo", [](const std::string& p) { return ::mkfifo(p.c_str(), 0644) == 0; }, "not a regular file"},
            // A device node of our own needs root (CI runs as root); /dev/full through a link always works.
            {"device", [](const std::string& p) { return ::mknod(p.c_str(), S_IFCHR | 0644, makedev(1, 7)) == 0; },
             "not a regular file"},
            {"link to a device", [](const std::string& p) { return ::symlink("/dev/full", p.c_str()) == 0; },
             "not a regular file"},
            {"link to a fifo",
             [&](const std::string& p) {
                 return ::mkfifo(dir.file("a fifo").c_str(), 0644) == 0 && ::symlink("a fifo", p.c_str()) == 0;
             },
             "not a regular file"},
            {"link to nothing", [](const std::string& p) { return ::symlink("nowhere", p.c_str()) == 0; },
             "link to nothing"},
        };
        for (const Target& target : targets) {
            const std::string path = dir.file(target.name);
            if (!target.make(path)) {
                ASSERT_STREQ(target.name, "device") << "cannot make the " << target.name;
                continue;
            }
            const struct stat before = lstatOf(path);
            const auto names = namesIn(dir.path());
            std::string reason;
            // Bounded: opening a FIFO for writing used to wait for a reader forever.
            const bool refusedInTime = lumbrel::test::finishesWithin(std::chrono::seconds(10), [&] {
                std::string childReason;
                return !writer.write(path, "{}", childReason);
            });
            EXPECT_TRUE(refusedInTime) << writer.name << " wrote over the " << target.name << " or hung";
            if (!refusedInTime) continue;
            EXPECT_FALSE(writer.write(path, "{}", reason));
            EXPECT_NE(reason.find(target.reason), std::string::npos) << writer.name << ", " << target.name << ": " << reason;
            const struct stat after = lstatOf(path);
            EXPECT_EQ(after.st_ino, before.st_ino) << writer.name << ", " << target.name;
            EXPECT_EQ(after.st_mode, before.st_mode) << writer.name << ", " << target.name;
            EXPECT_EQ(namesIn(dir.path()), names) << writer.name << ", " << target.name << ": a temporary file stayed";
        }
    }
}

TEST(FileReplace, LinksPlantedAtTemporaryNamesDoNothingToTheirVictims) {
    for (const Writer& writer : kWriters) {
        TempDir dir;
        const std::string victim = dir.file("victim.txt");
        writeFile(victim, "precious");
        const std::string path = dir.file("layout.json");
        writeFile(path, "old");
        // The fixed names earlier versions wrote through.
        for (const char* suffix : {".saving", ".tmp.svg", ".tmp", ".XXXXXX"}) {
            ASSERT_EQ(::symlink(victim.c_str(), (path + suffix).c_str()), 0);
        }
        std::string reason;
        ASSERT_TRUE(writer.write(path, "new", reason)) << writer.name << ": " << reason;
        EXPECT_EQ(readFile(victim), "precious") << writer.name;
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path))) << writer.name;
        EXPECT_EQ(readFile(path), "new") << writer.name;
        EXPECT_EQ(namesIn(dir.path()).size(), 6U) << writer.name << ": a temporary file stayed";
    }
}

TEST(FileReplace, ModesCarryOverAndLinksToFilesAreWrittenThrough) {
    for (const Writer& writer : kWriters) {
        TempDir dir;
        const std::string path = dir.file("file.json");
        std::string reason;
        for (const mode_t mode : {0600U, 0640U, 0755U, 0444U}) {
            writeFile(path, "old");
            ASSERT_EQ(::chmod(path.c_str(), mode), 0);
            // Read-only files are replaced by renaming; rewriting in place needs write permission.
            if (mode == 0444 && std::string(writer.name) == "openToRewrite" && ::geteuid() != 0) continue;
            ASSERT_TRUE(writer.write(path, "new", reason)) << writer.name << ": " << reason;
            EXPECT_EQ(readFile(path), "new");
            EXPECT_EQ(lstatOf(path).st_mode & 07777, mode) << writer.name;
        }

        const mode_t mask = ::umask(027);
        const std::string fresh = dir.file("fresh.json");
        const bool written = writer.write(fresh, "x", reason);
        ::umask(mask);
        ASSERT_TRUE(written) << reason;
        EXPECT_EQ(lstatOf(fresh).st_mode & 07777, 0640U) << writer.name;

        fs::create_directory(dir.path() / "real");
        const std::string real = dir.file("real/target.json");
        writeFile(real, "old");
        ASSERT_EQ(::chmod(real.c_str(), 0604), 0);
        const std::string link = dir.file("link.json");
        ASSERT_EQ(::symlink("real/target.json", link.c_str()), 0);
        ASSERT_TRUE(writer.write(link, "through", reason)) << reason;
        EXPECT_TRUE(fs::is_symlink(link)) << writer.name;
        EXPECT_EQ(readFile(real), "through");
        EXPECT_EQ(lstatOf(real).st_mode & 07777, 0604U) << writer.name;
        EXPECT_EQ(namesIn(dir.path() / "real"), std::vector<std::string>{"target.json"}) << writer.name;
    }
}

TEST(FileReplace, UnwritablePlacesFailWithTheReasonAndLongNamesStillWork) {
    TempDir dir;
    std::string reason;
    EXPECT_FALSE(replaceFile(dir.file("no/such/folder/x.json"), "x", reason));
    EXPECT_EQ(reason, "No such file or directory");
    EXPECT_FALSE(replaceFile("", "x", reason));
    EXPECT_EQ(openToRewrite(dir.file("no/such/folder/x.txt"), reason), nullptr);
    const std::string longName = dir.file(std::string(250, 'n'));
    EXPECT_TRUE(replaceFile(longName, "long", reason)) << reason;
    EXPECT_EQ(readFile(longName), "long");
    EXPECT_TRUE(replaceFile("relative-" + std::to_string(::getpid()) + ".txt", "here", reason)) << reason;
    EXPECT_EQ(readFile("relative-" + std::to_string(::getpid()) + ".txt"), "here");
    fs::remove("relative-" + std::to_string(::getpid()) + ".txt");
}

}  // namespace
}  // namespace desktop::files

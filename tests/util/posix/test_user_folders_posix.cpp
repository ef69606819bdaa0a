#include <pwd.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"
#include "util/files_paths.h"

namespace lumbrel {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

// Sets the variables that steer the special folders for one test and puts
// back what was there before.
class Environment {
public:
    Environment() {
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "TMPDIR"}) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
            ::unsetenv(name);
        }
    }
    ~Environment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    static void set(const char* name, const std::string& value) { ::setenv(name, value.c_str(), 1); }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

std::string folder(std::uint32_t type, std::size_t size = kPathSize) {
    char out[kPathSize];
    std::memset(out, 'Q', sizeof out);
    const bool found = getSpecialFolderPath(type, out, size);
    EXPECT_EQ(found, out[0] != '\0');
    return out;
}

TEST(SpecialFolders, BelowHomeWithoutXdgSettings) {
    Environment environment;
    Environment::set("HOME", "/home/someone");
    EXPECT_EQ(folder(kFolderDocuments), "/home/someone/Documents");
    EXPECT_EQ(folder(kFolderDesktop), "/home/someone/Desktop");
    EXPECT_EQ(folder(kFolderPreferences), "/home/someone/.config");
    EXPECT_EQ(folder(kFolderAppSupport), "/home/someone/.local/share");
    EXPECT_EQ(folder(kFolderTemporary), "/tmp");

    char out[kPathSize];
    EXPECT_TRUE(getDocumentsFolder(out));
    EXPECT_STREQ(out, "/home/someone/Documents");
    EXPECT_TRUE(getDesktopFolder(out));
    EXPECT_STREQ(out, "/home/someone/Desktop");
    EXPECT_TRUE(getPreferencesFolder(out));
    EXPECT_STREQ(out, "/home/someone/.config");
    EXPECT_TRUE(getAppSupportFolder(out));
    EXPECT_STREQ(out, "/home/someone/.local/share");
    EXPECT_TRUE(getTempFolder(out));
    EXPECT_STREQ(out, "/tmp");
}

TEST(SpecialFolders, TrailingSlashesAndTheRootAsHome) {
    Environment environment;
    Environment::set("HOME", "/home/someone//");
    EXPECT_EQ(folder(kFolderDocuments), "/home/someone/Documents");
    Environment::set("HOME", "/");
    EXPECT_EQ(folder(kFolderDocuments), "/Documents");
    EXPECT_EQ(folder(kFolderPreferences), "/.config");
}

TEST(SpecialFolders, XdgBaseDirectories) {
    Environment environment;
    Environment::set("HOME", "/home/someone");
    Environment::set("XDG_CONFIG_HOME", "/etc/someone/");
    Environment::set("XDG_DATA_HOME", "/data/someone");
    Environment::set("TMPDIR", "/var/tmp");
    EXPECT_EQ(folder(kFolderPreferences), "/etc/someone");
    EXPECT_EQ(folder(kFolderAppSupport), "/data/someone");
    EXPECT_EQ(folder(kFolderTemporary), "/var/tmp");

    // Relative values are ignored.
    Environment::set("XDG_CONFIG_HOME", "config");
    Environment::set("XDG_DATA_HOME", "");
    Environment::set("TMPDIR", "tmp");
    EXPECT_EQ(folder(kFolderPreferences), "/home/someone/.config");
    EXPECT_EQ(folder(kFolderAppSupport), "/home/someone/.local/share");
    EXPECT_EQ(folder(kFolderTemporary), "/tmp");
}

TEST(SpecialFolders, UserDirsFileNamesDocumentsAndDesktop) {
    Environment environment;
    TempDir config;
    Environment::set("HOME", "/home/someone");
    Environment::set("XDG_CONFIG_HOME", config.path().string());
    writeFile(config.file("user-dirs.dirs"),
              "# written by xdg-user-dirs-update\n"
              "XDG_DOCUMENTS_DIR=\"$HOME/Old\"\n"
              "  XDG_DOCUMENTS_DIR = \"$HOME/My \\\"Papers\\\"/\"\n"  // the last setting wins
              "#XDG_DESKTOP_DIR=\"/commented/out\"\n"
              "XDG_DESKTOP_DIR=\"/srv/desk\"\n"
              "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n");
    EXPECT_EQ(folder(kFolderDocuments), "/home/someone/My \"Papers\"");
    EXPECT_EQ(folder(kFolderDesktop), "/srv/desk");
}

TEST(SpecialFolders, UnusableUserDirsLinesAreIgnored) {
    Environment environment;
    TempDir config;
    Environment::set("HOME", "/home/someone");
    Environment::set("XDG_CONFIG_HOME", config.path().string());
    writeFile(config.file("user-dirs.dirs"),
              "XDG_DOCUMENTS_DIR=\"Documents\"\n"      // relative
              "XDG_DOCUMENTS_DIR=\"$HOMEDIR/x\"\n"     // not $HOME
              "XDG_DOCUMENTS_DIR=$HOME/unquoted\n"
              "XDG_DOCUMENTS_DIR=\"$HOME/unclosed\n"
              "XDG_DOCUMENTS_DIRS=\"/other/key\"\n"
              "XDG_DESKTOP_DIR=\"$HOME\"\n");          // the home folder itself
    EXPECT_EQ(folder(kFolderDocuments), "/home/someone/Documents");
    EXPECT_EQ(folder(kFolderDesktop), "/home/someone");
}

TEST(SpecialFolders, UserDirsFileInTheDefaultConfigFolder) {
    Environment environment;
    TempDir home;
    fs::create_directory(home.path() / ".config");
    writeFile(home.file(".config/user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    Environment::set("HOME", home.path().string());
    EXPECT_EQ(folder(kFolderDocuments), home.file("Dokumente"));
    EXPECT_FALSE(fs::exists(home.path() / "Dokumente"));  // named, not made
}

TEST(SpecialFolders, HomeFromTheUserDatabaseWithoutHome) {
    Environment environment;
    const passwd* user = ::getpwuid(::getuid());
    if (user == nullptr || user->pw_dir == nullptr || user->pw_dir[0] != '/') GTEST_SKIP() << "no home in passwd";
    std::string home = user->pw_dir;
    while (home.size() > 1 && home.back() == '/') home.pop_back();
    Environment::set("XDG_CONFIG_HOME", "/nonexistent-config");
    EXPECT_EQ(folder(kFolderAppSupport), (home == "/" ? "" : home) + "/.local/share");
    Environment::set("HOME", "relative/home");
    EXPECT_EQ(folder(kFolderAppSupport), (home == "/" ? "" : home) + "/.local/share");
}

TEST(SpecialFolders, PathsThatDoNotFitAreRefusedNotCut) {
    Environment environment;
    const std::string home = "/" + std::string(599, 'h');
    Environment::set("HOME", home);
    EXPECT_EQ(folder(kFolderDocuments), "");
    EXPECT_FALSE(getTempFolder(nullptr, 0));

    Environment::set("HOME", "/home/someone");
    const std::string documents = "/home/someone/Documents";
    EXPECT_EQ(folder(kFolderDocuments, documents.size()), "");
    EXPECT_EQ(folder(kFolderDocuments, documents.size() + 1), documents);
}

TEST(SpecialFolders, UnknownFolderTypeGivesNothing) {
    Environment environment;
    Environment::set("HOME", "/home/someone");
    EXPECT_EQ(folder(0x666F6F21), "");  // 'foo!'
}

}  // namespace
}  // namespace lumbrel

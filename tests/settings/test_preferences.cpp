#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "settings/preferences.h"
#include "settings/resources.h"
#include "support/test_support.h"
#include "util/log.h"

namespace lumbrel {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

// The module lives at <dir>/XTensions/Lumbrel.xnt; its settings file is
// <dir>/XTensions/Lumbrel.ini. The log goes to the scratch documents folder.
class Preferences : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.path() / "XTensions");
        std::filesystem::create_directories(dir.path() / "Documents");
        ASSERT_TRUE(documents.set((dir.path() / "Documents").string()));
        setModulePath(modulePath.c_str());
        setResourceFolder(dir.text().c_str());
        setLanguage(kLangEnglish);
    }
    void TearDown() override {
        setupDump(0);
        setModulePath("");
        setResourceFolder("");
    }

    void loadWith(const std::string& defaultSection) {
        writeFile(iniPath, "[Default]\r" + defaultSection);
        loadPrefs();
    }

    TempDir dir;
    test::DocumentsFolderRedirect documents;
    std::string modulePath = dir.file("XTensions/Lumbrel.xnt");
    std::string iniPath = dir.file("XTensions/Lumbrel.ini");
};

TEST_F(Preferences, MissingFileGivesEveryDefault) {
    loadPrefs();
    EXPECT_EQ(std::string(getPrefs()->path()), iniPath);
    EXPECT_TRUE(getDragAndDrop());
    EXPECT_TRUE(getEdit());
    EXPECT_FALSE(getRGBWarning());
    EXPECT_FALSE(getICCWarning());
    EXPECT_FALSE(getJPGWarning());
    EXPECT_FALSE(getSaveWarning());
    EXPECT_EQ(getFitToBox(), 0);
    EXPECT_EQ(getScale(), 100);
    EXPECT_EQ(getLogLevel(), 0);
    EXPECT_EQ(getLogMode(), 0);
    EXPECT_EQ(getCopyPathKey(), 0);
    EXPECT_EQ(getSearchSubfolders(), 1);
    EXPECT_EQ(getShowPDFOptions(), 1);
    EXPECT_FALSE(std::filesystem::exists(iniPath)) << "loading never writes";
}

TEST_F(Preferences, SwitchIsOnOnlyForExactlyOne) {
    loadWith("DragAndDrop=2\rEdit=0\rRGBWarning=1\rEPSWarning=01\rJPGWarning=yes\rSaveWarning=1\r");
    EXPECT_FALSE(getDragAndDrop());
    EXPECT_FALSE(getEdit());
    EXPECT_TRUE(getRGBWarning());
    EXPECT_TRUE(getICCWarning()) << "01 is the number 1";
    EXPECT_FALSE(getJPGWarning());
    EXPECT_TRUE(getSaveWarning());
}

TEST_F(Preferences, NumbersAndFolderOptionsComeFromTheStore) {
    loadWith("FitToBox=1\rScale=150\rSubfolders=0\rShowPDFOptions=7\r");
    EXPECT_EQ(getFitToBox(), 1);
    EXPECT_EQ(getScale(), 150);
    EXPECT_EQ(getSearchSubfolders(), 0);
    EXPECT_EQ(getShowPDFOptions(), 7) << "any number, not only 0/1";
    // Read at each use: a change of the store shows at once.
    getPrefs()->set("Default", "Subfolders", 1);
    EXPECT_EQ(getSearchSubfolders(), 1);
}

TEST_F(Preferences, CopyPathKeyIsTheFirstCharacterOfABoundedValue) {
    loadWith("CopyPath=c\r");
    EXPECT_EQ(getCopyPathKey(), 'c');
    loadWith("CopyPath=\r");
    EXPECT_EQ(getCopyPathKey(), 0);
    loadWith("CopyPath=" + std::string(5000, 'k') + "\r");
    EXPECT_EQ(getCopyPathKey(), 'k');
}

TEST_F(Preferences, LogLevelGoesToTheLogAndThePaneWritesZeroOrOne) {
    loadWith("Logging=5\r");
    EXPECT_EQ(getLogLevel(), 5);
    EXPECT_EQ(getLogMode(), 5);

    PrefSwitches switches = currentPrefSwitches();
    EXPECT_EQ(switches.logLevel, 5);
    switches.logLevel = 1;
    switches.rgbWarning = true;
    switches.dragAndDrop = false;
    applyPrefSwitches(switches);
    EXPECT_EQ(getLogMode(), 1);
    EXPECT_TRUE(getRGBWarning());
    EXPECT_FALSE(getDragAndDrop());

    const std::string file = readFile(iniPath);
    EXPECT_NE(file.find("Logging=1\r"), std::string::npos);
    EXPECT_NE(file.find("RGBWarning=1\r"), std::string::npos);
    EXPECT_NE(file.find("DragAndDrop=0\r"), std::string::npos);
    EXPECT_EQ(file.find("Logging=5"), std::string::npos);

    // The file and the values in memory agree after a reload.
    loadPrefs();
    EXPECT_EQ(getLogLevel(), 1);
    EXPECT_TRUE(getRGBWarning());
    EXPECT_FALSE(getDragAndDrop());
}

TEST_F(Preferences, PaneWithoutFolderOptionsLeavesThemAlone) {
    loadWith("Subfolders=0\rShowPDFOptions=0\r");
    PrefSwitches switches = currentPrefSwitches();
    switches.showPDFOptions = 1;
    switches.searchSubfolders = 1;
    switches.hasFolderOptions = false;
    applyPrefSwitches(switches);
    EXPECT_EQ(getSearchSubfolders(), 0);
    EXPECT_EQ(getShowPDFOptions(), 0);

    switches.hasFolderOptions = true;
    applyPrefSwitches(switches);
    loadPrefs();
    EXPECT_EQ(getSearchSubfolders(), 1);
    EXPECT_EQ(getShowPDFOptions(), 1);
}

TEST_F(Preferences, ReloadFollowsTheFileOnDisk) {
    loadWith("JPGWarning=0\r");
    EXPECT_FALSE(getJPGWarning());
    writeFile(iniPath, "[Default]\nJPGWarning=1\n");
    loadPrefs();
    EXPECT_TRUE(getJPGWarning());
}

}  // namespace
}  // namespace lumbrel

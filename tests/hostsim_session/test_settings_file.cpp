// `prefs set` / `prefs remove`: edits of the settings file that keep its line
// ends and every other byte, and move its time so that a switch-in reloads.
#include "hostsim/session/settings_file.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

namespace hostsim::session {
namespace {

using lumbrel::test::readFile;
using lumbrel::test::TempDir;
using lumbrel::test::writeFile;

TEST(SettingsFile, SettingPathIsBesideTheBundle) {
    EXPECT_EQ(settingsPathOfModule("/x/XTensions/Lumbrel.xnt/Lumbrel.so"), "/x/XTensions/Lumbrel.ini");
    EXPECT_EQ(settingsPathOfModule("/x/XTensions/Other.so"), "/x/XTensions/Other.ini");
}

TEST(SettingsFile, LineEndDetectionFollowsTheFirstCR) {
    EXPECT_EQ(detectLineEnd("a\r\nb\rc"), "\r\n");
    EXPECT_EQ(detectLineEnd("a\rb\r\n"), "\r");
    EXPECT_EQ(detectLineEnd("a\nb\n"), "\n");
    EXPECT_EQ(detectLineEnd("abc", "\r"), "\r");
}

struct LineEndCase {
    const char* name;
    const char* eol;
};

class SettingsFileLineEnds : public ::testing::TestWithParam<LineEndCase> {};

TEST_P(SettingsFileLineEnds, ReplaceAddAndNewSectionKeepTheFilesLineEnds) {
    const std::string n = GetParam().eol;
    const std::string text = "[Default]" + n + "DragAndDrop=1" + n + "Edit=1" + n + n + "[Labels]" + n + "Ask=1" + n;

    // In place: nothing but the value changes.
    EXPECT_EQ(setEntry(text, "Default", "DragAndDrop", "0"),
              "[Default]" + n + "DragAndDrop=0" + n + "Edit=1" + n + n + "[Labels]" + n + "Ask=1" + n);
    // A new key goes after the section's last entry, before its blank line.
    EXPECT_EQ(setEntry(text, "Default", "CopyPath", "c"),
              "[Default]" + n + "DragAndDrop=1" + n + "Edit=1" + n + "CopyPath=c" + n + n + "[Labels]" + n + "Ask=1" +
                  n);
    // A key of the same name in a later section is that section's own.
    EXPECT_EQ(setEntry(text, "Labels", "Edit", "5"),
              "[Default]" + n + "DragAndDrop=1" + n + "Edit=1" + n + n + "[Labels]" + n + "Ask=1" + n + "Edit=5" + n);
    // A new section at the end.
    EXPECT_EQ(setEntry(text, "Swapping", "LoRes", ".lay"), text + "[Swapping]" + n + "LoRes=.lay" + n);
    // Removing takes the whole line.
    EXPECT_EQ(removeEntry(text, "Default", "Edit"),
              "[Default]" + n + "DragAndDrop=1" + n + n + "[Labels]" + n + "Ask=1" + n);

    TempDir dir;
    const std::string path = dir.file("Lumbrel.ini");
    writeFile(path, text);
    const FileEditResult result = setEntryInFile(path, "Default", "DragAndDrop", "0");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_FALSE(result.created);
    EXPECT_EQ(readFile(path), "[Default]" + n + "DragAndDrop=0" + n + "Edit=1" + n + n + "[Labels]" + n + "Ask=1" + n);
}

INSTANTIATE_TEST_SUITE_P(AllLineEnds, SettingsFileLineEnds,
                         ::testing::Values(LineEndCase{"CRLF", "\r\n"}, LineEndCase{"LF", "\n"},
                                           LineEndCase{"CR", "\r"}),
                         [](const ::testing::TestParamInfo<LineEndCase>& param) { return param.param.name; });

TEST(SettingsFile, KeysMatchExactlyAndOtherLinesStay) {
    const std::string text = "; notes\n[Default]\nDragAndDrop =1\ndragAndDrop=1\nnot an entry\nDragAndDropX=3\n";
    // Neither the key with a blank, nor another case, nor a longer key is the entry.
    EXPECT_EQ(setEntry(text, "Default", "DragAndDrop", "0"), text + "DragAndDrop=0\n");
    // The header must be a whole line.
    EXPECT_EQ(setEntry("x[Default]\n", "Default", "A", "1"), "x[Default]\n[Default]\nA=1\n");
    // The first of two headers is the section.
    EXPECT_EQ(setEntry("[D]\nA=1\n[D]\nA=2\n", "D", "A", "3"), "[D]\nA=3\n[D]\nA=2\n");
}

TEST(SettingsFile, LastLineWithoutLineEndStaysSo) {
    EXPECT_EQ(setEntry("[Default]\r\nEdit=1", "Default", "Scale", "50"), "[Default]\r\nEdit=1\r\nScale=50");
    EXPECT_EQ(setEntry("[Default]", "Default", "Scale", "50"), "[Default]\nScale=50");
    EXPECT_EQ(setEntry("[Default]\rEdit=1", "Labels", "Ask", "0"), "[Default]\rEdit=1\r[Labels]\rAsk=0\r");
    EXPECT_EQ(removeEntry("[Default]\nEdit=1\nScale=50", "Default", "Scale"), "[Default]\nEdit=1");
    EXPECT_EQ(setEntry("", "Default", "Edit", "0"), "[Default]\nEdit=0\n");
}

TEST(SettingsFile, MissingFileIsMadeAndBadNamesRefused) {
    TempDir dir;
    const std::string path = dir.file("Lumbrel.ini");
    FileEditResult result = removeEntryInFile(path, "Default", "Edit");
    EXPECT_TRUE(result.ok);
    EXPECT_FALSE(std::filesystem::exists(path));  // nothing to remove from: no file made

    result = setEntryInFile(path, "Default", "CopyPath", "c");
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.created);
    EXPECT_EQ(readFile(path), "[Default]\nCopyPath=c\n");

    EXPECT_FALSE(setEntryInFile(path, "Default", "Copy\nPath", "c").ok);
    EXPECT_FALSE(setEntryInFile(path, "Default", "A=B", "c").ok);
    EXPECT_FALSE(setEntryInFile(path, "", "A", "c").ok);
    EXPECT_FALSE(setEntryInFile(path, "De]fault", "A", "c").ok);
    EXPECT_FALSE(setEntryInFile(path, "Default", "A", "line\rbreak").ok);
    EXPECT_EQ(readFile(path), "[Default]\nCopyPath=c\n");

    result = setEntryInFile(dir.file("no/such/folder/x.ini"), "Default", "A", "1");
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("cannot write"), std::string::npos);
}

TEST(SettingsFile, EditMovesTheModificationTimePastTheOldOne) {
    TempDir dir;
    const std::string path = dir.file("Lumbrel.ini");
    writeFile(path, "[Default]\nEdit=1\n");
    struct stat before {};
    ASSERT_EQ(stat(path.c_str(), &before), 0);
    // Two edits within one second still give two later times: the module
    // compares whole seconds.
    ASSERT_TRUE(setEntryInFile(path, "Default", "Edit", "0").ok);
    struct stat first {};
    ASSERT_EQ(stat(path.c_str(), &first), 0);
    EXPECT_GT(first.st_mtim.tv_sec, before.st_mtim.tv_sec);
    ASSERT_TRUE(setEntryInFile(path, "Default", "Edit", "1").ok);
    struct stat second {};
    ASSERT_EQ(stat(path.c_str(), &second), 0);
    EXPECT_GT(second.st_mtim.tv_sec, first.st_mtim.tv_sec);
}

}  // namespace
}  // namespace hostsim::session

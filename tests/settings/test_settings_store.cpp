#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform_traits.h"
#include "settings/settings_store_fixture.h"

namespace lumbrel {
namespace {

using test::enumerate;
using test::Entries;
using test::readFile;
using test::SettingsStore;
using test::TempDir;
using test::value;
using test::writeFile;

TEST_F(SettingsStore, FileKeepsItsOwnLineEndsThroughEditAndSave) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\r", "\r"}, {"\n", "\n"}, {"\r\n", "\r\n"}};
    for (const auto& [eol, expectedEol] : cases) {
        SCOPED_TRACE(testing::PrintToString(eol));
        load("[Default]" + eol + "Edit=1" + eol + "[Labels]" + eol + "FontSize=8" + eol);
        EXPECT_STREQ(store.lineEnd(), expectedEol.c_str());
        EXPECT_EQ(value(store, "Default", "Edit"), "1");
        EXPECT_EQ(store.set("Labels", "Ask", "0"), 0);
        EXPECT_EQ(store.set("Default", "Scale", 50), 0);
        store.save();
        const std::string e = expectedEol;
        EXPECT_EQ(readFile(iniPath),
                  "[Default]" + e + "Scale=50" + e + "Edit=1" + e + "[Labels]" + e + "FontSize=8" + e + "Ask=0" + e);
        // After the save the text is back in its internal form and still editable.
        EXPECT_EQ(store.text().find('\n'), std::string_view::npos);
        EXPECT_EQ(value(store, "Labels", "Ask"), "0");
    }
}

TEST_F(SettingsStore, ChangedEntryMovesToTopOfItsSectionOrToTheEndOfTheLastSection) {
    load("[A]\rx=1\ry=2\r[B]\rz=3\rw=4\r");
    store.set("A", "y", "20");
    EXPECT_EQ(store.text(), "[A]\ry=20\rx=1\r[B]\rz=3\rw=4\r");
    store.set("B", "z", "30");
    EXPECT_EQ(store.text(), "[A]\ry=20\rx=1\r[B]\rw=4\rz=30\r");
}

TEST_F(SettingsStore, CrLfFileInsertsAfterHeaderPair) {
    load("[A]\r\nx=1\r\n[B]\r\nz=3\r\n");
    store.set("A", "n", "5");
    EXPECT_EQ(store.text(), "[A]\r\rn=5\r\rx=1\r\r[B]\r\rz=3\r\r");
    store.remove("A", "x");
    EXPECT_EQ(store.text(), "[A]\r\rn=5\r\r[B]\r\rz=3\r\r");
    store.save();
    EXPECT_EQ(readFile(iniPath), "[A]\r\nn=5\r\n[B]\r\nz=3\r\n");
}

TEST_F(SettingsStore, SectionsAndKeysAreMatchedExactly) {
    load("[A]\rx=1\r key = 2\r[B]\ry=3\r[A]\rq=9\r");
    EXPECT_EQ(value(store, "A", "y"), "<missing>") << "an entry of a later section is not this section's";
    EXPECT_EQ(value(store, "B", "y"), "3");
    EXPECT_EQ(value(store, "a", "x"), "<missing>") << "case-sensitive names";
    EXPECT_EQ(value(store, "A", "X"), "<missing>") << "case-sensitive keys";
    EXPECT_EQ(value(store, "A", "key"), "<missing>") << "blanks around = belong to key and value";
    EXPECT_EQ(value(store, "A", " key "), " 2");
    EXPECT_EQ(value(store, "A", "q"), "<missing>") << "a second header of the same name is never found";

    store.set("A", "y", "7");
    EXPECT_EQ(value(store, "A", "y"), "7");
    EXPECT_EQ(value(store, "B", "y"), "3") << "the later section's entry is left as it was";
}

TEST_F(SettingsStore, EmptyValueReadsAsEmptyAndAsTheDefault) {
    load("[A]\rempty=\rword=abc\rnum=12abc\rneg=-5\rfl=2.5\r");
    char out[16] = "x";
    EXPECT_EQ(store.get("A", "empty", out, sizeof out), 0);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(store.get("A", "empty", 42), 42);
    EXPECT_EQ(store.get("A", "missing", 42), 42);
    EXPECT_EQ(store.get("A", "word", 42), 0) << "text that is no number reads as 0";
    EXPECT_EQ(store.get("A", "num", 42), 12);
    EXPECT_EQ(store.get("A", "neg", 42), -5);
    EXPECT_FLOAT_EQ(store.getfloat("A", "fl", 1.0f), 2.5f);
    EXPECT_FLOAT_EQ(store.getfloat("A", "missing", -3.0f), -3.0f);
}

TEST_F(SettingsStore, LongValuesAreCutToTheCallersBuffer) {
    const std::string big(5000, 'v');
    load("[A]\r");
    ASSERT_EQ(store.set("A", "big", big.c_str()), 0);
    char out[33];
    std::fill(std::begin(out), std::end(out), '#');
    char guard[8] = "guard!!";
    EXPECT_EQ(store.get("A", "big", out, 32), 31);
    EXPECT_EQ(std::string(out), std::string(31, 'v'));
    EXPECT_EQ(out[32], '#') << "nothing written past max";
    EXPECT_STREQ(guard, "guard!!");

    char whole[6000];
    EXPECT_EQ(store.get("A", "big", whole, sizeof whole), 5000);
    EXPECT_EQ(whole, big);
    EXPECT_EQ(store.get("A", "big", whole, 0), -1);
}

TEST_F(SettingsStore, MissingKeyLeavesTheCallersDefaultInPlace) {
    load("[A]\rx=1\r");
    char out[32] = "default";
    EXPECT_EQ(store.get("A", "nokey", out, sizeof out), -1);
    EXPECT_EQ(store.get("Nope", "x", out, sizeof out), -1);
    EXPECT_STREQ(out, "default");
}

TEST_F(SettingsStore, EnumSectionHandsOverEntriesInOrderWithinLimits) {
    const std::string line254 = "k=" + std::string(252, 'a');
    const std::string line255 = "l=" + std::string(253, 'b');
    load("[A]\r\r\rone=1\rcomment line\r" + line254 + "\r" + line255 + "\rtwo=2=x\r[B]\rthree=3\r[C]\rc=1\rlast=9");
    const Entries a = enumerate(store, "A");
    ASSERT_EQ(a.size(), 3u);
    EXPECT_EQ(a[0], (std::pair<std::string, std::string>{"one", "1"}));
    EXPECT_EQ(a[1].first, "k");
    EXPECT_EQ(a[1].second.size(), 252u);
    EXPECT_EQ(a[2], (std::pair<std::string, std::string>{"two", "2=x"})) << "cut at the first =";

    EXPECT_EQ(enumerate(store, "C"), (Entries{{"c", "1"}})) << "a last line without line end is not reported";
    EXPECT_EQ(enumerate(store, "A", 1).size(), 1u) << "false stops";
    EXPECT_TRUE(enumerate(store, "Missing").empty());
}

TEST_F(SettingsStore, RemoveEntryAndSection) {
    load("[A]\rx=1\ry=2\r[B]\rz=3\r[C]\rc=1");
    store.remove("A", "x");
    EXPECT_EQ(store.text(), "[A]\ry=2\r[B]\rz=3\r[C]\rc=1");
    store.remove("C", "c");
    EXPECT_EQ(store.text(), "[A]\ry=2\r[B]\rz=3\r[C]\r") << "a last line without line end: only its bytes go";
    store.remove("A", "nothere");
    store.remove("B");
    EXPECT_EQ(store.text(), "[A]\ry=2\r[C]\r");
    store.remove("C");
    EXPECT_EQ(store.text(), "[A]\ry=2\r");

    load("[A]\rx=1\r\r[B]\rz=3\r");
    store.remove("B");
    EXPECT_EQ(store.text(), "[A]\rx=1\r") << "one of two CRs before the cut goes";
}

TEST_F(SettingsStore, NoFileAndNoResourceStartsEmptyAndSaveCreatesTheFile) {
    const std::string path = dir.file("Fresh.ini");
    ASSERT_EQ(store.setupWithPath(path.c_str()), 0);
    EXPECT_TRUE(store.hasText());
    EXPECT_EQ(store.text(), "");
    EXPECT_EQ(store.capacity(), 8192);
    EXPECT_EQ(store.modDate(), 0u);
    EXPECT_EQ(store.get("Default", "DragAndDrop", 1), 1);
    EXPECT_FALSE(store.shallReload()) << "a missing file never asks for a reload";

    store.set("Default", "DragAndDrop", 1);
    EXPECT_EQ(store.text(), "\r[Default]\rDragAndDrop=1\r");
    store.save();
    EXPECT_EQ(readFile(path), "[Default]\rDragAndDrop=1\r");
    EXPECT_NE(store.modDate(), 0u);
    EXPECT_FALSE(store.shallReload()) << "the store's own save never asks for a reload";
}

TEST_F(SettingsStore, DefaultResourceServesWhenThereIsNoFile) {
    writeFile(dir.file("Prefs_E.ini"), "[Default]\rScale=75\r");
    const std::string path = dir.file("Other.ini");
    ASSERT_EQ(store.setupWithPath(path.c_str()), 0);
    EXPECT_EQ(store.get("Default", "Scale", 100), 75);
    EXPECT_EQ(store.capacity(), 19 + 8192);
}

TEST_F(SettingsStore, PathGetsTheIniExtension) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Lumbrel.xnt", "Lumbrel.ini"}, {"Lumbrel", "Lumbrel.ini"}, {"Lumbrel.INI", "Lumbrel.INI"}};
    for (const auto& [given, expected] : cases) {
        store.setupWithPath(dir.file(given).c_str());
        EXPECT_EQ(std::string(store.path()), dir.file(expected));
    }
    const std::string tooLong = dir.file(std::string(600, 'x'));
    EXPECT_EQ(store.setupWithPath(tooLong.c_str()), 0);
    EXPECT_STREQ(store.path(), "") << "a path that cannot be held names no file";
    store.set("A", "b", "c");
    EXPECT_EQ(store.save(), 0);
}

TEST_F(SettingsStore, TextWithoutFinalLineEndIsNotJoined) {
    load("[A]\rx=1");
    store.set("A", "y", "2");
    EXPECT_EQ(value(store, "A", "x"), "1");
    EXPECT_EQ(value(store, "A", "y"), "2");
    EXPECT_EQ(store.text(), "[A]\rx=1\ry=2\r");

    load("junk[A]");
    store.set("A", "k", "v");
    EXPECT_EQ(store.text(), "junk[A]\rk=v\r");
    store.set("New", "k", "v");
    EXPECT_EQ(value(store, "New", "k"), "v");
}

TEST_F(SettingsStore, LeadingLineEndsDisappearAtSave) {
    load("\n\n\r\n[A]\r\nx=1\r\n");
    store.save();
    EXPECT_EQ(readFile(iniPath), "[A]\r\nx=1\r\n");
}

TEST_F(SettingsStore, ShallReloadWhenTheFileChangesOnDisk) {
    load("[A]\rx=1\r");
    EXPECT_FALSE(store.shallReload());
    writeFile(iniPath, "[A]\rx=2\r");
    const std::filesystem::path file = test::pathFromUtf8(iniPath);
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::seconds(10));
    EXPECT_TRUE(store.shallReload());
    store.setupWithPath(iniPath.c_str());
    EXPECT_FALSE(store.shallReload());
    EXPECT_EQ(value(store, "A", "x"), "2");
}

TEST_F(SettingsStore, GrowsInStepsAndKeepsHeadroom) {
    load("");
    EXPECT_EQ(store.capacity(), 8192);
    std::int32_t grown = 0;
    for (int i = 0; i < 1000; ++i) {
        const std::int32_t before = store.capacity();
        store.set("S", ("key" + std::to_string(i)).c_str(), i);
        EXPECT_GE(store.capacity() - static_cast<std::int32_t>(store.text().size()), 1);
        if (store.capacity() != before) {
            EXPECT_EQ(store.capacity() - before, 8192);
            ++grown;
        }
    }
    EXPECT_GT(grown, 0);
    EXPECT_EQ(store.get("S", "key999", -1), 999);
    EXPECT_EQ(store.get("S", "key0", -1), 0);
}

TEST_F(SettingsStore, HandEditedOddities) {
    // Stray LFs end lines; NUL bytes neither hide later entries nor get
    // lost; lines of 100 KB are kept and readable.
    const std::string longValue(100 * 1024, 'L');
    std::string content = "[A]\r\nx=1\nstray\r\n";
    content += std::string("nul=a\0b\r\n", 9);
    content += "long=" + longValue + "\r\n[B]\r\ny=2\r\nnoequals\r\n";
    load(content);
    EXPECT_EQ(value(store, "A", "x"), "1");
    EXPECT_EQ(value(store, "A", "nul"), "a") << "a value ends at a NUL";
    EXPECT_EQ(value(store, "B", "y"), "2") << "entries behind a NUL are found";
    EXPECT_EQ(store.get("A", "long", -1), 0);
    std::vector<char> out(longValue.size() + 1);
    EXPECT_EQ(store.get("A", "long", out.data(), static_cast<std::int32_t>(out.size())),
              static_cast<std::int32_t>(longValue.size()));
    store.set("B", "y", "3");
    store.save();
    // B is the last section, so its changed entry moves to the end; a stray
    // LF inside a CR LF file is held as a single CR and written as one.
    std::string expected = "[A]\r\nx=1\rstray\r\n";
    expected += std::string("nul=a\0b\r\n", 9);
    expected += "long=" + longValue + "\r\n[B]\r\nnoequals\r\ny=3\r\n";
    const std::string written = readFile(iniPath);
    EXPECT_TRUE(written == expected) << "the file differs from the expected bytes (too long to print)";
}

TEST_F(SettingsStore, NamesAndValuesTheFileCannotHoldAreRefused) {
    load("[A]\rx=1\r");
    const std::string longName(254, 'n');
    EXPECT_EQ(store.set(longName.c_str(), "k", "v"), CMySettings::kBadName);
    EXPECT_EQ(store.set("A", longName.c_str(), "v"), CMySettings::kBadName);
    EXPECT_EQ(store.get(longName.c_str(), "k", 5), 5);
    // A line end would split the entry into lines of its own.
    EXPECT_EQ(store.set("A", "k", "v\r[Evil]\rx=1"), CMySettings::kBadName);
    EXPECT_EQ(store.set("A", "k", "v\nw"), CMySettings::kBadName);
    EXPECT_EQ(store.set("A\r", "k", "v"), CMySettings::kBadName);
    EXPECT_EQ(store.set("A", "k\n", "v"), CMySettings::kBadName);
    EXPECT_EQ(store.text(), "[A]\rx=1\r");
    const std::string maxName(253, 'm');
    EXPECT_EQ(store.set(maxName.c_str(), maxName.c_str(), "v"), 0);
    EXPECT_EQ(value(store, maxName.c_str(), maxName.c_str()), "v");
}

TEST_F(SettingsStore, NoTextBeforeSetupAnswersDefaults) {
    EXPECT_FALSE(store.hasText());
    EXPECT_EQ(store.get("A", "x", 7), 7);
    EXPECT_EQ(store.set("A", "x", "1"), CMySettings::kMemFull);
    EXPECT_EQ(store.save(), 0);
    EXPECT_TRUE(enumerate(store, "A").empty());
}

// On the Mac side a link (an alias) at the settings path leads to the file it
// names, which is then read and written; the Windows build takes the path as
// it is.
TEST_F(SettingsStore, ALinkAtThePathIsFollowedOnlyWhereTheBuildFollowsAliases) {
    const std::string target = dir.file("Elsewhere.ini");
    writeFile(target, "[A]\rx=1\r");
    std::error_code error;
    std::filesystem::create_symlink(test::pathFromUtf8(target), test::pathFromUtf8(iniPath), error);
    if (error) GTEST_SKIP() << "no links here: " << error.message();
    ASSERT_EQ(store.setupWithPath(iniPath.c_str()), 0);
    const bool follows = platform::Traits::kSettingsFollowAliases;
    EXPECT_EQ(std::filesystem::path(test::pathFromUtf8(store.path())).filename(),
              follows ? "Elsewhere.ini" : "Lumbrel.ini");
    EXPECT_EQ(value(store, "A", "x"), "1");
}

}  // namespace
}  // namespace lumbrel

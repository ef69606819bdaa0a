#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "settings/resources_fixture.h"
#include "util/bounded.h"

namespace lumbrel {
namespace {

using test::Resources;
using test::writeFile;

TEST_F(Resources, HostLanguageCodes) {
    setupLanguages(3);
    EXPECT_EQ(getLanguage(), kLangGerman);
    setupLanguages(19);
    EXPECT_EQ(getLanguage(), kLangGerman);
    setupLanguages(2);
    EXPECT_EQ(getLanguage(), kLangEnglish);
    setupLanguages(1);  // French hosts get English: there is no French table
    EXPECT_EQ(getLanguage(), kLangEnglish);
    setupLanguages(-1);
    EXPECT_EQ(getLanguage(), kLangEnglish);
}

TEST_F(Resources, LanguageDependentIds) {
    EXPECT_EQ(getLangID(28051), 28051);
    setupLanguages(19);
    EXPECT_EQ(getLangID(28051), 28351);
    EXPECT_EQ(getLangID(0), 300);
}

TEST_F(Resources, LanguageSuffixThenEnglish) {
    put("Table_E.xml", "english");
    put("Table_D.xml", "german");
    put("Table_F.xml", "french");
    EXPECT_EQ(load("Table", "xml", kLangEnglish), "english");
    EXPECT_EQ(load("Table", "xml", kLangGerman), "german");
    EXPECT_EQ(load("Table", "xml", kLangFrench), "french");
    EXPECT_EQ(load("Table", "xml", 7), "english");
}

TEST_F(Resources, GermanFallsBackToEnglish) {
    put("Table_E.xml", "english");
    EXPECT_EQ(load("Table", "xml", kLangGerman), "english");
    EXPECT_EQ(load("Table", "xml", kLangFrench), "english");
}

TEST_F(Resources, UnsuffixedResourceServesEveryLanguage) {
    put("Table.xml", "neutral");
    put("Table_E.xml", "english");
    put("Table_D.xml", "german");
    EXPECT_EQ(load("Table", "xml", kLangEnglish), "neutral");
    EXPECT_EQ(load("Table", "xml", kLangGerman), "neutral");
}

TEST_F(Resources, NamesAndTypesMatchWithoutRegardToCase) {
    put("EDIT_E.XML", "edit");
    put("prefs_d.Ini", "prefs");
    EXPECT_EQ(load("Edit", "xml", kLangEnglish), "edit");
    EXPECT_EQ(load("edit", "Xml", kLangGerman), "edit");
    EXPECT_EQ(load("PREFS", "INI", kLangGerman), "prefs");
    EXPECT_EQ(load("Prefs", "ini", kLangEnglish), "<null>");
}

TEST_F(Resources, BytesAreKeptWithTwoZeroBytesBehind) {
    const std::string bytes("\xEF\xBB\xBFline\r\n\0inner zero", 21);
    put("Bin_E.dat", bytes);
    EXPECT_EQ(load("Bin", "dat", kLangEnglish), bytes);
    put("Empty_E.dat", "");
    EXPECT_EQ(load("Empty", "dat", kLangEnglish), "");
    char* data = getResourceData("Bin", "dat", kLangEnglish);  // the length is optional
    ASSERT_NE(data, nullptr);
    std::free(data);
}

TEST_F(Resources, MissingResources) {
    put("Other_E.xml", "x");
    EXPECT_EQ(load("Table", "xml", kLangEnglish), "<null>");
    EXPECT_EQ(load("Table", "xml", kLangGerman), "<null>");
    put("Table_E.ini", "wrong type");
    EXPECT_EQ(load("Table", "xml", kLangEnglish), "<null>");
    std::filesystem::create_directory(dir_.path() / "Folder_E.xml");
    EXPECT_EQ(load("Folder", "xml", kLangEnglish), "<null>");
    EXPECT_EQ(load("", "xml", kLangEnglish), "<null>");
    EXPECT_EQ(load(nullptr, "xml", kLangEnglish), "<null>");
    EXPECT_EQ(load("Other_E", nullptr, kLangEnglish), "<null>");
}

TEST_F(Resources, NamesCannotLeaveTheResourceFolder) {
    std::filesystem::create_directory(dir_.path() / "sub");
    put("sub/Inner_E.xml", "inner");
    EXPECT_EQ(load("sub/Inner", "xml", kLangEnglish), "<null>");
    EXPECT_EQ(load("Inner", "xml/../sub/Inner_E.xml", kLangEnglish), "<null>");
}

TEST_F(Resources, OversizedResourcesAreRefused) {
    const std::string path = dir_.file("Huge_E.xml");
    writeFile(path, "");
    std::filesystem::resize_file(path, 16 * 1024 * 1024 + 1);  // sparse, costs no disk
    EXPECT_EQ(load("Huge", "xml", kLangEnglish), "<null>");
}

TEST_F(Resources, NothingWithoutAResourceFolder) {
    put("Table_E.xml", "english");
    setResourceFolder("");
    EXPECT_EQ(load("Table", "xml", kLangEnglish), "<null>");
}

TEST_F(Resources, PathsThatDoNotFitAreNotKept) {
    setModulePath("/Applications/Host/XTensions/Lumbrel.xnt");
    EXPECT_STREQ(getModulePath(), "/Applications/Host/XTensions/Lumbrel.xnt");
    const std::string longest(kPathSize - 1, 'p');
    setModulePath(longest.c_str());
    EXPECT_EQ(std::string(getModulePath()), longest);
    const std::string tooLong(kPathSize, 'p');
    setModulePath(tooLong.c_str());
    EXPECT_STREQ(getModulePath(), "");
    setResourceFolder(tooLong.c_str());
    EXPECT_STREQ(getResourceFolder(), "");
    setModulePath(nullptr);
    EXPECT_STREQ(getModulePath(), "");
}

}  // namespace
}  // namespace lumbrel

// Finding twins by extension: the candidate order, the low-resolution test
// and the layouts folder rule, over a file system of listed paths.
#include "swap/twin_search.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace lumbrel {
namespace {

std::set<std::string> gFiles;
std::vector<std::string> gAsked;

bool listedFile(const char* path) {
    gAsked.emplace_back(path);
    return gFiles.count(path) != 0;
}

TwinRules rules(const char* lo, const char* hi, bool same, bool layouts) {
    return TwinRules{parseExtensionList(lo), parseExtensionList(hi), same, layouts};
}

TEST(ExtensionList, EntriesAsTypedWithATrailingSemicolonAddedAndLongOnesCut) {
    const std::string longEntry(300, 'x');
    const struct {
        std::string text;
        std::vector<std::string> entries;
    } cases[] = {
        {"", {""}},
        {".lay", {".lay"}},
        {".tif;.EPS", {".tif", ".EPS"}},
        {".tif;", {".tif"}},
        {";.tif", {"", ".tif"}},
        {".a;;.b;", {".a", "", ".b"}},
        {longEntry, {std::string(255, 'x')}},
    };
    for (const auto& c : cases) EXPECT_EQ(parseExtensionList(c.text.c_str()).entries, c.entries) << c.text;
}

TEST(CandidateTest, AppendedBeforeReplacedEntriesInOrderFirstHitEnds) {
    const struct {
        std::set<std::string> files;
        const char* base;
        const char* list;
        std::string found;
        std::vector<std::string> asked;
    } cases[] = {
        {{"/J/bild.tif.lay", "/J/bild.lay"}, "/J/bild.tif", ".lay", "/J/bild.tif.lay", {"/J/bild.tif.lay"}},
        {{"/J/bild.lay"}, "/J/bild.tif", ".lay", "/J/bild.lay", {"/J/bild.tif.lay", "/J/bild.lay"}},
        // An empty entry strips the last extension only.
        {{"/J/bild.tif"}, "/J/bild.tif.lay", "", "/J/bild.tif", {"/J/bild.tif"}},
        {{"/J/bild"}, "/J/bild.lay", "", "/J/bild", {"/J/bild"}},
        // No extension in the name: the replaced form appends; a dot in a folder is no extension.
        {{}, "/J.old/bild", ".lay", "", {"/J.old/bild.lay", "/J.old/bild.lay"}},
        // Entries in list order; the second entry is reached only after both forms of the first.
        {{"/J/b.eps"}, "/J/b.tif", ".psd;.eps", "/J/b.eps", {"/J/b.tif.psd", "/J/b.psd", "/J/b.tif.eps", "/J/b.eps"}},
        {{}, "", "", "", {""}},
    };
    for (const auto& c : cases) {
        gFiles = c.files;
        gAsked.clear();
        EXPECT_EQ(findByExtensions(c.base, parseExtensionList(c.list), listedFile), c.found) << c.base;
        EXPECT_EQ(gAsked, c.asked) << c.base;
    }
}

TEST(LowResTest, SuffixWithoutRegardToCaseAndEmptyEntryMatchesAll) {
    const struct {
        const char* path;
        const char* list;
        bool low;
    } cases[] = {
        {"/J/bild.lay", ".lay", true},   {"/J/bild.LAY", ".lay", true},  {"/J/bild.tif", ".lay", false},
        {"/J/bild.tif", ".eps;.TIF", true}, {"/J/bild.tif", "", true},    {"", ".lay", false},
        {"lay", ".lay", false},
    };
    for (const auto& c : cases) EXPECT_EQ(isLowResPath(c.path, parseExtensionList(c.list)), c.low) << c.path;
    // Entries count with their first 63 characters.
    const std::string entry = "." + std::string(70, 'q');
    EXPECT_TRUE(isLowResPath(("/J/b" + entry.substr(0, 63)).c_str(), parseExtensionList(entry.c_str())));
}

TEST(TwinSearch, HighToLowSameFolderThenLayoutsFolder) {
    const TwinRules both = rules(".lay", "", true, true);
    const TwinRules layoutsOnly = rules(".lay", "", false, true);
    const TwinRules sameOnly = rules(".lay", "", true, false);
    const struct {
        std::set<std::string> files;
        const TwinRules* rules;
        std::string found;
    } cases[] = {
        {{"/J/bild.lay", "/J/layouts/bild.tif.lay"}, &both, "/J/bild.lay"},
        {{"/J/layouts/bild.tif.lay", "/J/layouts/bild.lay"}, &both, "/J/layouts/bild.tif.lay"},
        {{"/J/layouts/bild.lay"}, &layoutsOnly, "/J/layouts/bild.lay"},
        {{"/J/bild.lay"}, &layoutsOnly, ""},
        {{"/J/layouts/bild.lay"}, &sameOnly, ""},
    };
    for (const auto& c : cases) {
        gFiles = c.files;
        EXPECT_EQ(findLowResTwin("/J/bild.tif", *c.rules, listedFile), c.found);
    }
    gFiles = {"layouts/bild.lay"};
    EXPECT_EQ(findLowResTwin("bild.tif", layoutsOnly, listedFile), "") << "no folder to look in";
}

TEST(TwinSearch, LowToHighThroughTheLayoutsFolderOnlyNamedExactlySo) {
    const TwinRules layouts = rules(".lay", ".tif", false, true);
    const struct {
        std::set<std::string> files;
        const char* path;
        std::string found;
    } cases[] = {
        {{"/Job/bild.lay", "/Job/bild.lay.tif", "/Job/bild.tif"}, "/Job/layouts/bild.lay", "/Job/bild.lay"},
        {{"/Job/bild.lay.tif", "/Job/bild.tif"}, "/Job/layouts/bild.lay", "/Job/bild.lay.tif"},
        {{"/Job/bild.tif"}, "/Job/layouts/bild.lay", "/Job/bild.tif"},
        {{"/Job/bild.tif"}, "/Job/Layouts/bild.lay", ""},
        {{"/Job/bild.tif"}, "/Job/layout/bild.lay", ""},
        {{"/bild.lay"}, "/layouts/bild.lay", "/bild.lay"},
        {{"bild.lay"}, "layouts/bild.lay", ""},
        {{"/Job/bild.lay"}, "/Job/bild.lay", ""},
    };
    for (const auto& c : cases) {
        gFiles = c.files;
        EXPECT_EQ(findHighResTwin(c.path, layouts, listedFile), c.found) << c.path;
    }
    // The same folder first, then the layouts rule.
    gFiles = {"/Job/layouts/bild.tif", "/Job/bild.tif"};
    EXPECT_EQ(findHighResTwin("/Job/layouts/bild.lay", rules(".lay", ".tif", true, true), listedFile),
              "/Job/layouts/bild.tif");
}

TEST(TwinSearch, EachEntryCostsAtMostTwoExistenceChecksPerFolder) {
    gFiles.clear();
    gAsked.clear();
    const TwinRules sameFolder = rules(".a;.b;.c", ".x;.y", true, false);
    EXPECT_EQ(findLowResTwin("/J/p.tif", sameFolder, listedFile), "");
    EXPECT_EQ(gAsked.size(), 6U);
    gAsked.clear();
    EXPECT_EQ(findHighResTwin("/J/p.a", sameFolder, listedFile), "");
    EXPECT_EQ(gAsked.size(), 4U);
}

}  // namespace
}  // namespace lumbrel

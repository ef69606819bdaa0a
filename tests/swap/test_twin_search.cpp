// Finding twins by extension: the candidate order, the low-resolution test
// and the layouts folder rule, over a file system of listed paths.
#include "swap/twin_search.h"

#include <gtest/gtest.h>

#include "platform/platform_traits.h"

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

// The layouts folder's path as the build writes it below `folder`: the
// separators around "layouts" are the system's own ("\\" on Windows).
std::string inLayouts(const std::string& folder, const std::string& name) {
    const char separator = platform::Traits::kPathSeparator;
    return folder + separator + "layouts" + separator + name;
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
        {{"/J/bild.lay", inLayouts("/J", "bild.tif.lay")}, &both, "/J/bild.lay"},
        {{inLayouts("/J", "bild.tif.lay"), inLayouts("/J", "bild.lay")}, &both, inLayouts("/J", "bild.tif.lay")},
        {{inLayouts("/J", "bild.lay")}, &layoutsOnly, inLayouts("/J", "bild.lay")},
        {{"/J/bild.lay"}, &layoutsOnly, ""},
        {{inLayouts("/J", "bild.lay")}, &sameOnly, ""},
    };
    for (const auto& c : cases) {
        gFiles = c.files;
        EXPECT_EQ(findLowResTwin("/J/bild.tif", *c.rules, listedFile), c.found);
    }
    gFiles = {inLayouts("", "bild.lay").substr(1)};
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
        // "Layouts" counts only where the system ignores case in names.
        {{"/Job/bild.tif"}, "/Job/Layouts/bild.lay", platform::Traits::kLayoutsFolderAnyCase ? "/Job/bild.tif" : ""},
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

// Paths of the system's own form: Windows splits at "\\" (unless a path
// begins with "/") and takes "Layouts" in any case; the POSIX build splits
// it at "\\" only to go down into "layouts", written with "/", and never
// finds its way up out of one.
TEST(TwinSearch, SystemPathsSplitAndLayoutsMatchedAsTheBuildDecides) {
    constexpr bool kWindows = platform::Traits::kPathSeparator == '\\';
    const TwinRules layouts = rules(".lay", ".tif", false, true);
    const struct {
        bool lowToHigh;
        const char* path;
        std::set<std::string> files;
        std::string windows;
        std::string posix;
    } cases[] = {
        {false, R"(C:\Job\bild.tif)", {R"(C:\Job\layouts\bild.tif.lay)", R"(C:\Job/layouts/bild.tif.lay)"},
         R"(C:\Job\layouts\bild.tif.lay)", R"(C:\Job/layouts/bild.tif.lay)"},
        {false, R"(C:\Job\bild.tif)", {R"(C:\Job\layouts\bild.lay)"}, R"(C:\Job\layouts\bild.lay)", ""},
        {true, R"(C:\Job\layouts\bild.lay)", {R"(C:\Job\bild.lay)"}, R"(C:\Job\bild.lay)", ""},
        {true, R"(C:\Job\Layouts\bild.lay)", {R"(C:\Job\bild.tif)"}, R"(C:\Job\bild.tif)", ""},
        {true, R"(C:\Job\LAYOUTS\bild.lay)", {R"(C:\Job\bild.lay.tif)"}, R"(C:\Job\bild.lay.tif)", ""},
        {true, R"(C:\Job\Layout\bild.lay)", {R"(C:\Job\bild.tif)"}, "", ""},
        {true, R"(layouts\bild.lay)", {"bild.lay"}, "", ""},
        // A path that begins with "/" is split at "/" in both builds.
        {true, "/Job/Layouts/bild.lay", {"/Job/bild.tif"}, "/Job/bild.tif", ""},
    };
    for (const auto& c : cases) {
        gFiles = c.files;
        const std::string found = c.lowToHigh ? findHighResTwin(c.path, layouts, listedFile)
                                              : findLowResTwin(c.path, layouts, listedFile);
        EXPECT_EQ(found, kWindows ? c.windows : c.posix) << c.path;
    }
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

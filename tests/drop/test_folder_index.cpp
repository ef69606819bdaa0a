// The one-walk index answers what a walk per name answers: on hand-made
// trees for the edge cases, and on random trees with names that collide in
// every way the rules allow (case, Unicode form, sub-folders, folders and
// links of the same name, loops).
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "drop/drop_fixture.h"
#include "drop/folder_index.h"
#include "drop/folder_match.h"
#include "drop/folder_sync.h"
#include "util/bounded.h"

namespace lumbrel::test {
namespace {

namespace fs = std::filesystem;

FolderMatch matchFor(const std::string& name) {
    FolderMatch match{};
    copyBounded(match.name, name);
    return match;
}

// What the per-name walk finds: the path, or "" for nothing.
std::string walked(const fs::path& folder, bool deep, const std::string& name) {
    FolderMatch match = matchFor(name);
    return findInFolder(folder.c_str(), deep, match) ? std::string(match.foundPath) : std::string();
}

std::string indexed(const FolderIndex& index, const std::string& name) {
    FolderMatch match = matchFor(name);
    return index.find(match) ? std::string(match.foundPath) : std::string();
}

// A random tree under `root`; the names used, in random case, for asking.
std::vector<std::string> randomTree(const fs::path& root, unsigned seed) {
    std::mt19937 random(seed);
    // Each row: spellings of one name (case, composed and decomposed forms),
    // which the file system keeps apart and the search takes as one.
    const std::vector<std::vector<std::string>> spellings = {
        {"a.tif"}, {"B.tif"}, {"photo.JPG"}, {"logo.eps"}, {"x"}, {"Ab.tif"}, {"page.pdf"}, {"a.TIF.tif"},
        {"\xC3\xA4.tif", "\xC3\x84.tif", "a\xCC\x88.tif", "A\xCC\x88.TIF"},
        {"\xC3\x84rger.tif", "\xC3\xA4RGER.tif", "A\xCC\x88rger.tif", "a\xCC\x88rger.TIF"},
        {"Stra\xC3\x9F" "e.tif", "STRASSE.tif", "Strasse.tif"},
        {"caf\xC3\xA9.jpg", "CAFE\xCC\x81.JPG", "Caf\xC3\x89.jpg"},
        {"\xCE\xA3\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1.eps", "\xCF\x83\xCE\xBF\xCF\x86\xCE\xB9\xCC\x81\xCE\xB1.EPS"},
    };
    std::vector<std::string> pool;
    for (const auto& row : spellings) pool.insert(pool.end(), row.begin(), row.end());
    const auto pick = [&](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    const auto recase = [&](std::string name) {
        for (char& c : name) {
            if (random() % 2 == 0 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            else if (random() % 2 == 0 && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        }
        return name;
    };
    std::vector<fs::path> folders = {root};
    for (int i = 0; i < 12; ++i) {
        const fs::path parent = folders[random() % folders.size()];
        // Some folders carry a picture's name.
        const fs::path folder = parent / (random() % 4 == 0 ? recase(pick(pool)) : "f" + std::to_string(i));
        std::error_code ignored;
        if (fs::create_directory(folder, ignored)) folders.push_back(folder);
    }
    for (int i = 0; i < 60; ++i) {
        const fs::path file = folders[random() % folders.size()] / recase(pick(pool));
        std::error_code ignored;
        if (!fs::exists(file, ignored)) writeFile(file.string(), "data");
    }
    for (int i = 0; i < 8; ++i) {
        const fs::path at = folders[random() % folders.size()] / recase(pick(pool));
        std::error_code ignored;
        if (fs::exists(fs::symlink_status(at, ignored))) continue;
        switch (random() % 4) {
            case 0: fs::create_directory_symlink(root, at, ignored); break;                  // loop
            case 1: fs::create_directory_symlink(folders[random() % folders.size()], at, ignored); break;
            case 2: fs::create_symlink(root / "nothing here", at, ignored); break;            // dangling
            default: fs::create_symlink(folders[0] / pick(pool), at, ignored); break;
        }
    }
    std::vector<std::string> names;
    for (const std::string& name : pool) {
        names.push_back(name);
        names.push_back(recase(name));
    }
    names.push_back("missing.tif");
    names.push_back("f1");
    return names;
}

TEST(FolderIndexTest, EmptyNamesAndMissingFoldersFindNothing) {
    TempDir dir;
    writeFile(dir.file("a.tif"), "x");
    FolderIndex index;
    ASSERT_TRUE(index.build(dir.path().c_str(), true));
    EXPECT_EQ(index.size(), 1U);
    EXPECT_EQ(indexed(index, ""), "");
    EXPECT_EQ(indexed(index, "A.TIF"), dir.file("a.tif"));
    ASSERT_TRUE(index.build((dir.path() / "missing").c_str(), true));
    EXPECT_EQ(index.size(), 0U);
    EXPECT_EQ(indexed(index, "a.tif"), "");
    EXPECT_EQ(walked(dir.path() / "missing", true, "a.tif"), "");
}

TEST(FolderIndexTest, ItemsWhosePathsDoNotFitAreLeftOutAsTheWalkLeavesThemOut) {
    TempDir dir;
    // Paths of 512 bytes and more are neither reported nor entered.
    fs::path folder = dir.path();
    std::vector<std::string> names;
    for (int depth = 0; folder.string().size() < 700; ++depth) {
        const std::string name = "n" + std::to_string(depth) + ".tif";
        writeFile((folder / name).string(), "x");
        names.push_back(name);
        folder /= std::string(60, static_cast<char>('a' + depth));
        fs::create_directory(folder);
    }
    FolderIndex index;
    ASSERT_TRUE(index.build(dir.path().c_str(), true));
    int found = 0;
    for (const std::string& name : names) {
        const std::string expected = walked(dir.path(), true, name);
        EXPECT_EQ(indexed(index, name), expected) << name;
        if (!expected.empty()) ++found;
    }
    EXPECT_GT(found, 2);
    EXPECT_LT(found, static_cast<int>(names.size()));
}

TEST(FolderIndexTest, NameComparisonFoldsCaseAndUnicodeForm) {
    EXPECT_TRUE(sameNameIgnoringCase("Photo.TIF", "photo.tif"));
    EXPECT_FALSE(sameNameIgnoringCase("photo.tif", "photo.tiff"));
    EXPECT_TRUE(sameNameIgnoringCase("\xC3\x84.tif", "\xC3\xA4.tif"));
    EXPECT_TRUE(sameNameIgnoringCase("\xC3\x84.TIF", "a\xCC\x88.tif"));
    EXPECT_TRUE(sameNameIgnoringCase("Stra\xC3\x9F" "e.tif", "STRASSE.TIF"));
    EXPECT_FALSE(sameNameIgnoringCase("\xC3\xA4.tif", "a.tif"));
    EXPECT_FALSE(sameNameIgnoringCase("\xFF.tif", "\xC3\xBF.tif"));  // not UTF-8: compared as bytes
    EXPECT_FALSE(sameNameIgnoringCase("[", "{"));  // 0x5B and 0x7B are no letters
    EXPECT_EQ(walkedItemName("/a/b/c.tif"), "c.tif");
    EXPECT_EQ(walkedItemName("c.tif"), "c.tif");
}

TEST(FolderIndexTest, RandomTreesGiveTheSameAnswersAsAWalkPerName) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        TempDir dir;
        const std::vector<std::string> names = randomTree(dir.path(), seed);
        for (const bool deep : {true, false}) {
            FolderIndex index;
            ASSERT_TRUE(index.build(dir.path().c_str(), deep));
            for (const std::string& name : names) {
                EXPECT_EQ(indexed(index, name), walked(dir.path(), deep, name))
                    << "seed " << seed << (deep ? " deep" : " flat") << ", name " << name;
            }
        }
    }
}

// Every item a walk would accept for the name, in any order: what the first
// match and the later ones together must be.
std::set<std::string> everyMatch(const fs::path& root, bool deep, const std::string& name) {
    std::set<std::string> paths;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (!deep) it.disable_recursion_pending();
        std::error_code ignored;
        if (fs::is_directory(it->path(), ignored)) continue;  // a link to a folder never matches either
        if (sameNameIgnoringCase(it->path().filename().string(), name)) paths.insert(it->path().string());
    }
    return paths;
}

TEST(FolderIndexTest, TheLaterFilesOfANameComeWithTheFirstAndNothingElse) {
    for (unsigned seed = 200; seed < 215; ++seed) {
        TempDir dir;
        const std::vector<std::string> names = randomTree(dir.path(), seed);
        for (const bool deep : {true, false}) {
            FolderIndex index;
            ASSERT_TRUE(index.build(dir.path().c_str(), deep));
            for (const std::string& name : names) {
                FolderMatch match = matchFor(name);
                std::vector<const char*> later;
                const bool found = index.find(match, &later);
                EXPECT_EQ(found ? std::string(match.foundPath) : std::string(), walked(dir.path(), deep, name));
                std::set<std::string> all(later.begin(), later.end());
                EXPECT_EQ(all.size(), later.size()) << "a file twice";
                if (found) all.insert(match.foundPath);
                EXPECT_EQ(all, everyMatch(dir.path(), deep, name))
                    << "seed " << seed << (deep ? " deep" : " flat") << ", name " << name;
            }
        }
    }
}

class FolderSearchTest : public DropTest {};

TEST_F(FolderSearchTest, TheIndexedSynchronisationImportsWhatThePerBoxWalkImports) {
    for (unsigned seed = 100; seed < 110; ++seed) {
        TempDir tree;
        const std::vector<std::string> names = randomTree(tree.path(), seed);
        std::vector<std::vector<std::pair<XTBoxID, std::string>>> loads;
        for (const FolderSearch search : {FolderSearch::Indexed, FolderSearch::WalkPerBox}) {
            // The same boxes, with the same ids, for both searches.
            fakeHost().spreads.assign(2, {});
            nextId_ = 1;
            for (const std::string& name : names) {
                pictureBox(static_cast<std::int16_t>(1 + nextId_ % 2), rectPt(0, 0, 5, 5), "/old/" + name);
            }
            dropHost().loads.clear();
            dropFolder(tree.path().c_str(), search);
            loads.push_back(dropHost().loads);
        }
        EXPECT_FALSE(loads[0].empty()) << "seed " << seed;
        EXPECT_EQ(loads[0], loads[1]) << "seed " << seed;
    }
}

}  // namespace
}  // namespace lumbrel::test

// A dropped folder re-links the document's pictures: the question asked,
// which boxes take part, which file each gets, the pages walked and shown.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "drop/drop.h"
#include "drop/drop_fixture.h"
#include "drop/folder_sync.h"

namespace lumbrel::test {
namespace {

namespace fs = std::filesystem;
using desktop::PasteboardItem;

constexpr const char* kSyncQuestion = "Synchronize all pictures with folder content?";

class FolderSyncTest : public DropTest {
protected:
    void SetUp() override {
        DropTest::SetUp();
        host().spreads.resize(2);
        folder_ = dir.path() / "job";
        fs::create_directories(folder_ / "sub");
    }

    std::string put(const fs::path& relative) {
        const fs::path path = folder_ / relative;
        fs::create_directories(path.parent_path());
        writeFile(path.string(), "II*\0");
        return path.string();
    }

    XTBoxID linked(std::int16_t spread, const std::string& oldPath) {
        return pictureBox(spread, rectPt(0, 0, 10, 10), oldPath);
    }

    std::string pathOf(XTBoxID box) { return host().findBox(box)->picturePath; }

    void sync() { dropFolder(folder_.c_str()); }

    fs::path folder_;
};

TEST_F(FolderSyncTest, DroppingAFolderAsksFirstAndNoChangesNothing) {
    const std::string fresh = put("a.tif");
    const XTBoxID box = linked(1, "/old/a.tif");
    agent->answerWithButton("No");
    dragAndDrop({PasteboardItem::file(folder_.string())}, 10, 10);
    EXPECT_EQ(alertMessages(), std::vector<std::string>{kSyncQuestion});
    EXPECT_EQ(alerts()[0].informative, folder_.string());
    EXPECT_EQ(pathOf(box), "/old/a.tif");
    EXPECT_TRUE(dropHost().loads.empty());
    EXPECT_TRUE(madeBoxes().empty());

    agent->answerWithButton("Yes");
    dragAndDrop({PasteboardItem::file(folder_.string())}, 10, 10);
    EXPECT_EQ(pathOf(box), fresh);
    EXPECT_TRUE(madeBoxes().empty()) << "a folder never becomes a box";
}

TEST_F(FolderSyncTest, NamesThatDifferOnlyInCaseAreTheSameFile) {
    const std::string fresh = put("Photo.TIF");
    const XTBoxID upper = linked(1, "/Volumes/Old/photo.tif");
    const XTBoxID other = linked(2, "/Volumes/Old/photo.tiff");
    sync();
    EXPECT_EQ(pathOf(upper), fresh);
    EXPECT_EQ(pathOf(other), "/Volumes/Old/photo.tiff");
}

TEST_F(FolderSyncTest, NamesMatchWithoutRegardToUnicodeCaseOrForm) {
    const std::string composed = put("\xC3\x84rger.tif");         // "Ärger" composed
    const std::string decomposed = put("sub/U\xCC\x88" "ber.tif");  // "Über" decomposed, as from a Mac volume
    const std::string sharp = put("Gr\xC3\xB6\xC3\x9F" "e.eps");   // "Größe"
    const struct {
        std::string oldPath, expected;
    } rows[] = {
        {"/old/\xC3\xA4rger.tif", composed},             // "ärger"
        {"/old/A\xCC\x88rger.tif", composed},            // "Ärger" decomposed
        {"/old/\xC3\x84RGER.TIF", composed},
        {"/old/\xC3\xBC" "ber.tif", decomposed},          // "über" composed
        {"/old/\xC3\x9C" "BER.TIF", decomposed},
        {"/old/GR\xC3\x96SSE.EPS", sharp},                // full case folding: ß is ss
        {"/old/arger.tif", "/old/arger.tif"},             // the letter without its mark is another
        {"/old/\xC3\xA4rger.tiff", "/old/\xC3\xA4rger.tiff"},
    };
    std::vector<XTBoxID> boxes;
    for (const auto& row : rows) boxes.push_back(linked(1, row.oldPath));
    for (const FolderSearch search : {FolderSearch::Indexed, FolderSearch::WalkPerBox}) {
        for (std::size_t i = 0; i < boxes.size(); ++i) host().findBox(boxes[i])->picturePath = rows[i].oldPath;
        dropFolder(folder_.c_str(), search);
        for (std::size_t i = 0; i < boxes.size(); ++i) EXPECT_EQ(pathOf(boxes[i]), rows[i].expected) << rows[i].oldPath;
    }
}

TEST_F(FolderSyncTest, TheFirstFileInWalkOrderWinsAndFoldersNeverMatch) {
    put("dup.tif");
    put("sub/dup.tif");
    put("sub/deeper/dup.tif");
    fs::create_directories(folder_ / "sub" / "only.tif");  // a folder with a picture's name
    const std::string only = put("sub/deeper/only.tif");
    // What a plain pre-order walk of the tree meets first.
    std::string first;
    for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
        if (entry.path().filename() == "dup.tif" && entry.is_regular_file()) {
            first = entry.path().string();
            break;
        }
    }
    const XTBoxID dup = linked(1, "/x/DUP.tif");
    const XTBoxID onlyBox = linked(1, "/x/only.tif");
    sync();
    EXPECT_EQ(pathOf(dup), first);
    EXPECT_EQ(pathOf(onlyBox), only);
}

TEST_F(FolderSyncTest, SubfoldersZeroSearchesTheFolderAlone) {
    const std::string deep = put("sub/deep.tif");
    const XTBoxID box = linked(1, "/x/deep.tif");
    usePrefs("[Default]\rSubfolders=0\r");
    sync();
    EXPECT_EQ(pathOf(box), "/x/deep.tif");
    usePrefs("[Default]\rSubfolders=2\r");
    sync();
    EXPECT_EQ(pathOf(box), "/x/deep.tif") << "a switch is on only at 1";
    usePrefs("[Default]\r");  // default 1, read anew at each drop
    sync();
    EXPECT_EQ(pathOf(box), deep);
}

TEST_F(FolderSyncTest, MasterBoxesAreSynchronisedWhileDocumentPagesShowAndThePageComesBack) {
    const std::string head = put("masthead.tif");
    const std::string body = put("body.tif");
    addMasterSpread();
    dropHost().page = 2;
    const XTBoxID master = 100;
    host().addBox(static_cast<std::int16_t>(host().spreads.size()), master, XT_BOX_PICTURE, rectPt(0, 0, 10, 10),
                  "/old/masthead.tif");
    const XTBoxID page = linked(2, "/old/body.tif");
    host().currentBox = page;
    sync();
    EXPECT_EQ(pathOf(master), head);
    EXPECT_EQ(pathOf(page), body);
    EXPECT_EQ(dropHost().loads.front().first, master) << "masters first";
    EXPECT_EQ(dropHost().navigation, (std::vector<std::string>{"master 1", "page 2", "page 2"}));
    EXPECT_FALSE(dropHost().showingMaster);
    EXPECT_EQ(dropHost().page, 2);
    EXPECT_EQ(host().currentBox, 0) << "no box is left current";
}

TEST_F(FolderSyncTest, WhileAMasterIsShownOnlyTheShownSpreadsAreWalked) {
    put("masthead.tif");
    put("body.tif");
    addMasterSpread();
    host().addBox(static_cast<std::int16_t>(host().spreads.size()), 100, XT_BOX_PICTURE, rectPt(0, 0, 10, 10),
                  "/old/masthead.tif");
    const XTBoxID page = linked(1, "/old/body.tif");
    dropHost().showingMaster = true;
    sync();
    EXPECT_EQ(dropHost().loads.size(), 1U);
    EXPECT_EQ(dropHost().loads[0].first, 100);
    EXPECT_EQ(pathOf(page), "/old/body.tif");
    EXPECT_TRUE(dropHost().navigation.empty());
    EXPECT_TRUE(dropHost().showingMaster);
}

TEST_F(FolderSyncTest, StoredImageNamesFillBoxesThatCanTakeAPicture) {
    const std::string found = put("sub/logo.eps");
    const XTBoxID empty = linked(1, "");
    setImageName(empty, "logo.eps");
    const XTBoxID takes = textBox(1, rectPt(0, 0, 10, 10));
    setImageName(takes, "Disk:Jobs:LOGO.eps");  // the last component of any path form
    dropHost().takesPicture.insert(takes);
    const XTBoxID refuses = textBox(1, rectPt(0, 0, 10, 10));
    setImageName(refuses, "logo.eps");
    usePrefs("[Default]\rLogging=2\r");
    sync();
    EXPECT_EQ(pathOf(empty), found);
    EXPECT_EQ(dropHost().loads, (std::vector<std::pair<XTBoxID, std::string>>{{empty, found}, {takes, found}}));
    // Every named box is looked for and logged, whether it can take the file or not.
    EXPECT_EQ(logText(), "dropFolder: " + folder_.string() + "\rsrcPath: logo.eps\rdstPath: " + found +
                             "\rsrcPath: Disk:Jobs:LOGO.eps\rdstPath: " + found + "\rsrcPath: logo.eps\rdstPath: " +
                             found + "\r");
}

TEST_F(FolderSyncTest, APictureFromTheFoundFileItselfIsImportedAgain) {
    const std::string same = put("same.tif");
    const XTBoxID box = linked(1, same);
    sync();
    EXPECT_EQ(dropHost().loads, (std::vector<std::pair<XTBoxID, std::string>>{{box, same}}));
}

TEST_F(FolderSyncTest, AFailedImportLeavesTheBoxAndTheWalkGoesOn) {
    const std::string bad = put("bad.tif");
    const std::string good = put("good.tif");
    dropHost().importErrors[bad] = -39;
    const XTBoxID first = linked(1, "/o/bad.tif");
    const XTBoxID second = linked(1, "/o/good.tif");
    sync();
    EXPECT_EQ(pathOf(first), "/o/bad.tif");
    EXPECT_EQ(pathOf(second), good);
    EXPECT_TRUE(host().shownErrors.empty());
    EXPECT_TRUE(alerts().empty());
}

TEST_F(FolderSyncTest, AnEmptyMissingOrUnreadableFolderChangesNothing) {
    put("a.tif");
    const XTBoxID box = linked(1, "/o/a.tif");
    usePrefs("[Default]\rLogging=2\r");
    dropFolder("");
    EXPECT_EQ(logText(), "dropFolder: \r");
    EXPECT_TRUE(dropHost().navigation.empty()) << "an empty path ends the command at once";
    dropFolder((dir.path() / "missing").c_str());
    EXPECT_EQ(pathOf(box), "/o/a.tif");

    ::chmod(dir.path().c_str(), 0755);
    ::chmod(folder_.c_str(), 0);
    {
        WithoutRootPrivileges asUser;
        ASSERT_TRUE(asUser.ok());
        sync();
    }
    ::chmod(folder_.c_str(), 0755);
    EXPECT_EQ(pathOf(box), "/o/a.tif");
    EXPECT_TRUE(alerts().empty());
}

TEST_F(FolderSyncTest, UnreadableSubfoldersAreLeftOutAndTheRestIsFound) {
    put("locked/hidden.tif");
    const std::string open = put("open/shown.tif");
    const XTBoxID hidden = linked(1, "/o/hidden.tif");
    const XTBoxID shown = linked(1, "/o/shown.tif");
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(folder_.c_str(), 0755);
    ::chmod((folder_ / "locked").c_str(), 0);
    {
        WithoutRootPrivileges asUser;
        ASSERT_TRUE(asUser.ok());
        sync();
    }
    ::chmod((folder_ / "locked").c_str(), 0755);
    EXPECT_EQ(pathOf(hidden), "/o/hidden.tif");
    EXPECT_EQ(pathOf(shown), open);
}

TEST_F(FolderSyncTest, LinkLoopsEndAndLinksToFilesCount) {
    const std::string target = put("elsewhere/real.tif");
    fs::create_directory_symlink(folder_, folder_ / "sub" / "loop");
    fs::create_directory_symlink("..", folder_ / "sub" / "up");
    fs::create_symlink(target, folder_ / "linked.tif");
    fs::create_symlink(folder_ / "nowhere.tif", folder_ / "dangling.tif");
    fs::create_directory_symlink(folder_ / "elsewhere", folder_ / "folderlink.tif");
    const XTBoxID viaLink = linked(1, "/o/linked.tif");
    const XTBoxID real = linked(1, "/o/real.tif");
    const XTBoxID toFolder = linked(1, "/o/folderlink.tif");
    sync();
    EXPECT_EQ(pathOf(viaLink), (folder_ / "linked.tif").string());
    EXPECT_EQ(pathOf(real), target);
    EXPECT_EQ(pathOf(toFolder), "/o/folderlink.tif") << "a link to a folder is a folder";
}

TEST_F(FolderSyncTest, BoxesWithoutPathOrNameAreLeftAlone) {
    put("x.tif");
    linked(1, "");
    const XTBoxID text = textBox(1, rectPt(0, 0, 5, 5));
    dropHost().takesPicture.insert(text);
    usePrefs("[Default]\rLogging=2\r");
    sync();
    EXPECT_TRUE(dropHost().loads.empty());
    EXPECT_EQ(logText(), "dropFolder: " + folder_.string() + "\r");
}

}  // namespace
}  // namespace lumbrel::test

// Dropping all files of a drag, as the Windows build does, run here on the
// desktop's drags: the entry test (preference, layer, extensions), the
// drop keeping the files, and the idle step placing them — new boxes 20
// apart with the selection cleared between, the scripting partner's
// identifier kept with the box, refused drags that leave nothing behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "drop/drop_fixture.h"
#include "drop/win_drop.h"
#include "host/xt_groups.h"
#include "host/xt_windrop.h"

namespace lumbrel::test {
namespace {

using desktop::PasteboardItem;

struct WinDropHost {
    std::vector<std::tuple<OSType, XTWindow>> dragsTaken;
    std::vector<std::tuple<XTBoxID, std::int16_t, OSType, std::int32_t>> slugNotices;
    int deselects = 0;
    std::int32_t layerFlags = 0;
};
WinDropHost gWin;

XTError makeFileSpec(const char* path, XTFileSpec* spec) {
    const std::string file(path);
    if (file.size() >= sizeof spec->path) return XT_PARAMERR;
    file.copy(spec->path, file.size());
    spec->path[file.size()] = '\0';
    return XT_NOERR;
}
std::int32_t importExtensions(std::int16_t kind, char* buffer, std::int32_t size) {
    const std::string list = kind == XT_BOX_PICTURE ? "tif;jpg;pdf" : kind == XT_BOX_TEXT ? "txt" : "";
    const auto n = std::min<std::size_t>(list.size(), static_cast<std::size_t>(size - 1));
    list.copy(buffer, n);
    buffer[n] = '\0';
    return static_cast<std::int32_t>(list.size());
}
void dragAccepted(OSType code, XTWindow target) { gWin.dragsTaken.emplace_back(code, target); }
void slugNotice(XTBoxID box, std::int16_t kind, OSType key, std::int32_t value) {
    gWin.slugNotices.emplace_back(box, kind, key, value);
}
const XTWinDropGroup kWinDrop{sizeof(XTWinDropGroup), makeFileSpec, importExtensions, dragAccepted, slugNotice};

void deselectAll() {
    ++gWin.deselects;
    fakeHost().currentBox = 0;
}
std::int32_t currentLayerFlags() { return gWin.layerFlags; }
const XTLayerGroup kLayers{sizeof(XTLayerGroup), currentLayerFlags};

class WinDropTest : public DropTest {
protected:
    void SetUp() override {
        DropTest::SetUp();
        gWin = WinDropHost{};
        resetWinDrop();
        setWinDropGroup(&kWinDrop);
        gXtBox.deselectAll = deselectAll;
        gXtLayers = &kLayers;
        gLayersActive = 1;
        host().spreads.resize(2);
        for (const char* name : {"a.tif", "b.jpg", "c.TIF", "d.e", "notes.txt", "x.zip"}) {
            writeFile(dir.file(name), "data");
        }
    }
    void TearDown() override {
        setWinDropGroup(nullptr);
        resetWinDrop();
        gXtLayers = nullptr;
        gLayersActive = 0;
        DropTest::TearDown();
    }

    // The drag record of the desktop drag of these files at local (v, h).
    XTWinDragRec record(const std::vector<std::string>& names, int v = 100, int h = 30) {
        std::vector<PasteboardItem> items;
        for (const std::string& name : names) items.push_back(PasteboardItem::file(dir.file(name)));
        XTWinDragRec drag{};
        drag.size = sizeof drag;
        drag.window = 77;
        drag.where = XTPoint{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)};
        drag.fileList = static_cast<std::intptr_t>(desktop::Desktop::instance().beginDrag(std::move(items)));
        return drag;
    }
    std::int32_t entered(XTWinDragRec& drag) {
        drag.accept = -1;
        winDragEntered(&drag);
        return drag.accept;
    }
    std::int32_t over(XTWinDragRec& drag) {
        drag.accept = -1;
        winDragOver(&drag);
        return drag.accept;
    }
    std::int32_t dropped(XTWinDragRec& drag) {
        drag.accept = -1;
        winDrop(&drag);
        return drag.accept;
    }
    std::vector<int> pointsOf(XTBoxID box) {
        const FakeBox* found = host().findBox(box);
        if (found == nullptr) return {};
        return {found->bounds.top / kPt, found->bounds.left / kPt, found->bounds.bottom / kPt, found->bounds.right / kPt};
    }
};

TEST_F(WinDropTest, EntryTestsThePreferenceTheLayerAndTheFirstFile) {
    std::filesystem::create_directories(dir.file("folder.d"));
    const struct {
        const char* prefs;
        std::int32_t layerFlags;
        std::uint8_t layersModule;
        std::vector<std::string> files;
        std::int32_t accept;
    } cases[] = {
        {"", 0, 1, {"a.tif"}, 1},
        {"", 0, 1, {"c.TIF", "x.zip"}, 1},
        {"", 0, 1, {"d.e"}, 1},
        {"", 0, 1, {"notes.txt"}, 1},
        {"", 0, 1, {"folder.d"}, 1},
        {"", 0, 1, {"x.zip", "a.tif"}, 0},
        {"", 0, 1, {"gone.tif"}, 0},
        {"", 1, 1, {"a.tif"}, 0},
        {"", 3, 1, {"a.tif"}, 0},
        {"", 2, 1, {"a.tif"}, 1},
        {"", 1, 0, {"a.tif"}, 1},
        {"[Default]\rDragAndDrop=0\r", 0, 1, {"a.tif"}, 0},
        {"[Default]\rDragAndDrop=2\r", 0, 1, {"a.tif"}, 0},
    };
    for (const auto& c : cases) {
        usePrefs(c.prefs);
        gWin = WinDropHost{};
        gWin.layerFlags = c.layerFlags;
        gLayersActive = c.layersModule;
        XTWinDragRec drag = record(c.files);
        EXPECT_EQ(entered(drag), c.accept) << c.files.front() << " " << c.prefs << " layer " << c.layerFlags;
        EXPECT_EQ(over(drag), c.accept) << c.files.front();
        EXPECT_EQ(gWin.dragsTaken.size(), c.accept == 1 ? 1U : 0U) << c.files.front();
        if (!gWin.dragsTaken.empty()) {
            EXPECT_EQ(gWin.dragsTaken.front(), std::make_tuple(XT_FOURCC('B', 'D', 'I', 'C'), XTWindow{77}));
        }
    }
    // A drag record of another size is not read.
    usePrefs("");
    XTWinDragRec drag = record({"a.tif"});
    drag.size = sizeof drag - 4;
    EXPECT_EQ(entered(drag), -1);
}

TEST_F(WinDropTest, OverFollowsTheEntryAndTheLayerAsItIsNow) {
    XTWinDragRec drag = record({"a.tif"});
    ASSERT_EQ(entered(drag), 1);
    gWin.layerFlags = 1;
    EXPECT_EQ(over(drag), 0);
    gWin.layerFlags = 0;
    EXPECT_EQ(over(drag), 1);
    XTWinDragRec other = record({"x.zip"});
    ASSERT_EQ(entered(other), 0);
    EXPECT_EQ(over(other), 0);
}

TEST_F(WinDropTest, SeveralFilesBecomeNewBoxesTwentyApartAtTheNextIdleStep) {
    const XTBoxID under = pictureBox(1, XTFixedRect{90 * kPt, 20 * kPt, 400 * kPt, 400 * kPt});
    XTWinDragRec drag = record({"a.tif", "x.zip", "b.jpg", "notes.txt"}, 100, 30);
    ASSERT_EQ(entered(drag), 1);
    ASSERT_EQ(dropped(drag), 1);
    desktop::Desktop::instance().endDrag();
    EXPECT_TRUE(madeBoxes().empty()) << "nothing is placed inside the drop callback";

    workOffDrop();
    const std::vector<XTBoxID> made = madeBoxes();
    ASSERT_EQ(made.size(), 3U) << "the zip file is left out, its place in the cascade kept";
    EXPECT_EQ(pointsOf(made[0]), (std::vector<int>{100, 30, 172, 102}));
    EXPECT_EQ(pointsOf(made[1]), (std::vector<int>{140, 70, 212, 142}));
    EXPECT_EQ(pointsOf(made[2]), (std::vector<int>{160, 90, 304, 234}));
    EXPECT_EQ(host().findBox(made[2])->kind, XT_BOX_TEXT);
    EXPECT_EQ(gWin.deselects, 4) << "after every file";
    EXPECT_TRUE(gWin.slugNotices.empty());
    EXPECT_EQ(host().findBox(under)->picturePath, "") << "several files never go into the box under them";

    // The list is worked off once.
    workOffDrop();
    EXPECT_EQ(madeBoxes().size(), 3U);
}

TEST_F(WinDropTest, OneFileOnABoxOfItsKindGoesIntoIt) {
    const XTBoxID picture = pictureBox(1, XTFixedRect{90 * kPt, 20 * kPt, 200 * kPt, 200 * kPt}, "/old.tif");
    XTWinDragRec drag = record({"a.tif"}, 100, 30);
    ASSERT_EQ(entered(drag), 1);
    ASSERT_EQ(dropped(drag), 1);
    workOffDrop();
    EXPECT_TRUE(madeBoxes().empty());
    EXPECT_EQ(host().findBox(picture)->picturePath, dir.file("a.tif"));
    ASSERT_EQ(gWin.slugNotices.size(), 1U);
    EXPECT_EQ(gWin.slugNotices.front(), std::make_tuple(picture, std::int16_t{XT_SLUG_PICTURE}, XT_SLUG_IMAGENAME, 0));
    EXPECT_EQ(gWin.deselects, 0);
    // A text file on the picture box makes a text box on top of it.
    XTWinDragRec text = record({"notes.txt"}, 100, 30);
    ASSERT_EQ(entered(text), 1);
    ASSERT_EQ(dropped(text), 1);
    workOffDrop();
    ASSERT_EQ(madeBoxes().size(), 1U);
    EXPECT_EQ(pointsOf(madeBoxes()[0]), (std::vector<int>{100, 30, 244, 174}));
}

TEST_F(WinDropTest, TheScriptingPartnersIdentifierIsKeptWithTheNewBox) {
    XTWinDragRec drag = record({"a.tif", "b.jpg"}, 100, 30);
    const std::string identifiers("guid-1\0\0", 8);
    drag.identifiers = identifiers.data();
    drag.identifiersSize = static_cast<std::int32_t>(identifiers.size());
    ASSERT_EQ(entered(drag), 1);
    ASSERT_EQ(dropped(drag), 1);
    workOffDrop();
    const std::vector<XTBoxID> made = madeBoxes();
    ASSERT_EQ(made.size(), 2U);
    const auto identifier = [&](XTBoxID box) {
        const auto found = host().slugs.find({box, XT_SLUG_PICTURE, XT_SLUG_IDENTIFIER});
        return found == host().slugs.end() ? std::string("(none)") : found->second;
    };
    EXPECT_EQ(identifier(made[0]), "guid-1");
    EXPECT_EQ(identifier(made[1]), "(none)");
}

TEST_F(WinDropTest, ADropWithoutFilesOrAFileGoneByIdleTimeMakesNothing) {
    XTWinDragRec none{};
    none.size = sizeof none;
    none.window = 77;
    EXPECT_EQ(dropped(none), 0);
    XTWinDragRec text = record({});
    desktop::Desktop::instance().endDrag();
    text.fileList = static_cast<std::intptr_t>(desktop::Desktop::instance().beginDrag({PasteboardItem::text("hi")}));
    EXPECT_EQ(dropped(text), 0);
    workOffDrop();
    EXPECT_TRUE(madeBoxes().empty());

    XTWinDragRec drag = record({"a.tif"});
    ASSERT_EQ(dropped(drag), 1);
    std::filesystem::remove(dir.file("a.tif"));
    workOffDrop();
    EXPECT_TRUE(madeBoxes().empty());
    ASSERT_EQ(alertMessages().size(), 1U);
    EXPECT_EQ(alertMessages().front(), "File not found!");
}

}  // namespace
}  // namespace lumbrel::test

// Dropping files onto a layout view: which drags are taken, where a file
// lands (view scale, stacked spreads), replacing a picture or making a new
// box, and the failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "drop/drop.h"
#include "drop/drop_fixture.h"
#include "host/xt_groups.h"

namespace lumbrel::test {
namespace {

using desktop::PasteboardItem;

constexpr const char* kFileNotFound = "File not found!";

class DropFileTest : public DropTest {
protected:
    void SetUp() override {
        DropTest::SetUp();
        picture_ = dir.file("photo one.tif");
        writeFile(picture_, "II*\0");
        // Two document spreads, 800 pixels high on screen at 100 %.
        host().spreads.resize(2);
    }

    // The new box's bounds in whole points (top, left, bottom, right).
    std::vector<int> boundsInPoints(XTBoxID box) {
        const FakeBox* found = host().findBox(box);
        if (found == nullptr) return {};
        const XTFixedRect& r = found->bounds;
        return {r.top / kPt, r.left / kPt, r.bottom / kPt, r.right / kPt};
    }

    std::int16_t spreadOf(XTBoxID box) {
        for (std::size_t s = 0; s < host().spreads.size(); ++s) {
            for (const FakeBox& b : host().spreads[s]) {
                if (b.id == box) return static_cast<std::int16_t>(s + 1);
            }
        }
        return 0;
    }

    std::string picture_;
};

TEST_F(DropFileTest, DropPlacementDividesByTheZoomAndStacksSpreads) {
    // View scale × document scale, both 16.16; fractions of points dropped.
    EXPECT_EQ(dropZoom(2 * kPt, kPt), 2 * kPt);
    EXPECT_EQ(dropZoom(2 * kPt, kPt / 2), kPt);
    EXPECT_EQ(dropZoom(0, kPt), 0);
    const auto place = [](std::int16_t spread, int v, int h, std::int64_t zoom, std::int32_t height = 800) {
        const std::optional<DropPlace> p = placeDrop(
            spread, XTPoint{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)}, zoom, height);
        return p ? std::vector<int>{p->spread, p->v, p->h} : std::vector<int>{};
    };
    EXPECT_EQ(place(1, 101, 201, 2 * kPt), (std::vector<int>{1, 50, 100}));
    EXPECT_EQ(place(1, 99, 30, kPt * 3 / 2), (std::vector<int>{1, 66, 20}));
    // Below the spread: the next one, as far below its top.
    EXPECT_EQ(place(1, 850, 10, kPt), (std::vector<int>{2, 50, 10}));
    EXPECT_EQ(place(1, 1700, 10, 2 * kPt), (std::vector<int>{2, 50, 5}));
    EXPECT_EQ(place(1, 800, 0, kPt), (std::vector<int>{2, 0, 0}));
    // Above it: the one before, one spread further up than the truncating
    // division says.
    EXPECT_EQ(place(2, -30, 10, kPt), (std::vector<int>{1, 770, 10}));
    EXPECT_EQ(place(3, -800, 10, kPt), (std::vector<int>{1, 800, 10}));
    // A zoom of 0 divides nothing; without a spread height no spread can be told.
    EXPECT_EQ(place(1, 900, 300, 0), (std::vector<int>{2, 100, 300}));
    for (const std::int32_t height : {0, -1, -800, INT32_MIN}) {
        EXPECT_EQ(place(1, 900, 300, kPt, height), std::vector<int>{}) << height;
        EXPECT_EQ(place(1, 0, 0, kPt, height), std::vector<int>{}) << height;
    }
    // Tiny zooms make huge coordinates: they stay within point range.
    EXPECT_EQ(place(1, 10, 32000, 1)[2], INT16_MAX);
}

TEST_F(DropFileTest, ADropWithoutASpreadHeightIsRefusedAndMakesNothing) {
    // What the host may report for spread 1 on screen: nothing, or bounds
    // upside down.
    const std::vector<XTRect> bounds = {{0, 0, 0, 1200}, {500, 0, 100, 1200}, {-32768, 0, -32768, 1200}};
    pictureBox(1, XTFixedRect{0, 0, 200 * kPt, 200 * kPt});
    for (const XTRect& b : bounds) {
        SCOPED_TRACE(b.top);
        host().spreadScreenBounds = b;
        for (const auto& [v, h] : std::vector<std::pair<int, int>>{{10, 10}, {300, 300}, {900, 30}}) {
            const auto result = dragAndDrop({PasteboardItem::file(picture_)}, v, h);
            EXPECT_EQ(result.entered, 1);
            EXPECT_EQ(result.dropped, 0) << "refused at " << v << "," << h;
        }
    }
    EXPECT_TRUE(madeBoxes().empty());
    EXPECT_TRUE(dropHost().loads.empty());
    EXPECT_TRUE(dropHost().records.empty());
    EXPECT_TRUE(alerts().empty());
}

TEST_F(DropFileTest, AtDoubleZoomTheDropPointIsHalfAsFarFromTheOrigin) {
    host().viewScale = 2 * kPt;
    host().windowOrigin = XTPoint{40, 16};
    const auto result = dragAndDrop({PasteboardItem::file(picture_)}, 100, 200);
    EXPECT_EQ(result.entered, 1);
    EXPECT_EQ(result.dropped, 1);
    ASSERT_EQ(madeBoxes().size(), 1U);
    const XTBoxID box = madeBoxes()[0];
    EXPECT_EQ(boundsInPoints(box), (std::vector<int>{50, 100, 150, 200}));
    EXPECT_EQ(spreadOf(box), 1);
    EXPECT_EQ(host().originSpread, 1) << "the view's origin is set to the spread of its page";
}

TEST_F(DropFileTest, BelowTheSpreadTheFileLandsOnTheNextAtTheSameDistanceFromItsTop) {
    dragAndDrop({PasteboardItem::file(picture_)}, 850, 30);
    ASSERT_EQ(madeBoxes().size(), 1U);
    EXPECT_EQ(spreadOf(madeBoxes()[0]), 2);
    EXPECT_EQ(boundsInPoints(madeBoxes()[0]), (std::vector<int>{50, 30, 150, 130}));
}

TEST_F(DropFileTest, AboveTheSpreadTheFileLandsOnTheOneBefore) {
    dropHost().page = 2;
    dragAndDrop({PasteboardItem::file(picture_)}, -30, 10);
    ASSERT_EQ(madeBoxes().size(), 1U);
    EXPECT_EQ(spreadOf(madeBoxes()[0]), 1);
    EXPECT_EQ(boundsInPoints(madeBoxes()[0]), (std::vector<int>{770, 10, 870, 110}));
}

TEST_F(DropFileTest, AViewScaleOfZeroTakesPixelsForPoints) {
    host().viewScale = 0;
    dragAndDrop({PasteboardItem::file(picture_)}, 70, 90);
    ASSERT_EQ(madeBoxes().size(), 1U);
    EXPECT_EQ(boundsInPoints(madeBoxes()[0]), (std::vector<int>{70, 90, 170, 190}));
}

TEST_F(DropFileTest, NoSpreadAboveTheFirstOrBelowTheLastMakesNothing) {
    EXPECT_EQ(dragAndDrop({PasteboardItem::file(picture_)}, -5, 10).dropped, 0);
    EXPECT_EQ(dragAndDrop({PasteboardItem::file(picture_)}, 1700, 10).dropped, 0);
    EXPECT_TRUE(madeBoxes().empty());
    EXPECT_TRUE(dropHost().loads.empty());
    EXPECT_TRUE(dropHost().records.empty());
    EXPECT_TRUE(alerts().empty());
}

TEST_F(DropFileTest, APictureBoxUnderThePointGetsTheFileAndNoBoxIsMade) {
    textBox(1, rectPt(500, 500, 600, 600));  // elsewhere on the spread
    const XTBoxID under = pictureBox(1, rectPt(0, 0, 300, 300), dir.file("old.tif"));
    dragAndDrop({PasteboardItem::file(picture_)}, 50, 60);
    EXPECT_TRUE(madeBoxes().empty());
    EXPECT_EQ(dropHost().loads, (std::vector<std::pair<XTBoxID, std::string>>{{under, picture_}}));
    EXPECT_EQ(host().findBox(under)->picturePath, picture_);
    EXPECT_TRUE(dropHost().fits.empty()) << "a replaced picture is not fitted";
    EXPECT_TRUE(alerts().empty());
}

TEST_F(DropFileTest, TheFirstBoxInChainOrderUnderThePointDecides) {
    textBox(1, rectPt(0, 0, 400, 400));
    const XTBoxID picture = pictureBox(1, rectPt(0, 0, 300, 300), dir.file("old.tif"));
    dragAndDrop({PasteboardItem::file(picture_)}, 50, 60);
    // The text box is met first: a new box on top, the picture stays.
    EXPECT_EQ(host().findBox(picture)->picturePath, dir.file("old.tif"));
    ASSERT_EQ(madeBoxes().size(), 1U);
    EXPECT_EQ(host().findBox(madeBoxes()[0])->picturePath, picture_);
}

TEST_F(DropFileTest, OnATextBoxANewFittedPictureBoxIsMadeOnTop) {
    const XTBoxID text = textBox(1, rectPt(0, 0, 400, 400));
    dragAndDrop({PasteboardItem::file(picture_)}, 40, 50);
    ASSERT_EQ(madeBoxes().size(), 1U);
    const XTBoxID box = madeBoxes()[0];
    const FakeBox* made = host().findBox(box);
    EXPECT_EQ(made->kind, XT_BOX_PICTURE);
    EXPECT_EQ(made->picturePath, picture_);
    EXPECT_EQ(boundsInPoints(box), (std::vector<int>{40, 50, 140, 150}));
    EXPECT_EQ(host().spreads[0].back().id, box) << "last in the chain: on top";
    EXPECT_EQ(host().spreads[0].front().id, text);
    EXPECT_EQ(dropHost().fits, (std::vector<std::tuple<XTBoxID, std::int16_t, std::int16_t>>{{box, 16, 0}}));
    EXPECT_TRUE(dropHost().records.empty()) << "the box record is given back";
    EXPECT_EQ(dropHost().recordsDisposed, 1);
    EXPECT_TRUE(host().shownErrors.empty());
}

TEST_F(DropFileTest, AFailedImportGoesToTheHostsErrorDisplayAndTheEmptyBoxStays) {
    dropHost().importErrors[picture_] = -39;
    dragAndDrop({PasteboardItem::file(picture_)}, 10, 10);
    ASSERT_EQ(madeBoxes().size(), 1U);
    EXPECT_EQ(host().findBox(madeBoxes()[0])->picturePath, "");
    EXPECT_EQ(host().shownErrors, std::vector<XTError>{-39});
    EXPECT_TRUE(dropHost().fits.empty());
    EXPECT_TRUE(dropHost().records.empty());
    EXPECT_TRUE(alerts().empty()) << "the module shows nothing of its own";
}

TEST_F(DropFileTest, ABoxTheHostWillNotMakeLeavesNothingBehind) {
    gXtBoxRecord.installBox = [](XTDocID, std::int16_t, XTHandle) -> XTBoxID { return 0; };
    dragAndDrop({PasteboardItem::file(picture_)}, 10, 10);
    EXPECT_TRUE(madeBoxes().empty());
    EXPECT_TRUE(dropHost().loads.empty());
    EXPECT_TRUE(dropHost().records.empty());
    EXPECT_EQ(dropHost().recordsDisposed, 1);
}

TEST_F(DropFileTest, OnlyTheFirstOfSeveralFilesIsPlaced) {
    const std::string second = dir.file("second.tif");
    writeFile(second, "II*\0");
    const auto result = dragAndDrop({PasteboardItem::file(picture_), PasteboardItem::file(second)}, 10, 10);
    EXPECT_EQ(result.dropped, 1);
    ASSERT_EQ(dropHost().loads.size(), 1U);
    EXPECT_EQ(dropHost().loads[0].second, picture_);
    EXPECT_EQ(madeBoxes().size(), 1U);
}

TEST_F(DropFileTest, DragsWithoutAFileFirstAreRefusedAtEntry) {
    const std::string folder = dir.file("pictures");
    std::filesystem::create_directory(folder);
    EXPECT_EQ(dragAndDrop({PasteboardItem::text("some words"), PasteboardItem::file(picture_)}, 10, 10).entered, 0);
    EXPECT_EQ(dragAndDrop({PasteboardItem::fileUrl("file:///no/such/picture.tif")}, 10, 10).entered, 0);
    EXPECT_EQ(dragAndDrop({PasteboardItem::fileUrl("http://example.invalid/a.tif")}, 10, 10).entered, 0);
    EXPECT_EQ(dragAndDrop({}, 10, 10).entered, 0);
    // A folder is a path like a file.
    EXPECT_EQ(dragAndDrop({PasteboardItem::file(folder)}, 10, 10).entered, 1);
    EXPECT_TRUE(madeBoxes().empty());
}

TEST_F(DropFileTest, EntryNeedsThePreferenceAndTheCopyEffect) {
    EXPECT_EQ(dragAndDrop({PasteboardItem::file(picture_)}, 10, 10, 1 | 2).entered, 0);
    EXPECT_EQ(dragAndDrop({PasteboardItem::file(picture_)}, 10, 10, 1 | 4).entered, 1);
    usePrefs("[Default]\rDragAndDrop=0\r");
    EXPECT_EQ(dragAndDrop({PasteboardItem::file(picture_)}, 10, 10).entered, 0);
    usePrefs("[Default]\rDragAndDrop=2\r");
    EXPECT_EQ(dragAndDrop({PasteboardItem::file(picture_)}, 10, 10).entered, 0) << "a switch is on only at 1";
    EXPECT_EQ(madeBoxes().size(), 1U);
}

TEST_F(DropFileTest, WithoutTheDataExchangeGroupNoDragIsTakenAndADropDoesNothing) {
    gXtDataExchange = nullptr;
    EXPECT_EQ(dragAndDrop({PasteboardItem::file(picture_)}, 10, 10).entered, 0);
    dropHost().drag = static_cast<std::intptr_t>(desktop::Desktop::instance().beginDrag({PasteboardItem::file(picture_)}));
    const XTDragInfo info = dragInfo(10, 10);
    EXPECT_EQ(handlers.drop(&info), 0);
    EXPECT_TRUE(madeBoxes().empty());
    EXPECT_TRUE(alerts().empty());
}

TEST_F(DropFileTest, AFileGoneBeforeTheDropIsReportedAndNothingIsMade) {
    // Between the look at the pasteboard and the drop the file goes.
    const XTDragInfo info = dragInfo(10, 10);
    std::filesystem::remove(picture_);
    dropPath(info, picture_.c_str());
    EXPECT_EQ(alertMessages(), std::vector<std::string>{kFileNotFound});
    EXPECT_EQ(alerts()[0].informative, picture_);
    EXPECT_TRUE(madeBoxes().empty());
    EXPECT_TRUE(dropHost().loads.empty());

    // Through the drag: the pasteboard no longer yields the path, so the drop
    // does nothing at all.
    dropHost().drag = static_cast<std::intptr_t>(desktop::Desktop::instance().beginDrag({PasteboardItem::file(picture_)}));
    EXPECT_EQ(handlers.drop(&info), 0);
    EXPECT_EQ(alerts().size(), 1U);
}

TEST_F(DropFileTest, PercentSignsInANameAreTextNotFormats) {
    const XTDragInfo info = dragInfo(10, 10);
    const std::string odd = dir.file("100%s %d %n.tif");
    dropPath(info, odd.c_str());
    ASSERT_EQ(alerts().size(), 1U);
    EXPECT_EQ(alerts()[0].informative, odd);
}

TEST_F(DropFileTest, TheHandlersLogTheirEntry) {
    usePrefs("[Default]\rLogging=2\r");
    dragAndDrop({PasteboardItem::file(picture_)}, 10, 10, 5, XT_MOD_COMMAND);
    EXPECT_EQ(logText(), "dragEnter: dropEffect: 5, modifiers: 256\rdragAccept\r");
}

}  // namespace
}  // namespace lumbrel::test

// Geometry, the box under the mouse, pages, documents and pictures.
#include <gtest/gtest.h>

#include <string>

#include "host/module_fixture.h"
#include "host/xt_wrappers.h"

namespace lumbrel::test {
namespace {

class LayoutAccessTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        ASSERT_EQ(start(), 0);
        for (std::int16_t s = 1; s <= 3; ++s) {
            host().addBox(s, s * 10 + 1, XT_BOX_PICTURE, rectPt(0, 0, 100, 100), "/pics/a" + std::to_string(s) + ".tif");
            host().addBox(s, s * 10 + 2, XT_BOX_TEXT, rectPt(50, 50, 150, 150));
        }
    }
};

TEST_F(LayoutAccessTest, WhichBoxTakesTheFirstBoxInChainOrder) {
    EXPECT_EQ(whichBox(1, XTFixedPoint{75 * kPt, 75 * kPt}), 11);  // both boxes hold it
    EXPECT_EQ(whichBox(1, XTFixedPoint{120 * kPt, 120 * kPt}), 12);
    EXPECT_EQ(whichBox(1, XTFixedPoint{400 * kPt, 400 * kPt}), 0);
    EXPECT_EQ(whichBox(9, XTFixedPoint{75 * kPt, 75 * kPt}), 0);
}

TEST_F(LayoutAccessTest, MousePositionMovesDownThroughSpreadsOfSpread1sHeight) {
    XTBoxID box = -1;
    EXPECT_EQ(XTGetMousePos(77, XTPoint{20, 20}, &box), 1);
    EXPECT_EQ(box, 11);
    EXPECT_EQ(host().originSpread, 1);

    EXPECT_EQ(XTGetMousePos(77, XTPoint{800 + 120, 120}, &box), 2);
    EXPECT_EQ(box, 22);

    // At 200 % the pixels are halved into points.
    host().viewScale = 2 * kPt;
    EXPECT_EQ(XTGetMousePos(77, XTPoint{1600 + 40, 40}, &box), 2);
    EXPECT_EQ(box, 21);
}

TEST_F(LayoutAccessTest, MouseBelowTheLastSpreadGivesASpreadPastItAndNoBox) {
    XTBoxID box = -1;
    EXPECT_EQ(XTGetMousePos(77, XTPoint{3 * 800 + 10, 10}, &box), 4);
    EXPECT_EQ(box, 0);
}

TEST_F(LayoutAccessTest, MouseUsesTheWindowsLocalCoordinatesAndTheCurrentSpread) {
    host().windowOrigin = XTPoint{100, 30};
    host().currentSpread = 2;
    XTBoxID box = 0;
    EXPECT_EQ(XTGetMousePos(77, XTPoint{100 + 10, 30 + 10}, &box), 2);
    EXPECT_EQ(box, 21);
}

TEST_F(LayoutAccessTest, MouseOutsideADocumentWindowAnswers1AndLeavesTheBox) {
    host().frontIsDocWindow = false;
    XTBoxID box = 555;
    EXPECT_EQ(XTGetMousePos(77, XTPoint{10, 10}, &box), 1);
    EXPECT_EQ(box, 555);
}

TEST_F(LayoutAccessTest, ViewScaleOfZeroDoesNotDivideByZero) {
    host().viewScale = 0;
    XTBoxID box = -1;
    EXPECT_EQ(XTGetMousePos(77, XTPoint{20, 20}, &box), 1);
    EXPECT_EQ(box, 11);
}

TEST_F(LayoutAccessTest, PageRectIsInSpreadCoordinatesOnePointFurtherIn) {
    std::int16_t spread = 0;
    const XTFixedRect rect = xt_getpagerect(2, &spread);
    EXPECT_EQ(spread, 2);
    EXPECT_EQ(rect.top, 11 * kPt);
    EXPECT_EQ(rect.left, 21 * kPt);
    EXPECT_EQ(rect.bottom, (10 + 792 + 1) * kPt);
    EXPECT_EQ(rect.right, (20 + 612 + 1) * kPt);
}

TEST_F(LayoutAccessTest, PageNameIsCutToTheBuffer) {
    char name[5];
    EXPECT_EQ(XTGetPageStr(3, name, sizeof name), 4);
    EXPECT_STREQ(name, "Page");
}

TEST_F(LayoutAccessTest, DocumentPathOrProjectName) {
    char path[kPathSize];
    EXPECT_EQ(XTGetDocPath(XTGetCurDocID(), path, sizeof path), 0);
    EXPECT_STREQ(path, "Project1");

    host().documentPath = "/";
    EXPECT_EQ(XTGetDocPath(XTGetCurDocID(), path, sizeof path), 0) << "one character is no path";

    host().documentPath = "/work/layout.qxp";
    EXPECT_EQ(XTGetDocPath(XTGetCurDocID(), path, sizeof path), 1);
    EXPECT_STREQ(path, "/work/layout.qxp");

    char small[8];
    EXPECT_EQ(XTGetDocPath(XTGetCurDocID(), small, sizeof small), 0) << "a cut path names another file";
    EXPECT_STREQ(small, "Project");
}

TEST_F(LayoutAccessTest, NoDocumentAnswersNone) {
    host().documentOpen = false;
    EXPECT_EQ(XTGetCurDocID(), -1);
    EXPECT_EQ(XTGetCurDocRef(), -1);
    EXPECT_EQ(XTGetCurBox(), 0);
    EXPECT_EQ(numsprds(), 0);
    EXPECT_FALSE(isalib(XTGetCurDocID()));
    char path[kPathSize];
    EXPECT_EQ(XTGetBoxPath(11, path, sizeof path), 0);
}

TEST_F(LayoutAccessTest, BoxPathAndTypeOfPictureBoxesOnly) {
    char path[kPathSize];
    FileTypeCode type = 1;
    EXPECT_EQ(XTGetBoxPath(21, path, sizeof path, &type), 1);
    EXPECT_STREQ(path, "/pics/a2.tif");
    EXPECT_EQ(type, kTypeTIFF);

    EXPECT_EQ(XTGetBoxPath(22, path, sizeof path, &type), 0);
    EXPECT_STREQ(path, "");
    EXPECT_EQ(type, kTypeNone);

    host().findBox(21)->picturePath = "/" + std::string(600, 'x') + ".tif";
    EXPECT_EQ(XTGetBoxPath(21, path, sizeof path, &type), 0) << "a path longer than the buffer is no path";
    EXPECT_STREQ(path, "");
}

TEST_F(LayoutAccessTest, ImportNeedsABoxAndAPath) {
    EXPECT_EQ(XTReplacePict(11, "/pics/new.tif"), 0);
    EXPECT_EQ(XTLoadBox(0, "/pics/new.tif"), -1);
    EXPECT_EQ(XTLoadBox(11, ""), -1);
    ASSERT_EQ(host().imports.size(), 1U);
    EXPECT_EQ(host().imports[0].second, "/pics/new.tif");
}

TEST_F(LayoutAccessTest, MissingImageFileIsShownWithItsPath) {
    useStrings();
    EXPECT_EQ(checkImagePath(dir.file("gone%s.tif").c_str()), 0);
    ASSERT_EQ(alerts().size(), 1U);
    EXPECT_EQ(alerts()[0].message, "Image file not found!");
    EXPECT_EQ(alerts()[0].informative, dir.file("gone%s.tif"));

    writeFile(dir.file("here.tif"), "II*");
    EXPECT_EQ(checkImagePath(dir.file("here.tif").c_str()), 1);
    EXPECT_EQ(alerts().size(), 1U);
}

TEST_F(LayoutAccessTest, DirtyFlagAndLibraries) {
    EXPECT_EQ(xtget_dirtyflag(), 0);
    verydirty();
    EXPECT_EQ(xtget_dirtyflag(), XT_DIRTY_CHANGED);
    EXPECT_FALSE(isalib(XTGetCurDocID()));
    host().library = true;
    EXPECT_TRUE(isalib(XTGetCurDocID()));
}

}  // namespace
}  // namespace lumbrel::test

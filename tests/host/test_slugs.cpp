// Slug reading and writing, image names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/module_fixture.h"
#include "host/xt_wrappers.h"

namespace lumbrel::test {
namespace {

class SlugTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        ASSERT_EQ(start(), 0);
        host().addBox(1, 11, XT_BOX_PICTURE, rectPt(0, 0, 100, 100), "/pics/photo.tif");
        host().addBox(1, 12, XT_BOX_PICTURE, rectPt(0, 0, 100, 100));
        host().addBox(1, 13, XT_BOX_TEXT, rectPt(0, 0, 100, 100));
    }
};

TEST_F(SlugTest, MissingSlugAnswersMinus1AndCopiesAreBounded) {
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(getslugdata(11, XT_SLUG_PICTURE, XT_SLUG_IDENTIFIER, buffer, sizeof buffer), -1);
    host().setIdentifier(11, "0123456789");
    EXPECT_EQ(getslugdata(11, XT_SLUG_PICTURE, XT_SLUG_IDENTIFIER, buffer, 4), 4);
    EXPECT_EQ(std::string(buffer, 8), std::string("0123xxx") + '\0');
    EXPECT_EQ(getslug(11, XT_SLUG_PICTURE, XT_SLUG_IDENTIFIER) != 0, true);
    EXPECT_EQ(getslug(12, XT_SLUG_PICTURE, XT_SLUG_IDENTIFIER), 0);
}

TEST_F(SlugTest, WritingMarksTheDocumentChangedAndLeavesNoHandleBehind) {
    EXPECT_EQ(xt_setslugdata(12, XT_SLUG_PICTURE, XT_SLUG_IDENTIFIER, "id-7", 4), 0);
    EXPECT_EQ(host().identifier(12), "id-7");
    EXPECT_EQ(host().dirty, XT_DIRTY_CHANGED);
    EXPECT_TRUE(host().handles.empty());
    EXPECT_TRUE(host().shownErrors.empty());
}

TEST_F(SlugTest, WritingWithoutMemoryAnswersMinus108AndChangesNothing) {
    host().noMemory = true;
    EXPECT_EQ(xt_setslugdata(12, XT_SLUG_PICTURE, XT_SLUG_IDENTIFIER, "id", 2), -108);
    EXPECT_EQ(host().identifier(12), "");
    EXPECT_EQ(host().dirty, 0);
    EXPECT_TRUE(host().shownErrors.empty());
}

TEST_F(SlugTest, HostErrorIsShownByTheHostAndAnswered) {
    host().slugError = -34;
    EXPECT_EQ(xt_setslugdata(12, XT_SLUG_PICTURE, XT_SLUG_IDENTIFIER, "id", 2), -34);
    EXPECT_EQ(host().shownErrors, (std::vector<XTError>{-34}));
    EXPECT_EQ(host().dirty, 0);
    EXPECT_TRUE(host().handles.empty());
    EXPECT_EQ(xt_setslugdata(12, XT_SLUG_PICTURE, XT_SLUG_IDENTIFIER, "id", -1), XT_PARAMERR);
}

TEST_F(SlugTest, ImageNameIsTerminatedAndHeldTo255Bytes) {
    char name[kShortTextSize];
    EXPECT_EQ(getImgName(12, name), 0);
    EXPECT_STREQ(name, "");
    host().slugs[{12, XT_SLUG_BOX, XT_SLUG_IMAGENAME}] = std::string(400, 'n');
    std::memset(name, 'z', sizeof name);
    EXPECT_EQ(getImgName(12, name), 255);
    EXPECT_EQ(std::strlen(name), 255U);
}

TEST_F(SlugTest, PathOrNamePrefersThePicturesPath) {
    host().slugs[{11, XT_SLUG_BOX, XT_SLUG_IMAGENAME}] = "stored.tif";
    host().slugs[{12, XT_SLUG_BOX, XT_SLUG_IMAGENAME}] = "dropped.jpg";
    host().slugs[{13, XT_SLUG_BOX, XT_SLUG_IMAGENAME}] = "text.txt";
    char buffer[kPathSize];
    EXPECT_EQ(getPathOrName(11, buffer), 15);
    EXPECT_STREQ(buffer, "/pics/photo.tif");
    EXPECT_EQ(getPathOrName(12, buffer), 11);
    EXPECT_STREQ(buffer, "dropped.jpg");
    EXPECT_EQ(getPathOrName(13, buffer), 8);
    EXPECT_STREQ(buffer, "text.txt");
}

}  // namespace
}  // namespace lumbrel::test

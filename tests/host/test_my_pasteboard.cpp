// MyPasteboard over the desktop's pasteboards: file paths of dragged items,
// text on the clipboard, owned and borrowed references.
#include <gtest/gtest.h>

#include <string>

#include "drop/my_pasteboard.h"
#include "host/module_fixture.h"

namespace lumbrel::test {
namespace {

using MyPasteboardTest = ModuleTest;

platform::DragRef drag(std::vector<desktop::PasteboardItem> items) {
    return static_cast<platform::DragRef>(desktop::Desktop::instance().beginDrag(std::move(items)));
}

TEST_F(MyPasteboardTest, DraggedFileYieldsItsPath) {
    const std::string path = dir.file("a picture.tif");
    writeFile(path, "II*");
    const platform::DragRef ref = drag({desktop::PasteboardItem::file(path), desktop::PasteboardItem::text("t")});
    MyPasteboard pasteboard(ref);
    EXPECT_FALSE(pasteboard.owned());
    char out[kPathSize];
    ASSERT_TRUE(pasteboard.getPath(1, out));
    EXPECT_EQ(std::string(out), path);
    EXPECT_TRUE(pasteboard.getPath(1));  // no out path: only the answer
    EXPECT_FALSE(pasteboard.getPath(2, out)) << "text is no file";
    EXPECT_FALSE(pasteboard.getPath(3, out)) << "no such item";
}

TEST_F(MyPasteboardTest, UrlsThatDoNotResolveOrAreTooLongYieldNothing) {
    const std::string longName = "/" + std::string(1100, 'x');
    const platform::DragRef ref = drag({desktop::PasteboardItem::fileUrl("file:///no/such/file.tif"),
                                        desktop::PasteboardItem::fileUrl("file://" + longName)});
    MyPasteboard pasteboard(ref);
    char out[kPathSize] = "unchanged";
    EXPECT_FALSE(pasteboard.getPath(1, out));
    EXPECT_FALSE(pasteboard.getPath(2, out));
    EXPECT_STREQ(out, "unchanged");
}

TEST_F(MyPasteboardTest, PathLongerThanTheCallersBufferIsRefusedNotCut) {
    const std::string path = dir.file("name.tif");
    writeFile(path, "II*");
    MyPasteboard pasteboard(drag({desktop::PasteboardItem::file(path)}));
    char small[8] = "same";
    EXPECT_FALSE(pasteboard.getPath(1, small, sizeof small));
    EXPECT_STREQ(small, "same");
}

TEST_F(MyPasteboardTest, BorrowedPasteboardIsNeverReleasedOwnedOneAlways) {
    auto& desk = desktop::Desktop::instance();
    {
        MyPasteboard borrowed(drag({desktop::PasteboardItem::text("x")}));
        MyPasteboard clipboard(platform::kClipboardPasteboardName);
        EXPECT_TRUE(clipboard.owned());
        EXPECT_EQ(desk.openPasteboardReferences(), 1U);
    }
    EXPECT_EQ(desk.openPasteboardReferences(), 0U);
    EXPECT_EQ(desk.badPasteboardReleases(), 0U);
    EXPECT_TRUE(desk.dragInProgress()) << "the drag's pasteboard outlives the object";
}

TEST_F(MyPasteboardTest, TextGoesOntoItem1WithoutItsTerminator) {
    auto& desk = desktop::Desktop::instance();
    desk.setClipboardText("old");
    MyPasteboard clipboard(platform::kClipboardPasteboardName);
    EXPECT_EQ(clipboard.clear(), 0);
    EXPECT_EQ(clipboard.addString("beach.tif"), 0);
    const auto items = desk.pasteboardItems(platform::kClipboardPasteboardName);
    ASSERT_TRUE(items.has_value());
    ASSERT_EQ(items->size(), 1U);
    const desktop::Flavor* text = (*items)[0].find(platform::kFlavorUtf8Text);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->data, "beach.tif");
}

}  // namespace
}  // namespace lumbrel::test

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/window_system.h"
#include "ui/controls.h"
#include "ui/dialog_functions.h"
#include "ui/dialog_test_support.h"
#include "ui/list_box.h"
#include "ui/list_view.h"
#include "util/my_array.h"

namespace lumbrel {
namespace {

using test::control;

bool accept(WindowPtr, std::intptr_t) { return true; }

class Lists : public test::DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        addDescription("Lists", control("lbox", "<id>3</id><rect>10 10 200 100</rect>") + okCancel() + control("####"));
        window_ = doModelessDialog("Lists", accept, nullptr, 0);
        ASSERT_NE(window_, nullptr);
        list_ = getControl(window_, 3UL);
        ASSERT_NE(list_, nullptr);
    }
    void TearDown() override {
        platform::destroyWindow(window_);
        DialogTest::TearDown();
    }
    WindowPtr window_ = nullptr;
    ControlRef list_ = nullptr;
};

TEST_F(Lists, ListViewShowsTheLocalisedTextsOfItsStringArray) {
    const char* texts[] = {"rowKey", "plain", "\xC3\xA4pfel"};
    MyArray array(3, sizeof(const char*));
    for (const char* t : texts) ASSERT_TRUE(array.addElem(&t));
    addBrowserItems(list_, &array);
    ASSERT_EQ(getBrowserItemsCnt(list_), 3U);
    EXPECT_EQ(platform::itemText(list_, 0), "Localised Row");
    EXPECT_EQ(platform::itemText(list_, 1), "plain");
    EXPECT_EQ(platform::itemText(list_, 2), "\xC3\xA4pfel");
    const char* element = nullptr;
    ASSERT_TRUE(getBrowserElement(list_, 1, &element));
    EXPECT_STREQ(element, "rowKey");  // the element itself is kept as given
    EXPECT_FALSE(getBrowserElement(list_, 4, &element));
    EXPECT_FALSE(getBrowserElement(list_, 0, &element));

    // Byte order: "rowKey" < "\xC3\xA4pfel" (0x72 < 0xC3), "plain" < "rowKey".
    EXPECT_TRUE(compareBrowserItems(list_, 1, 3));
    EXPECT_FALSE(compareBrowserItems(list_, 3, 1));
    EXPECT_TRUE(compareBrowserItems(list_, 2, 1));

    // Texts held in the elements themselves; appended, then all re-added.
    MyArray inline_(2, 16);
    char a[16] = "more";
    ASSERT_TRUE(inline_.addElem(a));
    addBrowserItems(list_, &inline_);
    ASSERT_EQ(getBrowserItemsCnt(list_), 4U);
    EXPECT_EQ(platform::itemText(list_, 3), "more");

    removeBrowserItem(list_, 2);
    ASSERT_EQ(getBrowserItemsCnt(list_), 3U);
    EXPECT_EQ(platform::itemText(list_, 1), "\xC3\xA4pfel");

    platform::setItemSelected(list_, 2, true);
    EXPECT_EQ(getSelectedItems(list_), 1U);
    EXPECT_EQ(getSelectedItem(list_), 3U);
    platform::setItemSelected(list_, 2, false);
    EXPECT_EQ(getSelectedItems(list_), 0U);
    EXPECT_EQ(getSelectedItem(list_), 0U);

    addBrowserItems(list_, 2);
    EXPECT_EQ(getBrowserItemsCnt(list_), 5U);
    resetDataBrowser(list_);
    EXPECT_EQ(getBrowserItemsCnt(list_), 0U);
    EXPECT_FALSE(getBrowserElement(list_, 1, &element));
}

TEST_F(Lists, ListBoxRowsTextsAndSelection) {
    CMyListBox box(window_, 3);
    ASSERT_EQ(box.control(), list_);
    EXPECT_EQ(box.addString("first"), 0);
    EXPECT_EQ(box.addString(std::string(400, 'l').c_str()), 1);
    const unsigned char roman[] = {2, 0x9A, 'x'};  // "öx"
    EXPECT_EQ(box.addString(roman), 2);
    EXPECT_EQ(box.addRows(2), 5);
    box.setString("fourth", 3, 0);

    char text[300];
    ASSERT_TRUE(box.getString(text, 1, 0));
    EXPECT_EQ(std::string(text).size(), 255U);  // cut to 256 bytes with the terminator
    ASSERT_TRUE(box.getString(text, 2, 0));
    EXPECT_STREQ(text, "\xC3\xB6x");
    EXPECT_FALSE(box.getString(text, 5, 0));
    EXPECT_STREQ(text, "");
    EXPECT_EQ(box.getIndex("fourth"), 3);
    EXPECT_EQ(box.getIndex("absent"), -1);

    EXPECT_EQ(box.getSelectedRows(), 0);
    EXPECT_EQ(box.getSelectedRow(0), -1);
    EXPECT_FALSE(box.getSelection(text));
    box.select(3);
    EXPECT_TRUE(box.isSelected(3));
    EXPECT_EQ(box.getSelectedRow(0), 3);
    EXPECT_EQ(box.getSelectedRow(4), -1);
    ASSERT_TRUE(box.getSelection(text));
    EXPECT_STREQ(text, "fourth");

    box.remove(1, 2);
    EXPECT_EQ(box.rows(), 3);
    EXPECT_EQ(box.getIndex("fourth"), 1);
    box.remove(1, 0);  // everything from row 1 on
    EXPECT_EQ(box.rows(), 1);
    EXPECT_EQ(box.getSelectedRows(), 0);

    static const char kData[] = "payload";
    const std::int16_t row = box.addPtr(kData);
    EXPECT_EQ(box.getPtr(row), kData);
    box.clear();
    EXPECT_EQ(box.rows(), 0);
}

struct DrawLog {
    std::vector<int> rows;
    std::vector<int> lengths;
    std::vector<bool> hadCanvas;
};
DrawLog* drawLog = nullptr;

void drawRow(std::int16_t row, std::int16_t, std::int16_t length, Rect* rect, ControlRef) {
    drawLog->rows.push_back(row);
    drawLog->lengths.push_back(length);
    drawLog->hadCanvas.push_back(currentListCanvas() != nullptr && rect != nullptr && rect->bottom > rect->top);
}

TEST_F(Lists, DialogDrawsRowsThroughTheDrawProcedure) {
    CMyListBox box(list_);
    box.addString("one");
    box.addString("three");
    DrawLog log;
    drawLog = &log;
    setupListBox(list_, drawRow, 5);
    box.select(1);
    const std::string picture = desk().windowPicture(window_);
    drawLog = nullptr;
    EXPECT_FALSE(picture.empty());
    EXPECT_EQ(log.rows, (std::vector<int>{0, 1}));
    EXPECT_EQ(log.lengths, (std::vector<int>{3, 5}));
    EXPECT_EQ(log.hadCanvas, (std::vector<bool>{true, true}));
    EXPECT_EQ(currentListCanvas(), nullptr);
    EXPECT_EQ(getControlUserData(list_), 5);

    // Without a draw procedure the text itself is drawn.
    setupListBox(list_, nullptr, 0);
    EXPECT_NE(desk().windowPicture(window_).find("three"), std::string::npos);
}

}  // namespace
}  // namespace lumbrel

// The window model: spreads stacked in the document window, screen points,
// and the module's conversion of a mouse position back into a spread point.
#include "host_fixture.h"

namespace hostsim::test {
namespace {

FakeTables* gTables = nullptr;
XTPoint gLocal{};
XTRect gSpreadOne{};
Fixed gScale = 0;

class ViewTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        gTables = &fake.tables();
        // What a module does with a mouse-down: local coordinates from the
        // current spread's origin.
        fake.hook(XT_CB_EVENT, [](void* record) {
            auto* event = static_cast<XTEventRec*>(record);
            if (event->what != XT_EVT_MOUSEDOWN) return 0;
            const XTWindow window = gTables->window.curWindow();
            if (gTables->window.isDocWindow(window) != 1) return 1;
            gTables->display.setSpreadOrigin(gTables->spread.curSpread());
            gLocal = event->where;
            gTables->display.globalToLocal(window, &gLocal);
            gTables->display.spreadScreenBounds(1, &gSpreadOne);
            gScale = gTables->display.viewScale();
            return 0;
        });
        sim = start();
    }
    std::unique_ptr<Simulator> sim;
};

TEST_F(ViewTest, SpreadsAreStackedBelowEachOtherInTheWindow) {
    ASSERT_TRUE(sim->newDocument(testDocument(3)).ok());
    const ScreenPoint first = sim->toScreen(SpreadPoint{1, 100, 50});
    EXPECT_EQ(first.v, kContentTop + 100);
    EXPECT_EQ(first.h, kContentLeft + 50);
    const ScreenPoint third = sim->toScreen(SpreadPoint{3, 10, 20});
    EXPECT_EQ(third.v, kContentTop + 2 * 792 + 10);
    const SpreadPoint back = sim->toSpread(third);
    EXPECT_EQ(back.spread, 3);
    EXPECT_DOUBLE_EQ(back.v, 10);
    EXPECT_DOUBLE_EQ(back.h, 20);
    // Below the last spread there is no spread.
    EXPECT_EQ(sim->toSpread(ScreenPoint{kContentTop + 3 * 792 + 5, 30}).spread, 0);

    ASSERT_TRUE(sim->setViewScale(2 * kFixedOne));
    EXPECT_EQ(sim->toScreen(SpreadPoint{2, 10, 20}).v, kContentTop + 2 * (792 + 10));
    EXPECT_EQ(sim->toScreen(SpreadPoint{2, 10, 20}).h, kContentLeft + 40);
    // Going to a page puts its spread at the window's top.
    ASSERT_TRUE(sim->gotoPage(2));
    EXPECT_EQ(sim->toScreen(SpreadPoint{2, 10, 20}).v, kContentTop + 20);
    EXPECT_EQ(sim->toScreen(SpreadPoint{1, 10, 20}).v, kContentTop + 2 * (10 - 792));
}

TEST_F(ViewTest, TheModuleSeesLocalPixelsFromTheCurrentSpreadsOrigin) {
    ASSERT_TRUE(sim->newDocument(testDocument(3)).ok());
    ASSERT_TRUE(sim->setViewScale(2 * kFixedOne));
    sim->click(SpreadPoint{2, 10, 20});
    EXPECT_EQ(gScale, 2 * kFixedOne);
    EXPECT_EQ(gLocal.v, 2 * (792 + 10));
    EXPECT_EQ(gLocal.h, 40);
    EXPECT_EQ(gSpreadOne.top, 0);
    EXPECT_EQ(gSpreadOne.bottom - gSpreadOne.top, 792);
    // The click made page 2 current without moving the view.
    EXPECT_EQ(sim->current()->currentPage(), 2);
    EXPECT_EQ(sim->toScreen(SpreadPoint{2, 10, 20}).v, kContentTop + 2 * (792 + 10));
    sim->click(SpreadPoint{2, 10, 20});
    EXPECT_EQ(gLocal.v, 20);  // now from spread 2's origin
    EXPECT_TRUE(sim->violations().empty()) << ::testing::PrintToString(messages(*sim));
}

TEST_F(ViewTest, ConversionsWithoutADocumentOrWindowChangeNothing) {
    XTPoint point{5, 6};
    gTables->display.globalToLocal(0, &point);
    EXPECT_EQ(point.v, 5);
    EXPECT_EQ(point.h, 6);
    EXPECT_EQ(gTables->display.viewOfWindow(0), 0);
    EXPECT_EQ(gTables->display.viewDoc(0), -1);
    ASSERT_TRUE(sim->newDocument(testDocument(1)).ok());
    const XTViewRef view = gTables->display.viewOfWindow(gTables->doc.docWindow());
    ASSERT_NE(view, 0);
    EXPECT_EQ(gTables->display.viewDoc(view), gTables->doc.curDocID());
    EXPECT_EQ(gTables->display.viewCurPage(view), 1);
    XTRect bounds{};
    EXPECT_EQ(gTables->display.spreadScreenBounds(2, &bounds), XT_PARAMERR);
    gTables->display.setSpreadOrigin(4);
    EXPECT_EQ(messages(*sim), std::vector<std::string>{"xtdocdisplay.setSpreadOrigin got spread 4, which does not exist"});
}

}  // namespace
}  // namespace hostsim::test

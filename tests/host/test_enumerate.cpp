// Box walks: chain order, rectangles, and the two different stop rules of
// the range walks.
#include <gtest/gtest.h>

#include <vector>

#include "host/module_fixture.h"
#include "host/xt_enumerate.h"

namespace lumbrel::test {
namespace {

struct Visit {
    std::vector<XTBoxID> seen;
    XTBoxID stopAt = 0;
};

bool record(XTBoxID box, std::intptr_t data) {
    auto& visit = *reinterpret_cast<Visit*>(data);
    visit.seen.push_back(box);
    return box != visit.stopAt;
}

std::intptr_t as(Visit& visit) {
    return reinterpret_cast<std::intptr_t>(&visit);
}

class EnumerateTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        ASSERT_EQ(start(), 0);
        // Five spreads: a picture box, a text box and a second picture box each.
        for (std::int16_t s = 1; s <= 5; ++s) {
            host().addBox(s, s * 10 + 1, XT_BOX_PICTURE, rectPt(0, 0, 100, 100));
            host().addBox(s, s * 10 + 2, XT_BOX_TEXT, rectPt(0, 200, 100, 300));
            host().addBox(s, s * 10 + 3, XT_BOX_PICTURE, rectPt(200, 0, 300, 100));
        }
    }
};

TEST_F(EnumerateTest, AnyBoxRangeWalkGoesOnWithTheNextSpreadAfterAStop) {
    Visit visit;
    visit.stopAt = 21;  // the first box of spread 2
    xt_enumboxes(kFirstSpread, kAllSpreads, record, nullptr, as(visit));
    EXPECT_EQ(visit.seen, (std::vector<XTBoxID>{11, 12, 13, 21, 31, 32, 33, 41, 42, 43, 51, 52, 53}));
}

TEST_F(EnumerateTest, PictureBoxRangeWalkEndsAtTheFirstStoppedSpread) {
    Visit visit;
    visit.stopAt = 21;
    EXPECT_EQ(xt_enumpictboxes(kFirstSpread, kAllSpreads, record, nullptr, as(visit)), 0);
    EXPECT_EQ(visit.seen, (std::vector<XTBoxID>{11, 13, 21}));

    Visit whole;
    EXPECT_EQ(xt_enumpictboxes(kFirstSpread, kAllSpreads, record, nullptr, as(whole)), 1);
    EXPECT_EQ(whole.seen, (std::vector<XTBoxID>{11, 13, 21, 23, 31, 33, 41, 43, 51, 53}));
}

TEST_F(EnumerateTest, RangeIsClampedToTheDocumentsSpreads) {
    Visit visit;
    xt_enumboxes(-3, 2, record, nullptr, as(visit));
    EXPECT_EQ(visit.seen, (std::vector<XTBoxID>{11, 12, 13, 21, 22, 23}));
    Visit none;
    xt_enumboxes(6, 9, record, nullptr, as(none));
    EXPECT_TRUE(none.seen.empty());
}

TEST_F(EnumerateTest, SingleSpreadWalksAnswerWhetherTheyEnded) {
    Visit visit;
    visit.stopAt = 32;
    EXPECT_FALSE(xt_enumboxes(3, record, nullptr, as(visit)));
    EXPECT_EQ(visit.seen, (std::vector<XTBoxID>{31, 32}));

    Visit pictures;
    EXPECT_EQ(xt_enumpictboxes(3, record, nullptr, as(pictures)), 1);
    EXPECT_EQ(pictures.seen, (std::vector<XTBoxID>{31, 33}));
}

TEST_F(EnumerateTest, PictureWalkOfSpread0TakesTheCurrentPagesSpread) {
    host().currentSpread = 4;
    Visit visit;
    xt_enumpictboxes(0, record, nullptr, as(visit));
    EXPECT_EQ(visit.seen, (std::vector<XTBoxID>{41, 43}));
}

TEST_F(EnumerateTest, RectangleSelectsTheBoxesItMeets) {
    const XTFixedRect top = rectPt(0, 50, 50, 250);  // meets boxes 1 and 2 of a spread
    Visit visit;
    xt_enumboxes(2, record, &top, as(visit));
    EXPECT_EQ(visit.seen, (std::vector<XTBoxID>{21, 22}));
    Visit pictures;
    xt_enumpictboxes(2, record, &top, as(pictures));
    EXPECT_EQ(pictures.seen, (std::vector<XTBoxID>{21}));
}

TEST_F(EnumerateTest, GroupWalkVisitsPictureMembersOnly) {
    FakeBox& group = host().addBox(1, 100, XT_BOX_GROUP, rectPt(0, 0, 300, 300));
    group.members = {12, 11, 13};
    Visit visit;
    EXPECT_EQ(xt_enumpictboxes(XTBoxID{100}, record, as(visit)), 1);
    EXPECT_EQ(visit.seen, (std::vector<XTBoxID>{11, 13}));
    EXPECT_TRUE(host().handles.empty()) << "the member handle is disposed";

    Visit stopped;
    stopped.stopAt = 11;
    EXPECT_EQ(xt_enumpictboxes(XTBoxID{100}, record, as(stopped)), 0);
    EXPECT_EQ(stopped.seen, (std::vector<XTBoxID>{11}));

    Visit single;
    EXPECT_EQ(xt_enumpictboxes(XTBoxID{13}, record, as(single)), 1);
    EXPECT_EQ(single.seen, (std::vector<XTBoxID>{13}));
    Visit text;
    xt_enumpictboxes(XTBoxID{12}, record, as(text));
    EXPECT_TRUE(text.seen.empty());
}

TEST_F(EnumerateTest, NoDocumentVisitsNothing) {
    host().documentOpen = false;
    Visit visit;
    xt_enumboxes(kFirstSpread, kAllSpreads, record, nullptr, as(visit));
    EXPECT_EQ(xt_enumpictboxes(kFirstSpread, kAllSpreads, record, nullptr, as(visit)), 1);
    EXPECT_TRUE(visit.seen.empty());
}

}  // namespace
}  // namespace lumbrel::test

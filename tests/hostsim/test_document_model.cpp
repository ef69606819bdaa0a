// The document model's structure and operations: pages and sequence numbers,
// chains, box creation and removal, groups, bounds, fitting, slugs and the
// current state.
#include "model/document.h"
#include "model/sample_document.h"

#include <gtest/gtest.h>

#include <string>

namespace hostsim {
namespace {

Spread pagesSpread(int count, double left0, int master = 0) {
    Spread spread;
    spread.width = 600.0 * count;
    spread.height = 800.0;
    for (int i = 0; i < count; ++i) {
        Page page;
        page.name = "p" + std::to_string(i);
        page.master = master;
        page.left = left0 + 600.0 * i;
        spread.pages.push_back(page);
    }
    return spread;
}

// Two master spreads of 2 and 1 pages; document spreads of 1, 2 and 2 pages.
Document layout() {
    Document doc;
    doc.pageWidth = 600.0;
    doc.pageHeight = 800.0;
    EXPECT_EQ(doc.addMasterSpread(pagesSpread(2, 0)), -1);
    EXPECT_EQ(doc.addMasterSpread(pagesSpread(1, 0)), -2);
    EXPECT_EQ(doc.addSpread(pagesSpread(1, 600, 1)), 1);
    EXPECT_EQ(doc.addSpread(pagesSpread(2, 0, 2)), 2);
    EXPECT_EQ(doc.addSpread(pagesSpread(2, 0, 1)), 3);
    return doc;
}

TEST(DocumentPages, CountsSequenceNumbersAndSpreads) {
    const Document doc = layout();
    EXPECT_EQ(doc.numPages(), 5);
    EXPECT_EQ(doc.numMasterPages(), 3);
    EXPECT_EQ(doc.numSpreads(), 3);
    EXPECT_EQ(doc.numMasterSpreads(), 2);
    EXPECT_EQ(doc.pageSequence(1), 4);
    EXPECT_EQ(doc.pageSequence(5), 8);
    EXPECT_EQ(doc.spreadOfPage(1), 1);
    EXPECT_EQ(doc.spreadOfPage(2), 2);
    EXPECT_EQ(doc.spreadOfPage(3), 2);
    EXPECT_EQ(doc.spreadOfPage(5), 3);
    EXPECT_EQ(doc.spreadOfPage(6), 0);
    EXPECT_EQ(doc.spreadOfPage(0), 0);
    EXPECT_EQ(doc.spreadOfSequence(2), -1);
    EXPECT_EQ(doc.spreadOfSequence(3), -2);
    EXPECT_EQ(doc.spreadOfSequence(4), 1);
    EXPECT_EQ(doc.spreadOfSequence(9), 0);
    EXPECT_EQ(doc.firstPageOfSpread(3), 4);
    ASSERT_NE(doc.page(3), nullptr);
    EXPECT_EQ(doc.page(3)->name, "p1");
    EXPECT_EQ(doc.page(3)->master, 2);
    const auto rect = doc.pageRect(3);
    ASSERT_TRUE(rect);
    EXPECT_EQ(*rect, (Rect{0, 600, 800, 1200}));
    EXPECT_EQ(*doc.pageRect(1), (Rect{0, 600, 800, 1200}));
    EXPECT_FALSE(doc.pageRect(6));
}

TEST(DocumentPages, RefusesBadSpreads) {
    Document doc = layout();
    EXPECT_EQ(doc.addSpread(pagesSpread(1, 0, 3)), 0) << "master 3 does not exist";
    EXPECT_EQ(doc.addMasterSpread(pagesSpread(1, 0, 1)), 0) << "master pages name no master";
    Spread withBoxes = pagesSpread(1, 0);
    withBoxes.boxes.push_back(5);
    EXPECT_EQ(doc.addSpread(withBoxes), 0);
    Spread huge = pagesSpread(1, 0);
    huge.width = 40000;
    EXPECT_EQ(doc.addSpread(huge), 0);
    EXPECT_EQ(doc.numSpreads(), 3);
}

TEST(DocumentState, CurrentPageMasterBoxAndSelection) {
    Document doc = layout();
    EXPECT_EQ(doc.currentSpread(), 0);
    EXPECT_TRUE(doc.setCurrentPage(3));
    EXPECT_EQ(doc.currentSpread(), 2);
    EXPECT_FALSE(doc.setCurrentPage(6));
    EXPECT_EQ(doc.currentPage(), 3);
    EXPECT_TRUE(doc.setShowMaster(2));
    EXPECT_EQ(doc.currentSpread(), -2);
    EXPECT_FALSE(doc.setShowMaster(3));
    const BoxId a = doc.addBox(2, kBoxPicture, Rect{0, 0, 10, 10});
    const BoxId b = doc.addBox(2, kBoxText, Rect{0, 0, 10, 10});
    EXPECT_TRUE(doc.setCurrentBox(a));
    EXPECT_FALSE(doc.setCurrentBox(999));
    EXPECT_EQ(doc.currentBox(), a);
    EXPECT_FALSE(doc.setSelection({a, a}));
    EXPECT_FALSE(doc.setSelection({a, 999}));
    EXPECT_TRUE(doc.setSelection({b, a}));
    doc.removeBox(a);
    EXPECT_EQ(doc.currentBox(), 0);
    EXPECT_EQ(doc.selection(), std::vector<BoxId>{b});
}

TEST(DocumentBoxes, FreshIdsChainOrderAndChangeState) {
    Document doc = layout();
    EXPECT_EQ(doc.changeState, kChangeStateUnchanged);
    const BoxId a = doc.addBox(1, kBoxPicture, Rect{10, 10, 110, 110});
    const BoxId b = doc.addBox(1, kBoxText, Rect{50, 50, 150, 150}, 7);
    const BoxId c = doc.addBox(-1, kBoxLine, Rect{0, 0, 0, 100});
    EXPECT_EQ(doc.changeState, kChangeStateChanged);
    EXPECT_NE(a, 0);
    EXPECT_NE(a, b);
    EXPECT_NE(b, c);
    EXPECT_EQ(doc.findBox(b)->shape(), 7);
    EXPECT_EQ(doc.findBox(c)->spread(), -1);
    EXPECT_EQ(doc.firstBox(1), a);
    EXPECT_EQ(doc.nextBox(a), b);
    EXPECT_EQ(doc.nextBox(b), 0);
    EXPECT_EQ(doc.firstBox(-1), c);
    EXPECT_EQ(doc.firstBox(2), 0);
    EXPECT_EQ(doc.firstBox(9), 0);
    EXPECT_EQ(doc.chain(9), nullptr);

    // The first box in chain order that contains the point; edges count.
    EXPECT_EQ(doc.whichBox(1, 60, 60), a);
    EXPECT_EQ(doc.whichBox(1, 140, 140), b);
    EXPECT_EQ(doc.whichBox(1, 110, 110), a);
    EXPECT_EQ(doc.whichBox(1, 200, 200), 0);

    // Removed ids are not given again.
    EXPECT_EQ(doc.removeBox(b), kNoErr);
    const BoxId d = doc.addBox(1, kBoxPicture, Rect{0, 0, 1, 1});
    EXPECT_GT(d, c);
    EXPECT_EQ(doc.nextBox(a), d);
    EXPECT_EQ(doc.removeBox(b), kErrParam);
}

TEST(DocumentBoxes, RefusesBadInput) {
    Document doc = layout();
    EXPECT_EQ(doc.addBox(1, kBoxGroup, Rect{0, 0, 1, 1}), 0) << "groups come from groupBoxes";
    EXPECT_EQ(doc.addBox(1, 12, Rect{0, 0, 1, 1}), 0);
    EXPECT_EQ(doc.addBox(4, kBoxPicture, Rect{0, 0, 1, 1}), 0);
    EXPECT_EQ(doc.addBox(-3, kBoxPicture, Rect{0, 0, 1, 1}), 0);
    EXPECT_EQ(doc.addBox(1, kBoxPicture, Rect{10, 0, 5, 1}), 0) << "top below bottom";
    EXPECT_EQ(doc.addBox(1, kBoxPicture, Rect{0, 0, 1, 40000}), 0) << "outside 16.16";
    EXPECT_EQ(doc.addBox(1, kBoxPicture, Rect{0, 0, 1, 1}, 256), 0);
    EXPECT_EQ(doc.boxCount(), 0u);
    EXPECT_EQ(doc.changeState, kChangeStateUnchanged);
}

TEST(DocumentGroups, GroupMovesMembersAndRemovesTogether) {
    Document doc = layout();
    const BoxId a = doc.addBox(2, kBoxPicture, Rect{100, 100, 200, 200});
    const BoxId b = doc.addBox(2, kBoxText, Rect{150, 300, 250, 400});
    const BoxId other = doc.addBox(3, kBoxText, Rect{0, 0, 10, 10});
    EXPECT_EQ(doc.groupBoxes({a}), 0) << "one box is no group";
    EXPECT_EQ(doc.groupBoxes({a, other}), 0) << "different spreads";
    EXPECT_EQ(doc.groupBoxes({a, a}), 0);
    const BoxId g = doc.groupBoxes({a, b});
    ASSERT_NE(g, 0);
    EXPECT_EQ(doc.groupBoxes({a, other}), 0) << "a is in a group already";
    const Box* group = doc.findBox(g);
    EXPECT_EQ(group->kind(), kBoxGroup);
    EXPECT_EQ(group->bounds(), (Rect{100, 100, 250, 400}));
    EXPECT_EQ(group->members(), (std::vector<BoxId>{a, b}));
    EXPECT_EQ(doc.findBox(a)->group(), g);
    EXPECT_EQ(doc.chain(2)->back(), g);

    // Moving and doubling the group carries the members along.
    EXPECT_EQ(doc.setBounds(g, Rect{0, 0, 300, 600}), kNoErr);
    EXPECT_EQ(doc.findBox(a)->bounds(), (Rect{0, 0, 200, 200}));
    EXPECT_EQ(doc.findBox(b)->bounds(), (Rect{100, 400, 300, 600}));
    // A member's new bounds widen the group.
    EXPECT_EQ(doc.setBounds(a, Rect{-50, 0, 200, 200}), kNoErr);
    EXPECT_EQ(doc.findBox(g)->bounds(), (Rect{-50, 0, 300, 600}));
    EXPECT_EQ(doc.setBounds(g, Rect{10, 0, 5, 600}), kErrParam);
    EXPECT_EQ(doc.setBounds(12345, Rect{0, 0, 1, 1}), kErrParam);
    EXPECT_EQ(doc.findBox(g)->bounds(), (Rect{-50, 0, 300, 600}));

    EXPECT_EQ(doc.removeBox(g), kNoErr);
    EXPECT_EQ(doc.findBox(a), nullptr);
    EXPECT_EQ(doc.findBox(b), nullptr);
    EXPECT_TRUE(doc.chain(2)->empty());
}

TEST(DocumentGroups, NestedGroupsUngroupAndMemberRemoval) {
    Document doc = layout();
    const BoxId a = doc.addBox(1, kBoxPicture, Rect{0, 0, 10, 10});
    const BoxId b = doc.addBox(1, kBoxPicture, Rect{20, 20, 30, 30});
    const BoxId c = doc.addBox(1, kBoxPicture, Rect{40, 40, 50, 50});
    const BoxId inner = doc.groupBoxes({a, b});
    const BoxId outer = doc.groupBoxes({inner, c});
    ASSERT_NE(outer, 0);
    EXPECT_EQ(doc.findBox(outer)->bounds(), (Rect{0, 0, 50, 50}));

    // Ungrouping the inner group hands its members to the outer one, in place.
    EXPECT_EQ(doc.ungroup(inner), kNoErr);
    EXPECT_EQ(doc.findBox(inner), nullptr);
    EXPECT_EQ(doc.findBox(outer)->members(), (std::vector<BoxId>{a, b, c}));
    EXPECT_EQ(doc.findBox(a)->group(), outer);
    EXPECT_EQ(doc.ungroup(a), kErrParam);

    // Removing members shrinks the group; the last one takes the group along.
    EXPECT_EQ(doc.removeBox(c), kNoErr);
    EXPECT_EQ(doc.findBox(outer)->bounds(), (Rect{0, 0, 30, 30}));
    EXPECT_EQ(doc.removeBox(a), kNoErr);
    EXPECT_EQ(doc.removeBox(b), kNoErr);
    EXPECT_EQ(doc.findBox(outer), nullptr);
    EXPECT_EQ(doc.boxCount(), 0u);
    EXPECT_TRUE(doc.chain(1)->empty());
}

TEST(DocumentGroups, ChainIndexStaysRightAfterRemovals) {
    Document doc = layout();
    std::vector<BoxId> ids;
    for (int i = 0; i < 6; ++i) ids.push_back(doc.addBox(1, kBoxPicture, Rect{0, 0, 1, 1}));
    doc.removeBox(ids[1]);
    doc.removeBox(ids[4]);
    std::vector<BoxId> walked;
    for (BoxId id = doc.firstBox(1); id != 0; id = doc.nextBox(id)) walked.push_back(id);
    EXPECT_EQ(walked, (std::vector<BoxId>{ids[0], ids[2], ids[3], ids[5]}));
}

Picture pictureOfSize(double width, double height) {
    Picture pic;
    pic.path = "/p.tif";
    pic.bounds = Rect{0, 0, height, width};
    return pic;
}

TEST(DocumentPictures, FitModes) {
    Document doc = layout();
    const BoxId box = doc.addBox(1, kBoxPicture, Rect{100, 100, 200, 300});  // 200 wide, 100 high
    const BoxId text = doc.addBox(1, kBoxText, Rect{0, 0, 10, 10});
    EXPECT_EQ(doc.fitPicture(box, kFitProportional), kErrParam) << "no picture yet";
    EXPECT_EQ(doc.setPicture(text, pictureOfSize(1, 1)), kErrParam);
    ASSERT_EQ(doc.setPicture(box, pictureOfSize(400, 100)), kNoErr);

    ASSERT_EQ(doc.fitPicture(box, kFitProportional), kNoErr);
    const Picture* pic = &*doc.findBox(box)->picture();
    EXPECT_DOUBLE_EQ(pic->scaleH, 0.5);
    EXPECT_DOUBLE_EQ(pic->scaleV, 0.5);
    EXPECT_DOUBLE_EQ(pic->offsetH, 0.0);
    EXPECT_DOUBLE_EQ(pic->offsetV, 25.0);

    ASSERT_EQ(doc.fitPicture(box, kFitToBox), kNoErr);
    EXPECT_DOUBLE_EQ(pic->scaleH, 0.5);
    EXPECT_DOUBLE_EQ(pic->scaleV, 1.0);
    EXPECT_DOUBLE_EQ(pic->offsetV, 0.0);

    ASSERT_EQ(doc.fitPicture(box, kFitToBox, kFitKeepProportions), kNoErr);
    EXPECT_DOUBLE_EQ(pic->scaleV, 0.5);
    EXPECT_DOUBLE_EQ(pic->offsetV, 25.0);

    Picture* editable = doc.editPicture(box);
    ASSERT_NE(editable, nullptr);
    editable->scaleH = editable->scaleV = 0.25;
    ASSERT_EQ(doc.fitPicture(box, kFitCentre), kNoErr);
    EXPECT_DOUBLE_EQ(pic->offsetH, 50.0);
    EXPECT_DOUBLE_EQ(pic->offsetV, 37.5);

    ASSERT_EQ(doc.fitPicture(box, kFitBoxToPicture), kNoErr);
    EXPECT_EQ(doc.findBox(box)->bounds(), (Rect{100, 100, 125, 200}));
    EXPECT_DOUBLE_EQ(pic->offsetH, 0.0);

    EXPECT_EQ(doc.fitPicture(box, 3), kErrParam);
    ASSERT_EQ(doc.setPicture(box, pictureOfSize(0, 10)), kNoErr);
    EXPECT_EQ(doc.fitPicture(box, kFitProportional), kErrParam) << "an empty picture cannot be fitted";
    EXPECT_EQ(doc.removePicture(box), kNoErr);
    EXPECT_FALSE(doc.findBox(box)->picture());
}

TEST(DocumentSlugs, BothKindsBinarySafe) {
    Document doc = layout();
    const BoxId box = doc.addBox(1, kBoxText, Rect{0, 0, 1, 1});
    doc.markSaved();
    const std::string binary("\0\x01\xFF\0", 4);
    EXPECT_EQ(doc.setSlug(box, SlugKind::box, fourCC("BDIC"), binary), kNoErr);
    EXPECT_EQ(doc.changeState, kChangeStateChanged);
    EXPECT_EQ(doc.setSlug(box, SlugKind::picture, fourCC("bDIC"), "guid"), kNoErr);
    ASSERT_NE(doc.slug(box, SlugKind::box, fourCC("BDIC")), nullptr);
    EXPECT_EQ(*doc.slug(box, SlugKind::box, fourCC("BDIC")), binary);
    EXPECT_EQ(doc.slug(box, SlugKind::picture, fourCC("BDIC")), nullptr) << "the kinds are separate";
    EXPECT_EQ(*doc.slug(box, SlugKind::picture, fourCC("bDIC")), "guid");
    EXPECT_EQ(doc.setSlug(box, SlugKind::picture, fourCC("bDIC"), "other"), kNoErr);
    EXPECT_EQ(*doc.slug(box, SlugKind::picture, fourCC("bDIC")), "other");
    EXPECT_EQ(doc.setSlug(999, SlugKind::box, 1, "x"), kErrParam);
    EXPECT_EQ(doc.slug(999, SlugKind::box, 1), nullptr);
    EXPECT_EQ(doc.removeSlug(box, SlugKind::picture, fourCC("bDIC")), kNoErr);
    EXPECT_EQ(doc.removeSlug(box, SlugKind::picture, fourCC("bDIC")), kErrParam);
    EXPECT_EQ(doc.slug(box, SlugKind::picture, fourCC("bDIC")), nullptr);
}

TEST(DocumentSample, HasEveryKindOfContent) {
    const Document doc = makeSampleDocument(SampleSpec{});
    EXPECT_EQ(doc.changeState, kChangeStateUnchanged);
    EXPECT_EQ(doc.numMasterSpreads(), 1);
    EXPECT_EQ(doc.numSpreads(), 3);
    EXPECT_EQ(doc.numPages(), 5);
    int kinds[10] = {};
    int pictures = 0;
    int pdfs = 0;
    for (const auto& [id, box] : doc.boxes()) {
        ++kinds[box.kind()];
        if (box.picture()) ++pictures;
        if (box.picture() && box.picture()->pdf) ++pdfs;
    }
    EXPECT_GT(kinds[kBoxPicture], 0);
    EXPECT_GT(kinds[kBoxText], 0);
    EXPECT_GT(kinds[kBoxLine], 0);
    EXPECT_EQ(kinds[kBoxGroup], 4);
    EXPECT_GT(pictures, 0);
    EXPECT_GT(pdfs, 0);
}

}  // namespace
}  // namespace hostsim

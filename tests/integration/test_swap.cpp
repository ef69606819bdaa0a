// The "Swap images" command with the real module in the host simulator, on
// real picture files in a scratch job folder: which twin each rule finds,
// the counts and messages, "Selected objects only", the settings and the
// selection afterwards.
#include "integration_fixture.h"
#include "picture_layout.h"

#include "support/test_support.h"

#include <filesystem>

namespace lumbrel::integration {
namespace {

namespace fs = std::filesystem;
using desktop::DialogAction;
using hostsim::Rect;

constexpr int kHiToLo = 3;
constexpr int kLoToHi = 4;

class SwapTest : public ModuleTest {
protected:
    std::string job(const std::string& name) const { return dir_.file("Job") + "/" + name; }
    // A real TIFF under the job folder, whatever its name says.
    std::string file(const std::string& name) const { return copySample("grey.tif", job(name)); }

    // A layout with one picture box per file, in order; their ids.
    std::vector<hostsim::BoxId> openWith(const std::vector<std::string>& names) {
        std::vector<std::string> paths;
        for (const std::string& name : names) paths.push_back(job(name));
        std::vector<hostsim::BoxId> boxes;
        const hostsim::OpenResult opened = sim().newDocument(greyPicturesDocument(paths, boxes), "Swap.qxp");
        EXPECT_TRUE(opened.ok()) << opened.message;
        return boxes;
    }
    // The command with its dialog's actions; the alert lines it showed.
    std::vector<std::string> swap(std::vector<DialogAction> actions) {
        clearAlerts();
        for (DialogAction& action : actions) agent_->queueDialogAction(std::move(action));
        EXPECT_TRUE(sim().chooseMenu("Swap images…"));
        EXPECT_EQ(agent_->pendingDialogActions(), 0U);
        return alertLines();
    }
    std::string pictureOf(hostsim::BoxId box) {
        const hostsim::Box* b = sim().current()->findBox(box);
        return b != nullptr && b->picture() ? b->picture()->path : std::string("(none)");
    }
    std::string relative(hostsim::BoxId box) {
        const std::string path = pictureOf(box);
        const std::string root = dir_.file("Job") + "/";
        return path.starts_with(root) ? path.substr(root.size()) : path;
    }
};

using Lines = std::vector<std::string>;

TEST_F(SwapTest, DefaultsSwapToTheAppendedFormFirstAndBackByStrippingTheLastExtension) {
    startOrFail();
    file("bild.tif.lay");
    file("bild.lay");
    file("foto.lay");
    const auto boxes = openWith({"bild.tif", "foto.tif", "solo.tif"});
    EXPECT_EQ(swap({DialogAction::click(kHiToLo)}), Lines{"2 HiRes-images have been replaced by Lores."});
    EXPECT_EQ(relative(boxes[0]), "bild.tif.lay");
    EXPECT_EQ(relative(boxes[1]), "foto.lay");
    EXPECT_EQ(relative(boxes[2]), "solo.tif");

    // HiRes empty: the empty entry strips ".lay"; foto.lay would need a file named "foto".
    EXPECT_EQ(swap({DialogAction::click(kLoToHi)}), Lines{"1 of 2 LoRes-image(s) has been replaced by HiRes."});
    EXPECT_EQ(relative(boxes[0]), "bild.tif");
    EXPECT_EQ(relative(boxes[1]), "foto.lay");
    file("foto");
    EXPECT_EQ(swap({DialogAction::click(kLoToHi)}), Lines{"1 of 1 LoRes-image(s) has been replaced by HiRes."});
    EXPECT_EQ(relative(boxes[1]), "foto");
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(SwapTest, NoTwinAnywhereShowsTheCountZeroInTheManyForm) {
    startOrFail(hostsim::Options{});
    const auto boxes = openWith({"a.tif"});
    EXPECT_EQ(swap({DialogAction::click(kHiToLo)}), Lines{"0 HiRes-images have been replaced by Lores."});
    EXPECT_EQ(swap({DialogAction::click(kLoToHi)}), Lines{"0 of 0 LoRes-image(s) have been replaced by HiRes."});
    EXPECT_EQ(relative(boxes[0]), "a.tif");
}

TEST_F(SwapTest, GermanMessages) {
    hostsim::Options options;
    options.regionCode = 3;
    startOrFail(options);
    file("a.lay");
    openWith({"a.tif"});
    clearAlerts();
    agent_->queueDialogAction(DialogAction::click(kHiToLo));
    ASSERT_TRUE(sim().chooseMenu("Bilder austauschen…"));
    EXPECT_EQ(alertLines(), Lines{"1 HiRes-Bild wurde durch LoRes ersetzt."});
    clearAlerts();
    agent_->queueDialogAction(DialogAction::click(kLoToHi));
    ASSERT_TRUE(sim().chooseMenu("Bilder austauschen…"));
    EXPECT_EQ(alertLines(), Lines{"0 von 1 LoRes-Bilder(n) wurden durch HiRes ersetzt."});
}

TEST_F(SwapTest, CommasSeparateEntriesForTheRunWhileTheSettingKeepsThem) {
    startOrFail();
    file("b.tif");
    const auto boxes = openWith({"b.lay"});
    EXPECT_EQ(swap({DialogAction::setText(6, ".eps,.tif"), DialogAction::click(kLoToHi)}),
              Lines{"1 of 1 LoRes-image(s) has been replaced by HiRes."});
    EXPECT_EQ(relative(boxes[0]), "b.tif");
    const std::string settings = test::readFile(settingsFile());
    EXPECT_NE(settings.find("HiRes=.eps,.tif"), std::string::npos) << settings;
    EXPECT_NE(settings.find("LoRes=.lay"), std::string::npos) << settings;
    EXPECT_NE(settings.find("same=1"), std::string::npos) << settings;
    // The next dialog starts with the text as typed.
    swap({DialogAction::click(2)});
    EXPECT_EQ(agent_->dialogsSeen().back().control(6)->text, ".eps,.tif");
}

TEST_F(SwapTest, TheLayoutsFolderRuleBothWays) {
    startOrFail();
    file("layouts/bild.tif.lay");
    file("layouts/bild.lay");
    file("layouts/foto.lay");
    file("layouts/nur.lay");  // low without a high twin
    const auto boxes = openWith({"bild.tif", "foto.tif"});
    const std::vector<DialogAction> layoutsOnly{DialogAction::setText(6, ".tif"), DialogAction::uncheck(7),
                                                DialogAction::check(8)};
    auto run = [&](int button) {
        std::vector<DialogAction> actions = layoutsOnly;
        actions.push_back(DialogAction::click(button));
        return swap(actions);
    };
    EXPECT_EQ(run(kHiToLo), Lines{"2 HiRes-images have been replaced by Lores."});
    EXPECT_EQ(relative(boxes[0]), "layouts/bild.tif.lay");
    EXPECT_EQ(relative(boxes[1]), "layouts/foto.lay");
    // Back: the parent folder's "bild.tif.lay", "bild.tif.lay.tif", "bild.tif.tif": none exists.
    EXPECT_EQ(run(kLoToHi), Lines{"1 of 2 LoRes-image(s) has been replaced by HiRes."});
    EXPECT_EQ(relative(boxes[0]), "layouts/bild.tif.lay");
    EXPECT_EQ(relative(boxes[1]), "foto.tif");
    // The same name in the parent folder wins over the extension candidates.
    file("bild.tif.lay");
    EXPECT_EQ(run(kLoToHi), Lines{"1 of 1 LoRes-image(s) has been replaced by HiRes."});
    EXPECT_EQ(relative(boxes[0]), "bild.tif.lay");
}

TEST_F(SwapTest, AFolderNamedLayoutsWithACapitalLIsNoLayoutsFolderInThisBuild) {
    startOrFail();
    file("x.tif");
    file("Layouts/x.lay");
    const auto boxes = openWith({"Layouts/x.lay"});
    EXPECT_EQ(swap({DialogAction::uncheck(7), DialogAction::check(8), DialogAction::click(kLoToHi)}),
              Lines{"0 of 1 LoRes-image(s) have been replaced by HiRes."});
    EXPECT_EQ(relative(boxes[0]), "Layouts/x.lay");
}

TEST_F(SwapTest, SelectedObjectsOnlyOnAGroupSwapsItsMembersAndCountsTheWholeDocument) {
    startOrFail();
    for (const char* name : {"g1.lay", "g2.lay", "out.lay", "low.tif"}) file(name);
    hostsim::Document doc = pagesDocument({{"1"}});
    const hostsim::BoxId g1 = placePicture(doc, 1, Rect{20, 20, 60, 80}, file("g1.tif"));
    const hostsim::BoxId g2 = placePicture(doc, 1, Rect{70, 20, 110, 80}, file("g2.tif"));
    const hostsim::BoxId out = placePicture(doc, 1, Rect{200, 20, 240, 80}, file("out.tif"));
    const hostsim::BoxId low = placePicture(doc, 1, Rect{300, 20, 340, 80}, file("low.lay"));
    const hostsim::BoxId group = doc.groupBoxes({g1, g2});
    ASSERT_NE(group, 0);
    ASSERT_TRUE(sim().newDocument(std::move(doc), "Group.qxp").ok());

    ASSERT_TRUE(sim().selectBox(group));
    EXPECT_EQ(swap({DialogAction::check(9), DialogAction::click(kHiToLo)}),
              Lines{"2 HiRes-images have been replaced by Lores."});
    EXPECT_EQ(relative(g1), "g1.lay");
    EXPECT_EQ(relative(g2), "g2.lay");
    EXPECT_EQ(relative(out), "out.tif");
    EXPECT_EQ(sim().current()->currentBox(), 0) << "the selection is cleared";
    EXPECT_TRUE(sim().current()->selection().empty());

    ASSERT_TRUE(sim().selectBox(group));
    EXPECT_EQ(swap({DialogAction::setText(6, ".tif"), DialogAction::check(9), DialogAction::click(kLoToHi)}),
              Lines{"2 of 3 LoRes-image(s) have been replaced by HiRes."});
    EXPECT_EQ(relative(g1), "g1.tif");
    EXPECT_EQ(relative(low), "low.lay") << "outside the group";

    // "Selected objects only" starts unchecked, and disabled when no box is current.
    ASSERT_TRUE(sim().selectBox(out));
    swap({DialogAction::click(2)});
    EXPECT_EQ(agent_->dialogsSeen().back().control(9)->value, 0);
    EXPECT_TRUE(agent_->dialogsSeen().back().control(9)->enabled);
    swap({DialogAction::click(2)});
    EXPECT_FALSE(agent_->dialogsSeen().back().control(9)->enabled);
}

TEST_F(SwapTest, CancelChangesNoPictureShowsNothingAndStillClearsTheSelection) {
    logOn();
    startOrFail();
    file("a.lay");
    const auto boxes = openWith({"a.tif"});
    ASSERT_TRUE(sim().selectBox(boxes[0]));
    EXPECT_TRUE(swap({DialogAction::setText(5, ".xyz"), DialogAction::click(2)}).empty());
    EXPECT_EQ(relative(boxes[0]), "a.tif");
    EXPECT_EQ(sim().current()->currentBox(), 0);
    EXPECT_FALSE(fs::exists(settingsFile()) && test::readFile(settingsFile()).find("LoRes=.xyz") != std::string::npos)
        << "Cancel saves nothing";
    const desktop::DialogRequest& shown = agent_->dialogsSeen().front();
    EXPECT_EQ(shown.title, "Swap images");
    EXPECT_EQ(shown.control(5)->text, ".lay");
    EXPECT_EQ(shown.control(7)->value, 1);
    EXPECT_EQ(shown.control(8)->value, 0);
    EXPECT_EQ(shown.focusedId, 5);

    swap({DialogAction::click(kHiToLo)});
    const std::string log = logText();
    EXPECT_NE(log.find("doSwap\rpath: " + job("a.tif") + "\rswapToLoRes: boxid = 0, sSwapCnt = 1\r"),
              std::string::npos)
        << log;
}

}  // namespace
}  // namespace lumbrel::integration

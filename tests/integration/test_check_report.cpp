// The output checks as one report ("CheckSummary" on): every finding in one
// dialog, sortable by column, "Save anyway" or Cancel; nothing shown when
// nothing is found. With the setting off the alerts come one by one
// (test_save_checks.cpp).
#include "integration_fixture.h"

#include "support/test_support.h"

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace lumbrel::integration {
namespace {

using desktop::DialogAction;
using Rows = std::vector<std::string>;

std::string row(const char* picture, const char* page, const char* finding) {
    return std::string(picture) + "\t" + page + "\t" + finding + "\t" + samplePicture(picture);
}

class CheckReportTest : public ModuleTest {
protected:
    void startWithReport(int regionCode = 0) {
        logOn();
        setPref("CheckSummary", "1");
        hostsim::Options options;
        options.regionCode = static_cast<std::int16_t>(regionCode);
        startOrFail(options);
    }
    void saveWith(std::vector<DialogAction> actions, const std::string& name = "saved.json") {
        for (DialogAction& action : actions) agent_->queueDialogAction(std::move(action));
        clearAlerts();
        ASSERT_TRUE(sim().save(dir_.file(name))) << sim().lastError();
        EXPECT_EQ(agent_->pendingDialogActions(), 0U);
    }
    // The report's rows and header titles at each question the dialog asked.
    Rows rowsAt(std::size_t turn) const { return agent_->dialogsSeen().at(turn).control(3)->items; }
    std::string headerAt(std::size_t turn, int id) const { return agent_->dialogsSeen().at(turn).control(id)->text; }
};

TEST_F(CheckReportTest, OneDialogListsEveryFindingSortsByColumnAndSaveAnywaySaves) {
    setPref("RGBWarning", "1");
    setPref("EPSWarning", "1");
    setPref("JPGWarning", "1");
    startWithReport();
    openSample();
    saveWith({DialogAction::click(4), DialogAction::click(4), DialogAction::click(6), DialogAction::click(5),
              DialogAction::click(5), DialogAction::click(1)});

    EXPECT_TRUE(alerts().empty()) << ::testing::PrintToString(alertLines());
    ASSERT_EQ(agent_->dialogsSeen().size(), 6U);
    for (const desktop::DialogRequest& seen : agent_->dialogsSeen()) EXPECT_EQ(seen.title, "Output check");
    const desktop::DialogRequest& first = agent_->dialogsSeen().front();
    EXPECT_EQ(first.control(1)->text, "Save anyway");
    EXPECT_EQ(first.control(2)->text, "Cancel");

    const std::string rgb = row("rgb.tif", "1", "not CMYK");
    const std::string jpeg = row("photo.jpg", "3", "JPEG image");
    const std::string icc = row("photo-icc.eps", "4", "EPS with ICC profile");
    const std::string eps = row("photo-icc.eps", "4", "not CMYK");
    const struct {
        Rows rows;
        int header;
        const char* title;
    } turns[] = {
        {{rgb, jpeg, icc, eps}, 4, "Picture"},             // document order, no column marked
        {{icc, eps, jpeg, rgb}, 4, "Picture \u25B2"},      // names by their bytes: '-' before '.'
        {{rgb, jpeg, icc, eps}, 4, "Picture \u25BC"},      // reversed; equal names keep their order
        {{icc, jpeg, rgb, eps}, 6, "Finding \u25B2"},      // "EPS…" < "JPEG…" < "not…"
        {{rgb, jpeg, icc, eps}, 5, "Page \u25B2"},
        {{icc, eps, jpeg, rgb}, 5, "Page \u25BC"},
    };
    for (std::size_t turn = 0; turn < std::size(turns); ++turn) {
        SCOPED_TRACE(turn);
        EXPECT_EQ(rowsAt(turn), turns[turn].rows);
        EXPECT_EQ(headerAt(turn, turns[turn].header), turns[turn].title);
    }
    // Only the column sorted by is marked.
    EXPECT_EQ(headerAt(5, 4), "Picture");

    EXPECT_TRUE(std::filesystem::exists(dir_.file("saved.json")));
    const std::string log = logText();
    EXPECT_NE(log.find("checkImages_2\rcheckReport: 4 findings\rcheckReport: save anyway\r-------"), std::string::npos)
        << log;
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(CheckReportTest, CancelEndsTheChecksAsCancelAtAnAlertDoes) {
    setPref("RGBWarning", "1");
    startWithReport();
    ASSERT_TRUE(sim().newDocument(spreadsDocument(5)).ok());
    saveWith({DialogAction::click(2)});
    EXPECT_TRUE(alerts().empty()) << ::testing::PrintToString(alertLines());
    ASSERT_EQ(agent_->dialogsSeen().size(), 1U);
    // One finding per spread, each on the page the box stands on.
    const std::string finding = "\tnot CMYK\t" + samplePicture("rgb.tif");
    EXPECT_EQ(rowsAt(0), (Rows{"rgb.tif\t1" + finding, "rgb.tif\t3" + finding, "rgb.tif\t5" + finding,
                               "rgb.tif\t7" + finding, "rgb.tif\t9" + finding}));
    EXPECT_NE(logText().find("checkReport: cancel\r-------"), std::string::npos) << logText();
    // The checks only inform: the host's save went on, as after an alert's Cancel.
    EXPECT_TRUE(std::filesystem::exists(dir_.file("saved.json")));

    // Escape answers as Cancel does.
    saveWith({DialogAction::press(desktop::DialogKey::Escape)}, "again.json");
    EXPECT_EQ(agent_->dialogsSeen().size(), 2U);
    EXPECT_NE(logText().rfind("checkReport: cancel\r"), logText().find("checkReport: cancel\r"));
}

TEST_F(CheckReportTest, NothingFoundShowsNothing) {
    setPref("JPGWarning", "1");  // the layout holds no JPEG
    startWithReport();
    ASSERT_TRUE(sim().newDocument(spreadsDocument(2)).ok());
    saveWith({});
    EXPECT_TRUE(agent_->dialogsSeen().empty());
    EXPECT_TRUE(alerts().empty());
    EXPECT_NE(logText().find("checkReport: 0 findings\r-------"), std::string::npos) << logText();
}

TEST_F(CheckReportTest, TheGermanReportSpeaksGerman) {
    setPref("RGBWarning", "1");
    startWithReport(3);
    ASSERT_TRUE(sim().newDocument(spreadsDocument(1)).ok());
    saveWith({DialogAction::clickTitled("Trotzdem sichern")});
    ASSERT_EQ(agent_->dialogsSeen().size(), 1U);
    const desktop::DialogRequest& seen = agent_->dialogsSeen().front();
    EXPECT_EQ(seen.title, "Ausgabepr\u00FCfung");
    EXPECT_EQ(seen.control(2)->text, "Abbrechen");
    EXPECT_EQ((Rows{seen.control(4)->text, seen.control(5)->text, seen.control(6)->text, seen.control(7)->text}),
              (Rows{"Bild", "Seite", "Befund", "Pfad"}));
    EXPECT_EQ(rowsAt(0), Rows{"rgb.tif\t1\tkein CMYK\t" + samplePicture("rgb.tif")});
    EXPECT_NE(logText().find("checkReport: save anyway\r"), std::string::npos);
}

TEST_F(CheckReportTest, SwitchedOffTheAlertsComeOneByOneAsBefore) {
    for (const char* value : {"0", "2"}) {  // only 1 switches it on
        SCOPED_TRACE(value);
        setPref("RGBWarning", "1");
        setPref("CheckSummary", value);
        if (sim_ == nullptr) {
            startOrFail();
            openSample();
        } else {
            sim().switchIn();
        }
        saveWith({});
        EXPECT_TRUE(agent_->dialogsSeen().empty());
        EXPECT_EQ(alertLines(),
                  (std::vector<std::string>{std::string(kNoCmyk) + " | " + samplePicture("rgb.tif"),
                                            std::string(kNoCmyk) + " | " + samplePicture("photo.jpg"),
                                            std::string(kNoCmyk) + " | " + samplePicture("photo-icc.eps")}));
    }
}

TEST_F(CheckReportTest, PicturesBelowTheEffectiveThresholdAreRowsWithTheirFigures) {
    setPref("WarnEffectivePpi", "1");
    setPref("MinEffectivePpi", "5000");
    startWithReport();
    openSample();
    saveWith({DialogAction::click(1)});

    EXPECT_TRUE(alerts().empty()) << ::testing::PrintToString(alertLines());
    ASSERT_EQ(agent_->dialogsSeen().size(), 1U);
    const Rows rows = rowsAt(0);
    ASSERT_FALSE(rows.empty());
    const std::regex finding(R"(\t(effective resolution \d+ ppi < 5000 ppi)\t)");
    for (const std::string& line : rows) {
        EXPECT_TRUE(std::regex_search(line, finding)) << line;
        // Vector pictures have no pixels to count.
        EXPECT_EQ(line.find(".eps\t"), std::string::npos) << line;
        EXPECT_EQ(line.find(".pdf\t"), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace lumbrel::integration

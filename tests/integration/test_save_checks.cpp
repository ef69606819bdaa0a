// Saving the sample layout with the output image checks: which pictures
// warn under which preferences, in which order, how Cancel ends the walk
// over the spreads, and that library documents are skipped.
#include "integration_fixture.h"

#include "hostsim/model/document_json.h"
#include "support/test_support.h"

#include "xtapi.h"

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace lumbrel::integration {
namespace {

std::string warning(const char* message, const char* picture) {
    return std::string(message) + " | " + samplePicture(picture);
}

class SaveCheckTest : public ModuleTest {
protected:
    // Saves the open document to a scratch file; the save itself must succeed.
    void saveCopy(const std::string& name = "saved.json") {
        clearAlerts();
        ASSERT_TRUE(sim().save(dir_.file(name))) << sim().lastError();
    }
};

TEST_F(SaveCheckTest, WithAllChecksOffASaveLogsTheFirstCheckLineOnly) {
    logOn();
    startOrFail();
    openSample();
    saveCopy();
    EXPECT_TRUE(alerts().empty());
    const std::string log = logText();
    const auto saveLine = log.find("doOpen\rdoSave...\rcheckImages_1\r");
    EXPECT_NE(saveLine, std::string::npos) << log;
    EXPECT_EQ(log.find("checkImages_2"), std::string::npos) << log;
}

TEST_F(SaveCheckTest, TheRGBWarningNamesEveryPictureThatIsNeitherCMYKNorGrey) {
    logOn();
    setPref("RGBWarning", "1");
    startOrFail();
    openSample();
    saveCopy();
    // Chain order over the document spreads. The CMYK and grey TIFFs, the EPS
    // whose header lists process colours and the PDF pass; the master page's
    // RGB picture is not on a document spread and is never visited.
    EXPECT_EQ(alertLines(), (std::vector<std::string>{warning(kNoCmyk, "rgb.tif"), warning(kNoCmyk, "photo.jpg"),
                                                      warning(kNoCmyk, "photo-icc.eps")}));
    for (const desktop::AlertRequest& alert : alerts()) {
        EXPECT_EQ(alert.title, "Lumbrel");
        EXPECT_EQ(alert.buttons[0], "OK");
        EXPECT_EQ(alert.buttons[1], "Cancel");
    }
    const std::string log = logText();
    EXPECT_NE(log.find("doSave...\rcheckImages_1\rcheckImages_2\r-------------------------------\r"), std::string::npos)
        << log;
    EXPECT_TRUE(std::filesystem::exists(dir_.file("saved.json")));
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(SaveCheckTest, TheICCCheckWarnsOfTheProfileBeforeTheColours) {
    setPref("EPSWarning", "1");
    startOrFail();
    openSample();
    saveCopy();
    EXPECT_EQ(alertLines(), std::vector<std::string>{warning(kIccProfile, "photo-icc.eps")});

    setPref("RGBWarning", "1");
    sim().switchIn();
    saveCopy();
    EXPECT_EQ(alertLines(), (std::vector<std::string>{warning(kNoCmyk, "rgb.tif"), warning(kNoCmyk, "photo.jpg"),
                                                      warning(kIccProfile, "photo-icc.eps"),
                                                      warning(kNoCmyk, "photo-icc.eps")}));

    // Cancel at the profile warning ends the check before the colour warning of the same file.
    answer("OK");
    answer("OK");
    answer("Cancel");
    saveCopy();
    EXPECT_EQ(alertLines(), (std::vector<std::string>{warning(kNoCmyk, "rgb.tif"), warning(kNoCmyk, "photo.jpg"),
                                                      warning(kIccProfile, "photo-icc.eps")}));
}

TEST_F(SaveCheckTest, TheJPEGWarningReplacesTheColourCheckOfJPEGs) {
    setPref("JPGWarning", "1");
    startOrFail();
    openSample();
    saveCopy();
    EXPECT_EQ(alertLines(), std::vector<std::string>{warning(kJpegImage, "photo.jpg")});

    setPref("RGBWarning", "1");
    sim().switchIn();
    saveCopy();
    EXPECT_EQ(alertLines(), (std::vector<std::string>{warning(kNoCmyk, "rgb.tif"), warning(kJpegImage, "photo.jpg"),
                                                      warning(kNoCmyk, "photo-icc.eps")}));
}

TEST_F(SaveCheckTest, CancelStopsTheRemainingWarningsButNotTheSave) {
    setPref("RGBWarning", "1");
    startOrFail();
    openSample();
    answer("Cancel");
    saveCopy("first.json");
    EXPECT_EQ(alertLines(), std::vector<std::string>{warning(kNoCmyk, "rgb.tif")});
    EXPECT_TRUE(std::filesystem::exists(dir_.file("first.json")));

    // Cancel in spread 2 ends the walk: spread 3 is not visited.
    answer("OK");
    answer("Cancel");
    saveCopy("second.json");
    EXPECT_EQ(alertLines(), (std::vector<std::string>{warning(kNoCmyk, "rgb.tif"), warning(kNoCmyk, "photo.jpg")}));
    EXPECT_TRUE(std::filesystem::exists(dir_.file("second.json")));
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(SaveCheckTest, AStopInSpreadTwoOfFiveEndsThePictureWalk) {
    setPref("RGBWarning", "1");
    startOrFail();
    ASSERT_TRUE(sim().newDocument(spreadsDocument(5)).ok());
    answer("OK");
    answer("Cancel");
    saveCopy();
    EXPECT_EQ(alerts().size(), 2U) << ::testing::PrintToString(alertLines());

    // Without a stop every spread is visited once.
    saveCopy();
    EXPECT_EQ(alerts().size(), 5U) << ::testing::PrintToString(alertLines());
}

TEST_F(SaveCheckTest, ALibraryIsSavedWithoutLogLineOrCheck) {
    logOn();
    setPref("RGBWarning", "1");
    startOrFail();
    // The sample, marked as a library.
    hostsim::LoadResult loaded = hostsim::loadDocument(samplePath());
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    loaded.document->library = true;
    const std::string library = dir_.file("library.json");
    ASSERT_TRUE(hostsim::saveDocument(*loaded.document, library));
    ASSERT_TRUE(sim().open(library).ok());

    const std::size_t logBefore = logText().size();
    saveCopy("library-saved.json");
    EXPECT_TRUE(alerts().empty()) << ::testing::PrintToString(alertLines());
    EXPECT_EQ(logText().substr(logBefore), "");
    EXPECT_TRUE(std::filesystem::exists(dir_.file("library-saved.json")));

    // The same layout as a document: the log line and the check.
    openSample();
    answer("Cancel");
    saveCopy("document-saved.json");
    EXPECT_EQ(alerts().size(), 1U);
    EXPECT_NE(logText().substr(logBefore).find("doSave...\r"), std::string::npos);
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(SaveCheckTest, UnreadableEPSFilesPassSilently) {
    setPref("RGBWarning", "1");
    setPref("EPSWarning", "1");
    startOrFail();
    hostsim::Document doc = spreadsDocument(1);
    // A missing file, and paths that are no files: none may hold the save up.
    std::vector<std::string> paths{dir_.file("gone.eps")};
    for (const test::NonFile kind : test::kNonFiles) {
        paths.push_back(dir_.file(std::string("odd-") + test::nonFileName(kind) + ".eps"));
        ASSERT_TRUE(test::makeNonFile(kind, paths.back()));
    }
    double top = 10.0;
    for (const std::string& path : paths) {
        const hostsim::BoxId box = doc.addBox(1, hostsim::kBoxPicture, hostsim::Rect{top, 460.0, top + 40.0, 600.0});
        hostsim::Picture eps;
        eps.path = path;
        eps.fileType = hostsim::kFileEPS;
        doc.setPicture(box, eps);
        top += 50.0;
    }
    ASSERT_TRUE(sim().newDocument(std::move(doc)).ok());
    clearAlerts();
    // Only the RGB TIFF of the spread warns.
    const std::vector<std::string> expected{warning(kNoCmyk, "rgb.tif")};
    const int answer = test::runBounded(std::chrono::seconds(30), [&] {
        if (!sim().save(dir_.file("saved.json"))) return 1;
        return alertLines() == expected ? 0 : 2;
    });
    EXPECT_EQ(answer, 0) << "-1: it blocked";
}

}  // namespace
}  // namespace lumbrel::integration

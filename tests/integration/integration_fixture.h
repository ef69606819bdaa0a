// The real module inside the host simulator. Every test gets a private copy
// of the built bundle in a scratch XTensions folder (the module keeps its
// settings file beside the bundle, so settings never leak from one test into
// the next, and each copy is a separate load with fresh module state) and a
// scratch home folder, so that the module's log lands in a documents folder
// the test can read.
#pragma once

#include "hostsim/host/simulator.h"
#include "hostsim/model/document.h"

#include "desktop/agent.h"
#include "desktop/desktop.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumbrel::integration {

// Box ids of samples/sample.json (see samples/README.md).
inline constexpr hostsim::BoxId kMastheadBox = 1;   // master page: RGB TIFF
inline constexpr hostsim::BoxId kMasterTextBox = 2;
inline constexpr hostsim::BoxId kRgbTiffBox = 3;    // spread 1
inline constexpr hostsim::BoxId kTitleTextBox = 4;
inline constexpr hostsim::BoxId kCmykTiffBox = 5;
inline constexpr hostsim::BoxId kGreyTiffBox = 6;   // spread 2
inline constexpr hostsim::BoxId kJpegBox = 7;
inline constexpr hostsim::BoxId kCmykEpsBox = 8;    // member of group 10
inline constexpr hostsim::BoxId kLineBox = 9;       // member of group 10
inline constexpr hostsim::BoxId kGroupBox = 10;
inline constexpr hostsim::BoxId kIccEpsBox = 11;    // spread 3
inline constexpr hostsim::BoxId kPdfBox = 12;
inline constexpr hostsim::BoxId kEmptyPictureBox = 13;
inline constexpr hostsim::BoxId kCaptionTextBox = 14;

// Alert texts of the English string table.
inline constexpr const char* kNoCmyk = "The following image is no CMYK-image!";
inline constexpr const char* kIccProfile = "The following EPS-image contains a ICC profile";
inline constexpr const char* kJpegImage = "The following image is a JPEG-image!";
inline constexpr const char* kNotSaved = "Doc has not been saved!";

// The refusal answer of activation and start-up.
inline constexpr std::int32_t kRefused = 0x51000401;

std::string samplePath();                      // samples/sample.json in the source tree
std::string samplePicture(std::string_view name);  // absolute path of samples/pictures/<name>
bool moduleBuilt();

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads the private copy and activates it; asserts nothing.
    hostsim::ActivationResult start(hostsim::Options options = {});
    // start() that fails the test unless the module started.
    void startOrFail(hostsim::Options options = {});
    hostsim::Simulator& sim() { return *sim_; }

    // Edits the module's settings file as a person would (read at start, or
    // at the next switch-in).
    void setPref(std::string_view key, std::string_view value, std::string_view section = "Default");
    // Turns the log on without the byte-order mark; before start().
    void logOn() { setPref("Logging", "2"); }
    std::string logText() const;
    std::string settingsFile() const;

    // Opens the sample layout (its pictures are the files under samples/pictures).
    void openSample();

    // Alerts shown since the last clearAlerts(), answered by queued answers
    // (the default button when none is queued).
    std::vector<desktop::AlertRequest> alerts() const;
    void clearAlerts();
    void answer(const std::string& buttonTitle) { agent_->answerWithButton(buttonTitle); }
    // "message | informative" of every alert shown, for comparing lists.
    std::vector<std::string> alertLines() const;

    std::vector<std::string> violations() const;
    bool transcriptHas(std::string_view line) const;

    test::TempDir dir_;
    std::string xtensions_;
    std::string documents_;
    std::unique_ptr<hostsim::Simulator> sim_;
    std::shared_ptr<desktop::ScriptedAgent> agent_;

private:
    std::size_t alertMark_ = 0;
    std::vector<std::pair<std::string, std::optional<std::string>>> savedEnvironment_;
};

// A document of `spreads` facing-page spreads (the first a single right
// page) with, on each spread, a picture box holding an RGB TIFF and a text
// box, in that chain order; picture paths name samples/pictures/rgb.tif.
hostsim::Document spreadsDocument(int spreads);

}  // namespace lumbrel::integration

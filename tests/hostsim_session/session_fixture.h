// Shared set-up of the session tests: a private copy of the built module (its
// settings file is written beside it, so tests must not share one), a layout
// file with a picture box and a text box, and a runner over a fresh simulator.
#pragma once

#include "hostsim/session/runner.h"
#include "hostsim/session/script.h"
#include "hostsim/session/session_agent.h"

#include "hostsim/host/simulator.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

namespace hostsim::session::test {

// The XTensions folder of a copy of the built module inside `dir`; nullopt
// when the module has not been built.
std::optional<std::string> copyModule(const lumbrel::test::TempDir& dir);

// Box ids of the layout writeLayout() makes.
inline constexpr int kPictureBox = 1;
inline constexpr int kSecondPictureBox = 2;
inline constexpr int kTextBox = 3;
inline constexpr const char* kPicturePath = "/pictures/cover photo.tif";
inline constexpr const char* kSecondPicturePath = "/pictures/back.eps";

// A one-page layout: picture boxes 1 and 2 holding kPicturePath and
// kSecondPicturePath (no files needed) and text box 3.
std::string writeLayout(const lumbrel::test::TempDir& dir, const std::string& name = "layout.json");

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Parses (asserting no syntax error) and runs a script.
    ScriptRun runText(const std::string& text, bool keepGoing = false);
    std::string transcript() const;
    void makeRunner(RunnerOptions options);

    lumbrel::test::TempDir dir_;
    std::optional<std::string> xtensions_;  // set when the module is there
    std::unique_ptr<Simulator> sim_;
    std::shared_ptr<SessionAgent> agent_;
    std::unique_ptr<SessionRunner> runner_;
};

// SessionTest that skips when the module was not built.
class ModuleSessionTest : public SessionTest {
protected:
    void SetUp() override;
    std::string settingsFile() const { return *xtensions_ + "/Lumbrel.ini"; }
};

}  // namespace hostsim::session::test

// Shared set-up of the session tests: a private copy of the built module (its
// settings file is written beside it, so tests must not share one), a layout
// file with picture boxes and a text box, and a runner over a fresh simulator.
//
// Every simulator gets a copy of its own and keeps it mapped at quit, as a
// host that exits does: what the module keeps for its whole life stays
// reachable (no false leak reports), and no simulator sees the state another
// one left in a shared copy.
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

// The XTensions folder of a copy of the built module in the folder `name` of
// `dir`; nullopt when the module has not been built.
std::optional<std::string> copyModule(const lumbrel::test::TempDir& dir, const std::string& name);

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
    // A fresh simulator (with a fresh copy of the module in module tests) and runner.
    void makeRunner(RunnerOptions options);

    lumbrel::test::TempDir dir_;
    bool withModule_ = false;
    int copies_ = 0;
    std::optional<std::string> xtensions_;  // the current copy, when the module is there
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

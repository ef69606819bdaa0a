// The common ground of the host-layer tests: a fresh fake host and desktop,
// a scratch home folder (the log goes to its Documents folder), a settings
// file beside a scratch module path, and an agent that answers alerts.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "desktop/desktop.h"
#include "host/fake_host.h"
#include "support/test_support.h"

namespace lumbrel::test {

class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the settings file the module reads and loads it.
    void usePrefs(const std::string& iniText);
    // Loads the English or German string table from the source tree.
    void useStrings(std::int16_t language = 0);
    // The log written so far ("" when none).
    std::string logText() const;
    // Starts the module in the fake host; the alert start-up shows about the
    // missing bundle (the test program is none) is left out of alerts().
    std::int32_t start();
    // The alerts shown since start() (all of them without it).
    std::vector<desktop::AlertRequest> alerts() const;

    FakeHost& host() { return fakeHost(); }

    TempDir dir;
    std::shared_ptr<desktop::ScriptedAgent> agent;

private:
    std::size_t alertsBefore_ = 0;
    std::string savedHome_;
    bool hadHome_ = false;
};

}  // namespace lumbrel::test

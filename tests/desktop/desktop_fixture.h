// Every desktop test starts from a fresh desktop: the state is process-wide,
// as the operating system's is.
#pragma once

#include <gtest/gtest.h>

#include "desktop/desktop.h"

namespace lumbrel::test {

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override { desktop::Desktop::instance().reset(); }
    void TearDown() override { desktop::Desktop::instance().reset(); }

    desktop::Desktop& desk() { return desktop::Desktop::instance(); }
};

}  // namespace lumbrel::test

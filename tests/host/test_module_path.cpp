// Finding the bundle folder from the module file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "host/module_fixture.h"
#include "host/module_path.h"
#include "util/bounded.h"

namespace lumbrel::test {
namespace {

using ModulePathTest = ModuleTest;

TEST_F(ModulePathTest, BundleIsTheXntFolderWithResources) {
    const auto bundle = dir.path() / "XTensions" / "Lumbrel.xnt";
    std::filesystem::create_directories(bundle / "Resources");
    const std::string module = (bundle / "Lumbrel.so").string();
    char out[kPathSize] = {};
    ASSERT_TRUE(bundleOfModuleFile(module.c_str(), out, sizeof out));
    EXPECT_EQ(std::string(out), bundle.string());

    char small[10] = "same";
    EXPECT_FALSE(bundleOfModuleFile(module.c_str(), small, sizeof small));
    EXPECT_STREQ(small, "same");
}

TEST_F(ModulePathTest, NoBundleWithoutXntOrResources) {
    std::filesystem::create_directories(dir.path() / "plain" / "Resources");
    std::filesystem::create_directories(dir.path() / "Bare.xnt");
    char out[kPathSize] = "same";
    EXPECT_FALSE(bundleOfModuleFile((dir.path() / "plain" / "Lumbrel.so").c_str(), out, sizeof out));
    EXPECT_FALSE(bundleOfModuleFile((dir.path() / "Bare.xnt" / "Lumbrel.so").c_str(), out, sizeof out));
    EXPECT_FALSE(bundleOfModuleFile("Lumbrel.so", out, sizeof out));
    EXPECT_STREQ(out, "same");
}

}  // namespace
}  // namespace lumbrel::test

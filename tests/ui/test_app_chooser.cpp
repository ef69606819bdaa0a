#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "ui/app_chooser.h"
#include "ui/dialog_test_support.h"

namespace lumbrel {
namespace {

class AppChooser : public test::DialogTest {
protected:
    // An application package (a folder ending in ".app") inside the scratch folder.
    std::string makeApp(const std::string& relative) {
        const std::filesystem::path app = dir_.path() / relative;
        std::filesystem::create_directories(app);
        return app.string();
    }
};

TEST_F(AppChooser, ChosenPathIsCopiedWithTheLocalisedPrompt) {
    char path[512] = "/Applications/Old.app";
    const std::string preview = makeApp("Preview.app");
    agent().chooseApplicationAt(preview);
    EXPECT_TRUE(doGetAppPath(path, "promptKey"));
    EXPECT_EQ(std::string(path), preview);
    ASSERT_EQ(agent().applicationChoosersSeen().size(), 1U);
    EXPECT_EQ(agent().applicationChoosersSeen()[0].prompt, "Pick a program");

    const std::string other = makeApp("Other.app");
    agent().chooseApplicationAt(other);
    EXPECT_TRUE(doGetAppPath(path, "Not a key"));
    EXPECT_EQ(std::string(path), other);
    EXPECT_EQ(agent().applicationChoosersSeen()[1].prompt, "Not a key");
}

TEST_F(AppChooser, CancelOrAPathTooLongLeavesThePathAlone) {
    char path[512] = "/Applications/Old.app";
    agent().cancelApplicationChooser();
    EXPECT_FALSE(doGetAppPath(path, "promptKey"));
    EXPECT_STREQ(path, "/Applications/Old.app");

    // No decision at all is a Cancel.
    EXPECT_FALSE(doGetAppPath(path, "promptKey"));
    EXPECT_STREQ(path, "/Applications/Old.app");

    // 511 bytes fit; 512 would have to be cut and name another file.
    const std::size_t base = dir_.path().string().size() + 1;
    ASSERT_LT(base + 30, 511U);
    const std::string folder = std::string(200, 'f') + "/" + std::string(200, 'g') + "/";
    const std::string fits = makeApp(folder + std::string(511 - base - folder.size() - 4, 'a') + ".app");
    const std::string tooLong = makeApp(folder + std::string(512 - base - folder.size() - 4, 'b') + ".app");
    ASSERT_EQ(fits.size(), 511U);
    ASSERT_EQ(tooLong.size(), 512U);
    agent().chooseApplicationAt(tooLong);
    EXPECT_FALSE(doGetAppPath(path, "promptKey"));
    EXPECT_STREQ(path, "/Applications/Old.app");
    agent().chooseApplicationAt(fits);
    EXPECT_TRUE(doGetAppPath(path, "promptKey"));
    EXPECT_EQ(std::string(path), fits);

    EXPECT_FALSE(doGetAppPath(nullptr, "promptKey"));
}

}  // namespace
}  // namespace lumbrel

// The module's preference pane in the host's preferences dialog, a real
// window built from the bundle's pane description: the user's clicks reach
// the module's pane handler, OK applies and saves, Cancel leaves everything,
// the German pane comes from its own description.
#include "integration_fixture.h"

#include "support/test_support.h"

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <functional>

namespace lumbrel::integration {
namespace {

using desktop::DialogAction;
using desktop::DialogRequest;

// The "Default" entry `key` of the settings text; nullopt when absent.
std::optional<std::string> entry(const std::string& settings, const std::string& key) {
    std::size_t at = 0;
    while ((at = settings.find(key + "=", at)) != std::string::npos) {
        if (at == 0 || settings[at - 1] == '\r' || settings[at - 1] == '\n') {
            const std::size_t start = at + key.size() + 1;
            return settings.substr(start, settings.find_first_of("\r\n", start) - start);
        }
        at += key.size();
    }
    return std::nullopt;
}

class PreferencePaneTest : public ModuleTest {
protected:
    // Runs the pane with the user's actions queued; the first question's
    // view of the dialog is kept.
    hostsim::PreferencesResult runByUser(std::vector<DialogAction> actions) {
        for (DialogAction& action : actions) agent_->queueDialogAction(std::move(action));
        agent_->setDialogStep([this](const DialogRequest& dialog) {
            if (!firstView_) firstView_ = dialog;
            return DialogAction::none();
        });
        hostsim::PreferencesRun run;
        run.byUser = true;
        return sim().openPreferences(run);
    }
    std::string settings() const {
        const std::string path = settingsFile();
        return std::filesystem::exists(path) ? test::readFile(path) : std::string();
    }
    std::optional<DialogRequest> firstView_;
};

TEST_F(PreferencePaneTest, ClicksInTheWindowReachTheModuleAndOKAppliesAndSaves) {
    setPref("RGBWarning", "0");
    setPref("JPGWarning", "0");
    startOrFail();
    const hostsim::PreferencesResult result =
        runByUser({DialogAction::check(5), DialogAction::clickTitled("Warning for JPEG images"), DialogAction::click(1)});
    ASSERT_TRUE(result.shown);
    EXPECT_EQ(result.resourceID, 28051);
    EXPECT_EQ(result.dialogResult, 1);
    ASSERT_TRUE(firstView_.has_value());
    EXPECT_EQ(firstView_->title, "Lumbrel");
    for (int id = 3; id <= 10; ++id) {
        const desktop::ControlView* box = firstView_->control(id);
        ASSERT_NE(box, nullptr) << id;
        EXPECT_EQ(box->kind, desktop::ControlKind::CheckBox) << id;
    }
    // The opening message filled the boxes from the module's values.
    EXPECT_EQ(firstView_->control(3)->value, 1);  // DragAndDrop by default
    EXPECT_EQ(firstView_->control(5)->value, 0);
    ASSERT_NE(firstView_->control(1), nullptr);
    EXPECT_EQ(firstView_->control(1)->kind, desktop::ControlKind::DefaultButton);

    const std::string saved = settings();
    EXPECT_EQ(entry(saved, "RGBWarning"), "1") << saved;
    EXPECT_EQ(entry(saved, "JPGWarning"), "1") << saved;
    EXPECT_EQ(entry(saved, "EPSWarning"), "0") << saved;
    EXPECT_TRUE(transcriptHas("preferences: item 5 -> 1"));
    EXPECT_TRUE(transcriptHas("preferences: item 7 -> 1"));
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(PreferencePaneTest, CancelAndTheCloseBoxChangeNothing) {
    setPref("Edit", "1");
    startOrFail();
    const std::string before = settings();
    hostsim::PreferencesResult result = runByUser({DialogAction::click(4), DialogAction::clickTitled("Cancel")});
    EXPECT_EQ(result.dialogResult, 0);
    EXPECT_EQ(settings(), before);
    // Reopened, the box shows the module's value again, not the cancelled click.
    firstView_.reset();
    result = runByUser({DialogAction::click(4), DialogAction::closeBox()});
    ASSERT_TRUE(firstView_.has_value());
    EXPECT_EQ(firstView_->control(4)->value, 1);
    EXPECT_EQ(result.dialogResult, 0);
    EXPECT_EQ(settings(), before);
    // No decision at all presses Return: the default button, OK, applies.
    result = runByUser({});
    EXPECT_EQ(result.dialogResult, 1);
    EXPECT_TRUE(std::filesystem::exists(settingsFile()));
    EXPECT_EQ(entry(settings(), "Edit"), "1");
}

TEST_F(PreferencePaneTest, ALogLevelAboveOneIsWrittenBackAsTheCheckBoxValue) {
    setPref("Logging", "5");
    startOrFail();
    hostsim::PreferencesRun run;  // played by the host: OK without clicks
    EXPECT_EQ(sim().openPreferences(run).dialogResult, 1);
    EXPECT_EQ(entry(settings(), "Logging"), "1");
    run.toggleItems = {8};
    EXPECT_EQ(sim().openPreferences(run).dialogResult, 1);
    EXPECT_EQ(entry(settings(), "Logging"), "0");
    // The host's own OK applies as well, with the clicks made before it.
    run.toggleItems = {8, 6};
    run.hostOk = true;
    EXPECT_EQ(sim().openPreferences(run).dialogResult, 1);
    EXPECT_EQ(entry(settings(), "Logging"), "1");
    EXPECT_EQ(entry(settings(), "EPSWarning"), "1");
}

TEST_F(PreferencePaneTest, OKSavesOnlyWhereTheSettingsFileAllows) {
    setPref("RGBWarning", "0");
    setPref("JPGWarning", "0");
    startOrFail();
    const std::filesystem::path file = settingsFile();
    const std::filesystem::path folder = file.parent_path();
    struct Case {
        const char* what;
        int item;  // the check box the user turns on
        std::function<bool()> lock;
        std::function<void()> unlock;
        bool saved;
    };
    const Case cases[] = {
        {"read-only settings file", 5, [&] { return test::lockFile(file); }, [&] { test::unlockFile(file); }, false},
        {"read-only folder, writable file", 7, [&] { return test::lockFolder(folder); },
         [&] { test::unlockFolder(folder); }, true},
    };
    const auto entries = std::distance(std::filesystem::directory_iterator(folder), {});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = settings();
        struct stat was {};
        ASSERT_EQ(::stat(file.c_str(), &was), 0);
        if (!c.lock()) GTEST_SKIP() << "cannot lock files here";
        const hostsim::PreferencesResult result = runByUser({DialogAction::check(c.item), DialogAction::click(1)});
        c.unlock();
        EXPECT_EQ(result.dialogResult, 1);
        struct stat is {};
        ASSERT_EQ(::stat(file.c_str(), &is), 0);
        EXPECT_EQ(is.st_ino, was.st_ino);
        if (c.saved) {
            // The earlier choice, kept in memory, goes with this save.
            EXPECT_EQ(entry(settings(), "RGBWarning"), "1");
            EXPECT_EQ(entry(settings(), "JPGWarning"), "1");
        } else {
            EXPECT_EQ(settings(), before);
        }
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), entries) << "no temporary left";
    EXPECT_TRUE(violations().empty()) << ::testing::PrintToString(violations());
}

TEST_F(PreferencePaneTest, ASettingsFileThatIsNoFileNeitherBlocksNorIsReplaced) {
    for (const test::NonFile kind : test::kNonFiles) {
        SCOPED_TRACE(test::nonFileName(kind));
        std::filesystem::remove_all(settingsFile());
        ASSERT_TRUE(test::makeNonFile(kind, settingsFile()));
        struct stat was {};
        ASSERT_EQ(::lstat(settingsFile().c_str(), &was), 0);
        const int answer = test::runBounded(std::chrono::seconds(30), [&] {
            if (!start().started()) return 1;
            const hostsim::PreferencesResult result = runByUser({DialogAction::check(5), DialogAction::click(1)});
            if (!firstView_ || firstView_->control(3) == nullptr || firstView_->control(3)->value != 1) return 2;
            return result.dialogResult == 1 ? 0 : 3;
        });
        EXPECT_EQ(answer, 0) << "-1: it blocked";
        struct stat is {};
        ASSERT_EQ(::lstat(settingsFile().c_str(), &is), 0);
        EXPECT_EQ(is.st_mode, was.st_mode);
        EXPECT_EQ(is.st_ino, was.st_ino);
    }
}

TEST_F(PreferencePaneTest, TheGermanPaneHasItsOwnDescription) {
    hostsim::Options options;
    options.regionCode = 3;
    startOrFail(options);
    const hostsim::PreferencesResult result = runByUser({DialogAction::clickTitled("Abbrechen")});
    EXPECT_EQ(result.resourceID, 28351);
    EXPECT_EQ(result.dialogResult, 0);
    ASSERT_TRUE(firstView_.has_value());
    EXPECT_EQ(firstView_->title, "Lumbrel");
    const std::vector<std::pair<int, std::string>> labels{
        {3, "Drag und Drop"},
        {5, "Warnung bei RGB- und LAB-Bildern"},
        {6, "Warnung bei EPSen mit eingebettetem ICC-Profil"},
        {8, "Protokolldatei"},
        {2, "Abbrechen"},
    };
    for (const auto& [id, text] : labels) {
        ASSERT_NE(firstView_->control(id), nullptr) << id;
        EXPECT_EQ(firstView_->control(id)->text, text) << id;
    }
}

}  // namespace
}  // namespace lumbrel::integration

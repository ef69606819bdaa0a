#include "host/module_fixture.h"

#include <cstdlib>
#include <filesystem>

#include "labels/label_state.h"
#include "settings/localised_strings.h"
#include "settings/preferences.h"
#include "settings/resources.h"
#include "util/log.h"

namespace lumbrel::test {

void ModuleTest::SetUp() {
    resetFakeHost();
    desktop::Desktop::instance().reset();
    agent = std::make_shared<desktop::ScriptedAgent>();
    desktop::Desktop::instance().setAgent(agent);

    if (const char* home = std::getenv("HOME"); home != nullptr) {
        hadHome_ = true;
        savedHome_ = home;
    }
    setenv("HOME", dir.path().c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
    std::filesystem::create_directories(dir.path() / "Documents");

    labelState() = LabelState{};
    setModulePath("");
    loadPrefs();
}

void ModuleTest::TearDown() {
    setupDump(0);
    setModulePath("");
    setResourceFolder("");
    loadPrefs();
    cleanupMyStrings();
    setLanguage(kLangEnglish);
    clearMsgs();
    labelState() = LabelState{};
    desktop::Desktop::instance().reset();
    resetFakeHost();
    if (hadHome_) {
        setenv("HOME", savedHome_.c_str(), 1);
    } else {
        unsetenv("HOME");
    }
}

void ModuleTest::usePrefs(const std::string& iniText) {
    writeFile(dir.file("Lumbrel.ini"), iniText);
    setModulePath(dir.file("Lumbrel.xnt").c_str());
    loadPrefs();
}

void ModuleTest::useStrings(std::int16_t language) {
    setResourceFolder(sourcePath("resources").c_str());
    setLanguage(language);
    setupMyStrings();
}

std::int32_t ModuleTest::start() {
    const std::int32_t result = startModule();
    alertsBefore_ = agent->alertsSeen().size();
    return result;
}

std::vector<desktop::AlertRequest> ModuleTest::alerts() const {
    const auto& seen = agent->alertsSeen();
    return std::vector<desktop::AlertRequest>(seen.begin() + static_cast<std::ptrdiff_t>(alertsBefore_), seen.end());
}

std::string ModuleTest::logText() const {
    const std::string path = (dir.path() / "Documents" / "Lumbrel.txt").string();
    if (!std::filesystem::exists(path)) return {};
    return readFile(path);
}

}  // namespace lumbrel::test

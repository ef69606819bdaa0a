#include "integration_fixture.h"

#include "hostsim/session/settings_file.h"

#include <cstdlib>
#include <filesystem>

namespace lumbrel::integration {

namespace fs = std::filesystem;

namespace {

const fs::path kBundle = fs::path(LUMBREL_MODULE_DIR) / "Lumbrel.xnt";

// What the module reads to find the user's documents folder.
const char* const kEnvironment[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DOCUMENTS_DIR"};

}  // namespace

std::string samplePath() { return test::sourcePath("samples/sample.json"); }

std::string samplePicture(std::string_view name) {
    return (fs::path(test::sourcePath("samples/pictures")) / name).lexically_normal().string();
}

bool moduleBuilt() { return fs::exists(kBundle / "Lumbrel.so"); }

void ModuleTest::SetUp() {
    if (!moduleBuilt()) GTEST_FAIL() << "the module is not built: " << kBundle;
    desktop::Desktop::instance().reset();
    agent_ = std::make_shared<desktop::ScriptedAgent>();
    desktop::Desktop::instance().setAgent(agent_);

    const fs::path xtensions = dir_.path() / "XTensions";
    fs::create_directories(xtensions);
    fs::copy(kBundle, xtensions / "Lumbrel.xnt", fs::copy_options::recursive);
    xtensions_ = xtensions.string();

    // A home of its own before the module looks for its documents folder.
    const fs::path home = dir_.path() / "home";
    fs::create_directories(home / "Documents");
    fs::create_directories(home / ".config");
    documents_ = (home / "Documents").string();
    for (const char* name : kEnvironment) {
        const char* value = std::getenv(name);
        savedEnvironment_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    ::unsetenv("XDG_DOCUMENTS_DIR");
}

void ModuleTest::TearDown() {
    if (sim_ && !sim_->quitted() && sim_->started()) sim_->quit();
    sim_.reset();
    desktop::Desktop::instance().setAgent(nullptr);
    for (const auto& [name, value] : savedEnvironment_) {
        if (value) {
            ::setenv(name.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(name.c_str());
        }
    }
}

hostsim::ActivationResult ModuleTest::start(hostsim::Options options) {
    // Every copy is a file of its own, so keeping the earlier ones mapped
    // (as a host does until it exits) never hands a test another test's
    // module state, and what a module keeps for its whole life stays reachable.
    options.unloadAtQuit = false;
    sim_ = std::make_unique<hostsim::Simulator>(options);
    if (!sim_->loadModule(xtensions_)) {
        ADD_FAILURE() << "cannot load the module: " << sim_->loadError();
        return {};
    }
    return sim_->activate();
}

void ModuleTest::startOrFail(hostsim::Options options) {
    const hostsim::ActivationResult result = start(options);
    ASSERT_TRUE(result.started()) << desktop::Desktop::instance().transcript().render();
}

void ModuleTest::setPref(std::string_view key, std::string_view value, std::string_view section) {
    const auto edited = hostsim::session::setEntryInFile(settingsFile(), section, key, value);
    ASSERT_TRUE(edited.ok) << edited.error;
}

std::string ModuleTest::settingsFile() const { return xtensions_ + "/Lumbrel.ini"; }

std::string ModuleTest::logText() const {
    const fs::path log = fs::path(documents_) / "Lumbrel.txt";
    return fs::exists(log) ? test::readFile(log.string()) : std::string();
}

void ModuleTest::openSample() {
    const hostsim::OpenResult opened = sim_->open(samplePath());
    ASSERT_TRUE(opened.ok()) << opened.message;
}

std::vector<desktop::AlertRequest> ModuleTest::alerts() const {
    const auto& seen = agent_->alertsSeen();
    return {seen.begin() + static_cast<std::ptrdiff_t>(std::min(alertMark_, seen.size())), seen.end()};
}

void ModuleTest::clearAlerts() { alertMark_ = agent_->alertsSeen().size(); }

std::vector<std::string> ModuleTest::alertLines() const {
    std::vector<std::string> lines;
    for (const desktop::AlertRequest& alert : alerts()) {
        lines.push_back(alert.informative.empty() ? alert.message : alert.message + " | " + alert.informative);
    }
    return lines;
}

std::vector<std::string> ModuleTest::violations() const {
    std::vector<std::string> messages;
    if (sim_) {
        for (const hostsim::Violation& violation : sim_->violations()) messages.push_back(violation.message);
    }
    return messages;
}

bool ModuleTest::transcriptHas(std::string_view line) const {
    for (const desktop::TranscriptEntry& entry : desktop::Desktop::instance().transcript().entries()) {
        if (entry.line == line) return true;
    }
    return false;
}

hostsim::Document spreadsDocument(int spreads) {
    using namespace hostsim;
    Document doc;
    doc.projectName = "Spreads";
    doc.pageWidth = 420.0;
    doc.pageHeight = 595.0;
    doc.facingPages = true;
    int pageNumber = 1;
    for (int s = 1; s <= spreads; ++s) {
        Spread spread;
        spread.width = 840.0;
        spread.height = 595.0;
        if (s == 1) {
            spread.pages.push_back(Page{std::to_string(pageNumber++), 0, 420.0, 0.0});
        } else {
            spread.pages.push_back(Page{std::to_string(pageNumber++), 0, 0.0, 0.0});
            spread.pages.push_back(Page{std::to_string(pageNumber++), 0, 420.0, 0.0});
        }
        doc.addSpread(spread);
    }
    for (int s = 1; s <= spreads; ++s) {
        const BoxId picture = doc.addBox(s, kBoxPicture, Rect{100.0, 460.0, 200.0, 600.0});
        doc.addBox(s, kBoxText, Rect{300.0, 460.0, 400.0, 600.0});
        Picture placed;
        placed.path = samplePicture("rgb.tif");
        placed.fileType = kFileTIFF;
        placed.colorSpace = kColorRGB;
        doc.setPicture(picture, placed);
    }
    doc.setCurrentPage(1);
    doc.markSaved();
    return doc;
}

}  // namespace lumbrel::integration

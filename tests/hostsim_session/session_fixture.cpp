#include "session_fixture.h"

#include "hostsim/model/document.h"
#include "hostsim/model/document_json.h"

#include "desktop/desktop.h"

#include <filesystem>

namespace hostsim::session::test {

std::optional<std::string> copyModule(const lumbrel::test::TempDir& dir, const std::string& name) {
    const std::filesystem::path bundle(LUMBREL_MODULE_BUNDLE);
    std::error_code error;
    if (!std::filesystem::exists(bundle / "Lumbrel.so", error)) return std::nullopt;
    const std::filesystem::path xtensions = dir.path() / name / "XTensions";
    std::filesystem::create_directories(xtensions, error);
    std::filesystem::copy(bundle, xtensions / "Lumbrel.xnt", std::filesystem::copy_options::recursive, error);
    if (error) return std::nullopt;
    return xtensions.string();
}

std::string writeLayout(const lumbrel::test::TempDir& dir, const std::string& name) {
    Document doc;
    doc.projectName = "Layout";
    Spread spread;
    spread.width = doc.pageWidth;
    spread.height = doc.pageHeight;
    spread.pages.push_back(Page{"1", 0, 0.0, 0.0});
    doc.addSpread(spread);
    doc.setCurrentPage(1);
    const BoxId picture = doc.addBox(1, kBoxPicture, Rect{100.0, 100.0, 200.0, 250.0});
    const BoxId second = doc.addBox(1, kBoxPicture, Rect{100.0, 300.0, 200.0, 450.0});
    const BoxId text = doc.addBox(1, kBoxText, Rect{300.0, 100.0, 400.0, 250.0});
    EXPECT_EQ(picture, kPictureBox);
    EXPECT_EQ(second, kSecondPictureBox);
    EXPECT_EQ(text, kTextBox);
    Picture placed;
    placed.path = kPicturePath;
    doc.setPicture(picture, placed);
    placed.path = kSecondPicturePath;
    doc.setPicture(second, placed);
    doc.markSaved();
    const std::string path = dir.file(name);
    std::string error;
    EXPECT_TRUE(saveDocument(doc, path, &error)) << error;
    return path;
}

void SessionTest::SetUp() {
    desktop::Desktop::instance().reset();
    makeRunner(RunnerOptions{});
}

void SessionTest::makeRunner(RunnerOptions options) {
    runner_.reset();
    sim_.reset();
    if (withModule_) {
        xtensions_ = copyModule(dir_, "module" + std::to_string(++copies_));
        ASSERT_TRUE(xtensions_.has_value());
    }
    Options simulatorOptions;
    simulatorOptions.unloadAtQuit = false;
    sim_ = std::make_unique<Simulator>(simulatorOptions);
    agent_ = std::make_shared<SessionAgent>();
    if (options.defaultModule.empty() && xtensions_) options.defaultModule = *xtensions_;
    runner_ = std::make_unique<SessionRunner>(*sim_, agent_, std::move(options));
}

void SessionTest::TearDown() {
    runner_.reset();
    sim_.reset();
    desktop::Desktop::instance().setAgent(nullptr);
}

ScriptRun SessionTest::runText(const std::string& text, bool keepGoing) {
    const Script script = parseScript(text);
    for (const ParseError& error : script.errors) ADD_FAILURE() << formatError(error, "test");
    return runScript(script, *runner_, keepGoing);
}

std::string SessionTest::transcript() const { return desktop::Desktop::instance().transcript().render(); }

void ModuleSessionTest::SetUp() {
    desktop::Desktop::instance().reset();
    if (!std::filesystem::exists(std::filesystem::path(LUMBREL_MODULE_BUNDLE) / "Lumbrel.so")) {
        GTEST_SKIP() << "the module is not built: " << LUMBREL_MODULE_BUNDLE;
    }
    withModule_ = true;
    makeRunner(RunnerOptions{});
}

}  // namespace hostsim::session::test

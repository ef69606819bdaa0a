// Finding and loading module files, and the symbols a module exports.
#include "host_fixture.h"

#include "hostsim/host/module_loader.h"

#include <filesystem>

namespace hostsim::test {
namespace {

namespace fs = std::filesystem;
using lumbrel::test::TempDir;
using lumbrel::test::writeFile;

TEST(ModuleFiles, AreFoundFromFileBundleOrXTensionsFolder) {
    std::string file, error;
    ASSERT_TRUE(resolveModuleFile(kFakeModule, file, error)) << error;
    EXPECT_EQ(file, kFakeModule);

    const fs::path bundle = fs::path(kFakeModule).parent_path();
    ASSERT_TRUE(resolveModuleFile(bundle.string(), file, error)) << error;
    EXPECT_EQ(fs::path(file), fs::path(kFakeModule));

    ASSERT_TRUE(resolveModuleFile(kFakeXTensions, file, error)) << error;
    EXPECT_EQ(fs::path(file), fs::path(kFakeModule));
}

TEST(ModuleFiles, XTensionsFolderTakesTheFirstCompleteBundleByName) {
    TempDir dir;
    fs::create_directories(dir.path() / "A.xnt");  // no A.so inside: not a module
    fs::create_directories(dir.path() / "C.xnt");
    fs::create_directories(dir.path() / "B.xnt");
    writeFile((dir.path() / "C.xnt" / "C.so").string(), "x");
    writeFile((dir.path() / "B.xnt" / "B.so").string(), "x");
    std::string file, error;
    ASSERT_TRUE(resolveModuleFile(dir.path().string(), file, error)) << error;
    EXPECT_EQ(fs::path(file), dir.path() / "B.xnt" / "B.so");
}

TEST(ModuleFiles, MissingPlacesSayWhat) {
    TempDir dir;
    std::string file, error;
    EXPECT_FALSE(resolveModuleFile(dir.file("nothing"), file, error));
    EXPECT_NE(error.find("no module at"), std::string::npos) << error;
    fs::create_directories(dir.path() / "Empty.xnt");
    EXPECT_FALSE(resolveModuleFile(dir.file("Empty.xnt"), file, error));
    EXPECT_NE(error.find("Empty.so"), std::string::npos) << error;
    EXPECT_FALSE(resolveModuleFile(dir.path().string(), file, error));
    EXPECT_NE(error.find("no module bundle"), std::string::npos) << error;
}

TEST(ModuleLoading, FailuresNameTheFileAndTheMissingEntry) {
    TempDir dir;
    writeFile(dir.file("junk.so"), "not an object file");
    Simulator junk;
    EXPECT_FALSE(junk.loadModule(dir.file("junk.so")));
    EXPECT_NE(junk.loadError().find("cannot load " + dir.file("junk.so")), std::string::npos) << junk.loadError();

    // A real shared object without the entry point.
    Simulator noEntry;
    EXPECT_FALSE(noEntry.loadModule(HOSTSIM_DESKTOP_LIBRARY));
    EXPECT_NE(noEntry.loadError().find("does not export XTActivateCallback"), std::string::npos)
        << noEntry.loadError();
    EXPECT_FALSE(noEntry.activate().loaded);
}

TEST(ModuleLoading, ASecondModuleIsRefused) {
    Simulator sim;
    ASSERT_TRUE(sim.loadModule(kFakeModule)) << sim.loadError();
    EXPECT_EQ(sim.modulePath(), kFakeModule);
    EXPECT_FALSE(sim.loadModule(kFakeModule));
    EXPECT_EQ(sim.loadError(), "a module is loaded already");
}

TEST(ExportedSymbols, ListsWhatTheObjectDefinesAndNothingItOnlyUses) {
    std::vector<std::string> names;
    std::string error;
    ASSERT_TRUE(exportedSymbols(kFakeModule, names, error)) << error;
    const std::vector<std::string> expected{"XTActivateCallback", "fake_calls", "fake_reset", "fake_set_hook",
                                            "fake_tables"};
    EXPECT_EQ(names, expected);
}

TEST(ExportedSymbols, RefusesFilesThatAreNoElfObjects) {
    TempDir dir;
    writeFile(dir.file("text.so"), std::string(200, 'x'));
    std::vector<std::string> names;
    std::string error;
    EXPECT_FALSE(exportedSymbols(dir.file("text.so"), names, error));
    EXPECT_FALSE(error.empty());
    writeFile(dir.file("short.so"), "\x7f" "ELF");
    EXPECT_FALSE(exportedSymbols(dir.file("short.so"), names, error));
    EXPECT_FALSE(exportedSymbols(dir.file("missing.so"), names, error));
}

TEST(RealModule, ExportsTheEntryPointAlone) {
    if (!fs::exists(kRealModule)) GTEST_SKIP() << "the module is not built: " << kRealModule;
    std::vector<std::string> names;
    std::string error;
    ASSERT_TRUE(exportedSymbols(kRealModule, names, error)) << error;
    EXPECT_EQ(names, std::vector<std::string>{"XTActivateCallback"});
}

}  // namespace
}  // namespace hostsim::test

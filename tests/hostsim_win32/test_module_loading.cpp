// Modules on Windows: "X.xnt" is the DLL itself, found in the XTensions
// folder, loaded with LoadLibraryW; its export table is read from the file.
#include "hostsim/host/module_loader.h"

#include "desktop/files/win32/windows_api.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace hostsim {
namespace {

namespace fs = std::filesystem;

const std::string kProbeModule = HOSTSIM_PROBE_MODULE;
const std::string kProbeXTensions = HOSTSIM_PROBE_XTENSIONS;

// A fresh folder under the system's temporary folder, removed at the end.
struct TempFolder {
    fs::path path;
    TempFolder() {
        static int made = 0;
        path = fs::temp_directory_path() / ("hostsim-loader-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made));
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::string file(const std::string& name, const std::string& bytes) const {
        std::ofstream(path / name, std::ios::binary) << bytes;
        return (path / name).string();
    }
};

TEST(WindowsModules, AreTheXntFilesOfTheXTensionsFolder) {
    std::string file, error;
    ASSERT_TRUE(resolveModuleFile(kProbeXTensions, file, error)) << error;
    EXPECT_EQ(fs::path(file), fs::path(kProbeModule));
    ASSERT_TRUE(resolveModuleFile(kProbeModule, file, error)) << error;
    EXPECT_EQ(file, kProbeModule);

    TempFolder folder;
    fs::create_directories(folder.path / "A.xnt");  // a folder is no module here
    folder.file("C.xnt", "x");
    folder.file("B.xnt", "x");
    folder.file("readme.txt", "x");
    ASSERT_TRUE(resolveModuleFile(folder.path.string(), file, error)) << error;
    EXPECT_EQ(fs::path(file), folder.path / "B.xnt");
    EXPECT_FALSE(resolveModuleFile((folder.path / "A.xnt").string(), file, error));
    EXPECT_NE(error.find("no module DLL"), std::string::npos) << error;

    TempFolder empty;
    EXPECT_FALSE(resolveModuleFile(empty.path.string(), file, error));
    EXPECT_NE(error.find("no module bundle"), std::string::npos) << error;
}

TEST(WindowsModules, LoadWithLoadLibraryAndFindTheEntry) {
    LoadedModule module;
    ASSERT_TRUE(module.load(kProbeModule)) << module.error();
    ASSERT_NE(module.entry(), nullptr);
    EXPECT_EQ(module.entry()(nullptr), 4267);
    module.unload();
    EXPECT_FALSE(module.loaded());

    TempFolder folder;
    const std::string junk = folder.file("Junk.xnt", "not a DLL");
    EXPECT_FALSE(module.load(junk));
    EXPECT_NE(module.error().find("cannot load " + junk), std::string::npos) << module.error();
}

TEST(WindowsModules, ExportTablesAreReadFromTheFile) {
    std::vector<std::string> names;
    std::string error;
    ASSERT_TRUE(exportedSymbols(kProbeModule, names, error)) << error;
    EXPECT_EQ(names, (std::vector<std::string>{"XTActivateCallback", "probe_extra"}));

    TempFolder folder;
    std::string bytes(static_cast<std::size_t>(fs::file_size(kProbeModule)), '\0');
    std::ifstream(kProbeModule, std::ios::binary).read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    struct Broken {
        const char* name;
        std::string bytes;
        const char* says;
    };
    const Broken broken[] = {
        {"text", "not an object file at all, but long enough for a DOS header......", "no PE object"},
        {"short", "MZ", "cannot read"},
        {"cut after the headers", bytes.substr(0, 1024), "bad"},
    };
    for (const Broken& b : broken) {
        SCOPED_TRACE(b.name);
        const std::string path = folder.file("broken.xnt", b.bytes);
        EXPECT_FALSE(exportedSymbols(path, names, error));
        EXPECT_NE(error.find(b.says), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace hostsim

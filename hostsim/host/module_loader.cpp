#include "hostsim/host/module_loader.h"

#include "hostsim/host/module_object.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace hostsim {

namespace fs = std::filesystem;

namespace {

constexpr const char* kBundleExtension = ".xnt";

bool isDirectory(const fs::path& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool isRegularFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

}  // namespace

bool resolveModuleFile(const std::string& path, std::string& file, std::string& error) {
    const fs::path given(path);
    if (isRegularFile(given)) {
        file = path;
        return true;
    }
    if (!isDirectory(given)) {
        error = "no module at " + path;
        return false;
    }
    if (given.extension() == kBundleExtension) {
        fs::path object;
        if (!moduleObjectIn(given, object, error)) return false;
        file = object.string();
        return true;
    }
    std::vector<fs::path> objects;
    std::error_code ec;
    for (fs::directory_iterator it(given, ec), end; !ec && it != end; it.increment(ec)) {
        fs::path object;
        std::string ignored;
        if (it->path().extension() == kBundleExtension && moduleObjectIn(it->path(), object, ignored)) {
            objects.push_back(object);
        }
    }
    if (ec) {
        error = "cannot read the folder " + path + ": " + ec.message();
        return false;
    }
    if (objects.empty()) {
        error = "no module bundle (*.xnt) in " + path;
        return false;
    }
    std::sort(objects.begin(), objects.end());
    file = objects.front().string();
    return true;
}

LoadedModule::~LoadedModule() { unload(); }

void LoadedModule::keepMapped() noexcept {
    handle_ = nullptr;
    entry_ = nullptr;
}

}  // namespace hostsim

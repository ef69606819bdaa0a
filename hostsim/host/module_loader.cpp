#include "hostsim/host/module_loader.h"

#include "hostsim/host/module_object.h"

#include "desktop/files/file_open.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
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
    const fs::path given = desktop::files::pathOf(path);
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
        file = desktop::files::nameOf(object);
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
    file = desktop::files::nameOf(objects.front());
    return true;
}

LoadedModule::~LoadedModule() { unload(); }

void LoadedModule::keepMapped() noexcept {
    handle_ = nullptr;
    entry_ = nullptr;
}

bool readModuleObject(const std::string& file, std::size_t minimumSize, const char* format, std::string& bytes,
                      std::string& error) {
    constexpr std::uintmax_t kMaxObjectSize = std::uintmax_t{512} << 20;
    std::error_code ec;
    const fs::path name = desktop::files::pathOf(file);
    const std::uintmax_t size = fs::file_size(name, ec);
    if (ec || size < minimumSize || size > kMaxObjectSize) {
        error = "cannot read " + file + " as " + format;
        return false;
    }
    bytes.assign(static_cast<std::size_t>(size), '\0');
    std::ifstream in(name, std::ios::binary);
    if (!in.read(bytes.data(), static_cast<std::streamsize>(size))) {
        error = "cannot read " + file;
        return false;
    }
    return true;
}

}  // namespace hostsim

#include "host/module_path.h"

#include <cstdio>
#include <cstring>

#include "host/message_box.h"
#include "platform/module_location.h"
#include "platform/platform_traits.h"
#include "settings/resources.h"
#include "util/bounded.h"
#include "util/files_paths.h"

namespace lumbrel {

namespace {

// Any object of the module: its address names the loaded module file.
const char kModuleAnchor = 0;

constexpr const char* kResourcesFolder = "Resources";

// The module as it lies in the host's module folder: a bundle folder, or
// (where the module is one file) that file.
bool isModuleItem(const char* path) {
    if constexpr (platform::Traits::kModuleIsBundle) return isFolder(path);
    return fileExists(path) && !isFolder(path);
}

bool moduleBesideApplication(char* out, std::size_t outSize) {
    char path[kPathSize];
    if (!platform::findApplicationFile(path, sizeof path) || getFolder(path) == nullptr) return false;
    char moduleName[64];
    std::snprintf(moduleName, sizeof moduleName, "%s.xnt", platform::kProductName);
    if (!addPathComponent(path, "XTensions") || !addPathComponent(path, moduleName)) return false;
    if (!isModuleItem(path) || std::strlen(path) >= outSize) return false;
    copyBounded(out, outSize, path);
    return true;
}

// The module path of the loaded module file: its bundle, or the file itself.
bool modulePathOfFile(const char* moduleFile, char* out, std::size_t outSize) {
    if constexpr (platform::Traits::kModuleIsBundle) return bundleOfModuleFile(moduleFile, out, outSize);
    if (std::strlen(moduleFile) >= outSize) return false;
    copyBounded(out, outSize, moduleFile);
    return true;
}

}  // namespace

bool bundleOfModuleFile(const char* moduleFile, char* out, std::size_t outSize) {
    if (moduleFile == nullptr || out == nullptr || std::strlen(moduleFile) >= kPathSize) return false;
    char folder[kPathSize];
    copyBounded(folder, moduleFile);
    if (getFolder(folder) == nullptr || !pathEndsWith(folder, ".xnt")) return false;
    char resources[kPathSize];
    copyBounded(resources, folder);
    if (!addPathComponent(resources, kResourcesFolder) || !isFolder(resources)) return false;
    if (std::strlen(folder) >= outSize) return false;
    copyBounded(out, outSize, folder);
    return true;
}

bool setupXTPath(const char* bundleIdentifier) {
    char bundle[kPathSize] = {};
    bool found = false;
    if (bundleIdentifier != nullptr) {
        // The loaded module's own bundle stands for the bundle of that
        // identifier: the POSIX build keeps no bundle registry.
        char moduleFile[kPathSize];
        found = platform::findModuleFile(&kModuleAnchor, moduleFile, sizeof moduleFile) &&
                modulePathOfFile(moduleFile, bundle, sizeof bundle);
    } else {
        found = moduleBesideApplication(bundle, sizeof bundle);
    }

    if (found) {
        setModulePath(bundle);
        if constexpr (!platform::Traits::kResourcesInModule) {
            char resources[kPathSize];
            copyBounded(resources, bundle);
            if (addPathComponent(resources, kResourcesFolder)) setResourceFolder(resources);
        }
    } else {
        msgBox("Internal error: gBdl = NULL");
    }
    std::printf("%s %s: %s\n", platform::kProductName, platform::Traits::kVersion, getModulePath());
    std::fflush(stdout);
    return found;
}

}  // namespace lumbrel

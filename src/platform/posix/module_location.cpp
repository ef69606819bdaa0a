#include "platform/module_location.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>

namespace lumbrel::platform {

namespace {

bool copyWhole(const char* path, char* out, std::size_t outSize) noexcept {
    const std::size_t length = std::strlen(path);
    if (out == nullptr || length + 1 > outSize) return false;
    std::memcpy(out, path, length + 1);
    return true;
}

}  // namespace

bool findModuleFile(const void* address, char* out, std::size_t outSize) noexcept {
    Dl_info info{};
    if (address == nullptr || dladdr(address, &info) == 0 || info.dli_fname == nullptr || *info.dli_fname == '\0')
        return false;
    // The loader reports the name the module was opened by, which may be
    // relative to the folder the host started in.
    char resolved[PATH_MAX];
    if (realpath(info.dli_fname, resolved) == nullptr) return false;
    return copyWhole(resolved, out, outSize);
}

bool findApplicationFile(char* out, std::size_t outSize) noexcept {
    char resolved[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", resolved, sizeof resolved - 1);
    if (length <= 0) return false;
    resolved[length] = '\0';
    return copyWhole(resolved, out, outSize);
}

}  // namespace lumbrel::platform

// Path text: splitting, joining, extensions, line walking and the HFS to
// POSIX conversion. Nothing here touches the file system.
#include <cctype>
#include <cstring>
#include <string_view>

#include "platform/platform_traits.h"
#include "platform/startup_volume.h"
#include "util/files_paths.h"

namespace lumbrel {

namespace {

using platform::Traits;

// Where the last component of `path` begins.
const char* lastComponent(const char* path) noexcept {
    const char* separator = std::strrchr(path, pathSeparatorOf(path));
    return separator != nullptr ? separator + 1 : path;
}

// Where the extension of the last component begins (its last "."), or null.
const char* extensionOf(const char* path) noexcept {
    return std::strrchr(lastComponent(path), '.');
}

// Length of a text that must end within `size` bytes; `size` when it does not.
std::size_t boundedLength(const char* text, std::size_t size) noexcept {
    return ::strnlen(text, size);
}

bool equalIgnoringCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Builds the POSIX form of an HFS path into `out` (outSize bytes); false when
// it is not a convertible HFS path or the result does not fit.
bool convertHfsPath(std::string_view hfs, char* out, std::size_t outSize) noexcept {
    if (hfs.empty() || hfs.size() > kMaxHfsPathLength) return false;
    if (outSize > kMaxConvertedPathSize) outSize = kMaxConvertedPathSize;

    std::size_t used = 0;
    auto put = [&](std::string_view text) {
        if (outSize == 0 || text.size() > outSize - 1 - used) return false;
        std::memcpy(out + used, text.data(), text.size());
        used += text.size();
        return true;
    };
    // One name of the path, its "/" shown as ":" as Mac OS X shows it.
    auto putName = [&](std::string_view name) {
        for (char c : name) {
            const char shown = c == '/' ? ':' : c;
            if (!put(std::string_view(&shown, 1))) return false;
        }
        return true;
    };

    std::string_view rest = hfs;
    const std::size_t firstColon = hfs.find(':');
    if (firstColon == std::string_view::npos) {
        rest = hfs;  // one name, relative to the current folder
    } else if (firstColon == 0) {
        rest = hfs.substr(1);  // ":a:b" is relative as well
    } else {
        const std::string_view volume = hfs.substr(0, firstColon);
        rest = hfs.substr(firstColon + 1);
        if (!equalIgnoringCase(volume, platform::kStartupVolumeName)) {
            if (!put(platform::kVolumesFolder) || !put("/") || !putName(volume)) return false;
        }
        if (used == 0) {
            if (!put("/")) return false;  // the root, while it has no names behind it
        }
    }
    if (!rest.empty() && rest.back() == ':') rest.remove_suffix(1);  // a folder, named as a file

    bool first = true;
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view name = rest.substr(0, colon);
        if (name.empty()) return false;  // "::" climbs to the parent in HFS; not supported
        const bool needsSlash = !first || (used > 0 && out[used - 1] != '/');
        if (needsSlash && !put("/")) return false;
        if (!putName(name)) return false;
        first = false;
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    if (used == 0) return false;  // ":" alone names nothing
    out[used] = '\0';
    return true;
}

}  // namespace

char pathSeparatorOf(const char* path) noexcept {
    if (path != nullptr && path[0] == '/') return '/';
    return Traits::kHfsPaths ? ':' : Traits::kPathSeparator;
}

void getFileName(const char* path, char* out, std::size_t outSize, bool withExtension) noexcept {
    if (out == nullptr || outSize == 0) return;
    if (path == nullptr) {
        out[0] = '\0';
        return;
    }
    const char* name = lastComponent(path);
    std::size_t length = std::strlen(name);
    if (!withExtension) {
        if (const char* dot = std::strrchr(name, '.')) length = static_cast<std::size_t>(dot - name);
    }
    copyBounded(out, outSize, std::string_view(name, length));
}

char* getFolder(char* path) noexcept {
    if (path == nullptr) return nullptr;
    char* separator = std::strrchr(path, pathSeparatorOf(path));
    if (separator != nullptr) *separator = '\0';
    return separator;
}

bool addPathComponent(char* path, std::size_t pathSize, const char* component) noexcept {
    if (path == nullptr || component == nullptr) return false;
    const std::size_t length = boundedLength(path, pathSize);
    if (length >= pathSize) return false;  // not even the path itself fits
    const std::size_t added = std::strlen(component);
    if (added + 1 > pathSize - 1 - length) return false;
    path[length] = '/';
    std::memcpy(path + length + 1, component, added);
    path[length + 1 + added] = '\0';
    return true;
}

char* replaceExtension(char* path, std::size_t pathSize, const char* ext) noexcept {
    if (path == nullptr) return nullptr;
    if (ext == nullptr) ext = "";
    const std::size_t length = boundedLength(path, pathSize);
    if (length >= pathSize) return nullptr;
    const char* dot = extensionOf(path);
    const std::size_t at = dot != nullptr ? static_cast<std::size_t>(dot - path) : length;
    const std::size_t extLength = std::strlen(ext);
    if (extLength > pathSize - 1 - at) return nullptr;
    std::memcpy(path + at, ext, extLength);
    path[at + extLength] = '\0';
    return path + at;
}

bool pathEndsWith(const char* path, const char* suffix) noexcept {
    if (path == nullptr || suffix == nullptr) return false;
    const std::string_view whole(path);
    const std::string_view end(suffix);
    if (whole.size() < end.size()) return false;
    return equalIgnoringCase(whole.substr(whole.size() - end.size()), end);
}

const char* getNextLine(const char* text) noexcept {
    if (text == nullptr) return nullptr;
    const char* next = std::strchr(text, '\r');
    if (next == nullptr) return nullptr;
    while (*next == '\r' || *next == '\n') ++next;
    return next;
}

char* getNextLine(char* text) noexcept {
    const char* next = getNextLine(static_cast<const char*>(text));
    return next == nullptr ? nullptr : text + (next - text);
}

bool hfsToUnix(char* path, std::size_t pathSize) noexcept {
    if (path == nullptr || pathSize == 0) return false;
    if (path[0] == '/' || !Traits::kHfsPaths) return true;
    const std::size_t length = boundedLength(path, pathSize);
    if (length >= pathSize) return false;
    char converted[kMaxConvertedPathSize];
    const std::size_t room = pathSize < sizeof converted ? pathSize : sizeof converted;
    if (!convertHfsPath(std::string_view(path, length), converted, room)) return false;
    copyBounded(path, pathSize, converted);
    return true;
}

const char* posixPathOf(const char* path, char* buffer, std::size_t bufferSize) noexcept {
    if (path == nullptr || path[0] == '\0') return nullptr;
    if (path[0] == '/' || !Traits::kHfsPaths) return path;
    if (buffer == nullptr) return nullptr;
    const std::size_t length = ::strnlen(path, kMaxHfsPathLength + 1);
    return convertHfsPath(std::string_view(path, length), buffer, bufferSize) ? buffer : nullptr;
}

}  // namespace lumbrel

#include "settings/resources.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <exception>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/file_system.h"
#include "platform/module_resources.h"
#include "platform/platform_traits.h"
#include "util/bounded.h"
#include "util/files_paths.h"

namespace lumbrel {

namespace {

// A resource is read whole into memory; anything larger than this is not a
// resource of the module and is not loaded.
constexpr std::int64_t kMaxResourceSize = 16 * 1024 * 1024;

std::int16_t gLanguage = kLangEnglish;
char gModulePath[kPathSize] = {};
char gResourceFolder[kPathSize] = {};

// A path that does not fit is not kept cut short, which would name another
// place: the setting is left empty instead.
void setPath(char (&target)[kPathSize], const char* path) noexcept {
    if (path == nullptr || std::strlen(path) >= kPathSize) {
        target[0] = '\0';
        return;
    }
    copyBounded(target, path);
}

std::filesystem::path toPath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// The file of the folder named `fileName` without regard to ASCII case: the
// exact name first, then a scan of the folder. Of several matching names the
// smallest wins, so the answer does not hang on the folder's order.
bool findFile(const std::filesystem::path& folder, const std::string& fileName, std::filesystem::path& found) {
    std::error_code error;
    const std::filesystem::path exact = folder / toPath(fileName);
    if (std::filesystem::is_regular_file(exact, error)) {
        found = exact;
        return true;
    }
    std::string best;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::u8string u8 = it->path().filename().u8string();
        const std::string candidate(reinterpret_cast<const char*>(u8.data()), u8.size());
        std::error_code ignored;
        if (!equalsIgnoringCase(candidate, fileName) || !it->is_regular_file(ignored)) continue;
        if (best.empty() || candidate < best) best = candidate;
    }
    if (best.empty()) return false;
    found = folder / toPath(best);
    return true;
}

// The file's bytes; false when it is no regular file, cannot be read whole
// or is larger than the cap.
bool readFile(const std::filesystem::path& path, std::string& bytes) {
    const std::u8string utf8 = path.u8string();
    std::FILE* file = openRegularFile(reinterpret_cast<const char*>(utf8.c_str()));
    if (file == nullptr) return false;
    std::int64_t size = -1;
    if (platform::seekFile(file, 0, SEEK_END)) size = platform::tellFile(file);
    bool read = false;
    if (size >= 0 && size <= kMaxResourceSize && platform::seekFile(file, 0, SEEK_SET)) {
        bytes.resize(static_cast<std::size_t>(size));
        read = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    return read;
}

// One resource by its whole name (name + suffix), from the resource folder
// when one is set, else from the module itself where the build embeds its
// resources there.
bool fetchResource(const std::string& name, const char* type, std::string& bytes) {
    if (gResourceFolder[0] != '\0') {
        std::filesystem::path path;
        return findFile(toPath(gResourceFolder), name + "." + type, path) && readFile(path, bytes);
    }
    if constexpr (platform::Traits::kResourcesInModule) {
        return platform::readModuleResource(name.c_str(), type, kMaxResourceSize, bytes);
    }
    return false;
}

// The bytes in a zero-filled block two bytes longer, as the callers take them.
char* zeroTerminatedCopy(const std::string& bytes, std::int32_t* length) {
    char* data = static_cast<char*>(std::calloc(bytes.size() + 2, 1));
    if (data == nullptr) return nullptr;
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    if (length != nullptr) *length = static_cast<std::int32_t>(bytes.size());
    return data;
}

bool isPlainName(const char* text) noexcept {
    return text != nullptr && *text != '\0' && std::strpbrk(text, "/\\") == nullptr;
}

}  // namespace

void setupLanguages(std::int16_t hostLanguage) noexcept {
    gLanguage = (hostLanguage == 3 || hostLanguage == 19) ? kLangGerman : kLangEnglish;
}

std::int16_t getLanguage() noexcept {
    return gLanguage;
}

void setLanguage(std::int16_t language) noexcept {
    gLanguage = language;
}

std::int16_t getLangID(std::int16_t id) noexcept {
    return static_cast<std::int16_t>(gLanguage * 100 + id);
}

void setModulePath(const char* path) noexcept {
    setPath(gModulePath, path);
}

const char* getModulePath() noexcept {
    return gModulePath;
}

void setResourceFolder(const char* folder) noexcept {
    setPath(gResourceFolder, folder);
}

const char* getResourceFolder() noexcept {
    return gResourceFolder;
}

char* getResourceData(const char* name, const char* type, std::int16_t language, std::int32_t* length) {
    if (length != nullptr) *length = 0;
    // Names and types are the module's own; a separator would leave the
    // resource folder.
    if (!isPlainName(name) || !isPlainName(type)) return nullptr;
    try {
        const char* suffixes[] = {"", language == kLangGerman ? "_D" : language == kLangFrench ? "_F" : nullptr, "_E"};
        std::string bytes;
        for (const char* suffix : suffixes) {
            if (suffix != nullptr && fetchResource(std::string(name) + suffix, type, bytes))
                return zeroTerminatedCopy(bytes, length);
        }
        return nullptr;
    } catch (const std::exception&) {  // out of memory, or a path the file system cannot take
        return nullptr;
    }
}

}  // namespace lumbrel

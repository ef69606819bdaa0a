// The user's special folders on a POSIX desktop, after the XDG base
// directory and user-dirs conventions.
#include "platform/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string_view>
#include <vector>

#include "util/files_paths.h"

namespace lumbrel::platform {

namespace {

// user-dirs.dirs is a few lines long; anything past this is not read.
constexpr std::size_t kMaxUserDirsFile = 64 * 1024;

bool isAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// An environment value that is an absolute path, or empty.
std::string absoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return isAbsolute(value) ? withoutTrailingSlashes(value) : std::string();
}

// `relative` (beginning with "/") below `folder`, without doubling the
// slash of the root.
std::string below(const std::string& folder, std::string_view relative) {
    std::string path = folder == "/" ? std::string() : folder;
    path += relative;
    return path;
}

// A HOME that is not an absolute path is no better than none.
bool findHome(std::string& home) {
    if (const char* value = std::getenv("HOME"); isAbsolute(value)) {
        home = withoutTrailingSlashes(value);
        return true;
    }
    long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_dir == nullptr || found->pw_dir[0] == '\0') {
        return false;
    }
    home = withoutTrailingSlashes(found->pw_dir);
    return true;
}

std::string configHome(const std::string& home) {
    std::string config = absoluteFromEnvironment("XDG_CONFIG_HOME");
    return config.empty() ? below(home, "/.config") : config;
}

std::string readUserDirs(const std::string& path) {
    std::string text;
    std::FILE* file = openRegularFile(path.c_str());
    if (file == nullptr) return text;
    char chunk[4096];
    std::size_t got = 0;
    while (text.size() < kMaxUserDirsFile && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        text.append(chunk, got);
    }
    std::fclose(file);
    if (text.size() > kMaxUserDirsFile) text.resize(kMaxUserDirsFile);
    return text;
}

void skipBlanks(std::string_view& line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
}

// The folder one line of user-dirs.dirs sets for `key`: the line reads
// KEY="$HOME/rest" or KEY="/absolute", with "\" escaping the next character.
// Empty when the line is about another key or its value is not usable.
std::string parseUserDirsLine(std::string_view line, std::string_view key, const std::string& home) {
    skipBlanks(line);
    if (line.substr(0, key.size()) != key) return {};
    line.remove_prefix(key.size());
    skipBlanks(line);
    if (line.empty() || line.front() != '=') return {};
    line.remove_prefix(1);
    skipBlanks(line);
    if (line.empty() || line.front() != '"') return {};
    line.remove_prefix(1);

    std::string folder;
    constexpr std::string_view kHome = "$HOME";
    if (line.substr(0, kHome.size()) == kHome &&
        (line.size() == kHome.size() || line[kHome.size()] == '/' || line[kHome.size()] == '"')) {
        folder = home == "/" ? std::string() : home;
        line.remove_prefix(kHome.size());
    } else if (line.empty() || line.front() != '/') {
        return {};  // relative values are to be ignored
    }
    while (!line.empty() && line.front() != '"') {
        if (line.front() == '\\' && line.size() > 1) line.remove_prefix(1);
        folder.push_back(line.front());
        line.remove_prefix(1);
    }
    if (line.empty()) return {};  // no closing quote
    return folder.empty() ? std::string("/") : withoutTrailingSlashes(folder);
}

// The value of `key` in the user's user-dirs.dirs (the last line that sets
// it wins), or `fallback` below the home folder.
std::string userDir(std::string_view key, const std::string& home, std::string_view fallback) {
    const std::string text = readUserDirs(configHome(home) + "/user-dirs.dirs");
    std::string found;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.empty() && line.front() == '#') continue;
        if (std::string value = parseUserDirsLine(line, key, home); !value.empty()) found = std::move(value);
    }
    return found.empty() ? below(home, fallback) : found;
}

std::string locate(SpecialFolder folder, const std::string& home) {
    switch (folder) {
        case SpecialFolder::Documents:
            return userDir("XDG_DOCUMENTS_DIR", home, "/Documents");
        case SpecialFolder::Desktop:
            return userDir("XDG_DESKTOP_DIR", home, "/Desktop");
        case SpecialFolder::Preferences:
            return configHome(home);
        case SpecialFolder::AppSupport: {
            std::string data = absoluteFromEnvironment("XDG_DATA_HOME");
            return data.empty() ? below(home, "/.local/share") : data;
        }
        case SpecialFolder::Temporary:
            break;
    }
    return {};
}

}  // namespace

bool findSpecialFolder(SpecialFolder folder, std::string& out) noexcept {
    try {
        if (folder == SpecialFolder::Temporary) {
            // Needs no home folder.
            std::string temporary = absoluteFromEnvironment("TMPDIR");
            out = temporary.empty() ? std::string("/tmp") : std::move(temporary);
            return true;
        }
        std::string home;
        if (!findHome(home)) return false;
        std::string path = locate(folder, home);
        if (path.empty()) return false;
        out = std::move(path);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace lumbrel::platform

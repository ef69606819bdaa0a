#include "drop/folder_match.h"

#include <cstring>

#include "util/files_paths.h"

namespace lumbrel {

namespace {

bool matchStep(char* path, std::intptr_t value) {
    auto& match = *reinterpret_cast<FolderMatch*>(value);
    if (!sameNameIgnoringCase(walkedItemName(path), match.name)) return true;
    if (isFolder(path)) return true;
    copyBounded(match.foundPath, path);
    match.found = 1;
    return false;
}

}  // namespace

bool sameNameIgnoringCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

std::string_view walkedItemName(std::string_view path) noexcept {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool findInFolder(const char* folder, bool deep, FolderMatch& match) {
    match.foundPath[0] = '\0';
    match.found = 0;
    if (folder == nullptr || match.name[0] == '\0') return false;
    EnumFolder(folder, matchStep, reinterpret_cast<std::intptr_t>(&match), deep);
    return match.found == 1;
}

}  // namespace lumbrel

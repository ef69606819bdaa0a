#include "drop/folder_match.h"

#include <cstring>
#include <new>
#include <string>

#include "util/files_paths.h"
#include "util/utf8_text.h"

namespace lumbrel {

namespace {

bool sameAsciiNameIgnoringCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

// One walk for one name: the name's key is made once, not per item.
struct WalkSearch {
    FolderMatch* match;
    std::string_view name;
    bool ascii;       // the name is ASCII: ASCII items compare without a key
    std::string key;  // caseFoldedKey of the name
};

bool matchStep(char* path, std::intptr_t value) {
    auto& search = *reinterpret_cast<WalkSearch*>(value);
    const std::string_view item = walkedItemName(path);
    bool same = false;
    if (search.ascii && !hasNonAsciiByte(item)) {
        same = sameAsciiNameIgnoringCase(item, search.name);
    } else {
        // Folding may turn other characters into ASCII ("ß" into "ss").
        try {
            same = caseFoldedKey(item) == search.key;
        } catch (const std::bad_alloc&) {
            same = false;
        }
    }
    if (!same) return true;
    if (isFolder(path)) return true;
    copyBounded(search.match->foundPath, path);
    search.match->found = 1;
    return false;
}

}  // namespace

bool hasNonAsciiByte(std::string_view name) noexcept {
    for (const char c : name) {
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    }
    return false;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) noexcept {
    if (!hasNonAsciiByte(a) && !hasNonAsciiByte(b)) return sameAsciiNameIgnoringCase(a, b);
    try {
        return caseFoldedKey(a) == caseFoldedKey(b);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::string_view walkedItemName(std::string_view path) noexcept {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool findInFolder(const char* folder, bool deep, FolderMatch& match) {
    match.foundPath[0] = '\0';
    match.found = 0;
    if (folder == nullptr || match.name[0] == '\0') return false;
    WalkSearch search{&match, std::string_view(match.name, strnlen(match.name, sizeof match.name)), true, {}};
    search.ascii = !hasNonAsciiByte(search.name);
    try {
        search.key = caseFoldedKey(search.name);
    } catch (const std::bad_alloc&) {
        return false;
    }
    EnumFolder(folder, matchStep, reinterpret_cast<std::intptr_t>(&search), deep);
    return match.found == 1;
}

}  // namespace lumbrel

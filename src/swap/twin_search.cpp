#include "swap/twin_search.h"

#include <cstring>
#include <string_view>

#include "platform/platform_traits.h"

namespace lumbrel {

namespace {

constexpr std::string_view kLayoutsFolder = "layouts";

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The path with the extension of its last component replaced by `ext`.
std::string withExtensionReplaced(const std::string& path, const std::string& ext) {
    constexpr char kSeparators[] = {'/', platform::Traits::kPathSeparator, '\0'};
    const std::size_t slash = path.find_last_of(kSeparators);
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.find_last_of('.');
    const std::size_t cut = dot != std::string::npos && dot >= nameStart ? dot : path.size();
    return path.substr(0, cut) + ext;
}

// The separator a picture path is split at for the layouts folder.
char splitSeparator(const char* path) {
    if (path[0] == '/') return '/';
    if (std::strchr(path, '\\') != nullptr) return '\\';
    return ':';
}

}  // namespace

ExtensionList parseExtensionList(const char* text) {
    ExtensionList list;
    std::string walked = text != nullptr ? text : "";
    if (walked.empty() || walked.back() != ';') walked += ';';
    std::size_t start = 0;
    for (std::size_t semicolon = walked.find(';'); semicolon != std::string::npos;
         semicolon = walked.find(';', start)) {
        std::string entry = walked.substr(start, semicolon - start);
        if (entry.size() > kMaxExtensionEntry) entry.resize(kMaxExtensionEntry);
        list.entries.push_back(std::move(entry));
        start = semicolon + 1;
    }
    return list;
}

std::string findByExtensions(const std::string& base, const ExtensionList& list, FileExistsProc exists) {
    for (const std::string& entry : list.entries) {
        if (!entry.empty()) {
            std::string appended = base + entry;
            if (exists(appended.c_str())) return appended;
        }
        std::string replaced = withExtensionReplaced(base, entry);
        if (exists(replaced.c_str())) return replaced;
    }
    return {};
}

bool isLowResPath(const char* path, const ExtensionList& loRes) {
    const std::string_view text = path != nullptr ? path : "";
    for (const std::string& entry : loRes.entries) {
        const std::string_view suffix = std::string_view(entry).substr(0, kMaxLowResSuffix);
        if (suffix.size() <= text.size() && equalIgnoringCase(text.substr(text.size() - suffix.size()), suffix)) {
            return true;
        }
    }
    return false;
}

std::string findLowResTwin(const char* path, const TwinRules& rules, FileExistsProc exists) {
    const std::string picture = path != nullptr ? path : "";
    if (rules.sameFolder) {
        std::string twin = findByExtensions(picture, rules.loRes, exists);
        if (!twin.empty()) return twin;
    }
    if (!rules.layoutsFolder) return {};
    const char separator = splitSeparator(picture.c_str());
    const std::size_t split = picture.find_last_of(separator);
    if (split == std::string::npos) return {};
    const char written = platform::Traits::kPathSeparator;
    std::string base = picture.substr(0, split);
    base += written;
    base += kLayoutsFolder;
    base += written;
    base += picture.substr(split + 1);
    return findByExtensions(base, rules.loRes, exists);
}

std::string findHighResTwin(const char* path, const TwinRules& rules, FileExistsProc exists) {
    const std::string picture = path != nullptr ? path : "";
    if (rules.sameFolder) {
        std::string twin = findByExtensions(picture, rules.hiRes, exists);
        if (!twin.empty()) return twin;
    }
    if (!rules.layoutsFolder) return {};
    const char separator = picture.starts_with('/') ? '/' : platform::Traits::kPathSeparator;
    const std::size_t nameSeparator = picture.find_last_of(separator);
    if (nameSeparator == std::string::npos || nameSeparator == 0) return {};
    const std::size_t folderSeparator = picture.find_last_of(separator, nameSeparator - 1);
    if (folderSeparator == std::string::npos) return {};
    const std::string_view folder =
        std::string_view(picture).substr(folderSeparator + 1, nameSeparator - folderSeparator - 1);
    const bool isLayouts = platform::Traits::kLayoutsFolderAnyCase ? equalIgnoringCase(folder, kLayoutsFolder)
                                                                   : folder == kLayoutsFolder;
    if (!isLayouts) return {};
    std::string base = picture.substr(0, folderSeparator) + separator + picture.substr(nameSeparator + 1);
    if (exists(base.c_str())) return base;
    return findByExtensions(base, rules.hiRes, exists);
}

}  // namespace lumbrel

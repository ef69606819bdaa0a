// Walking a folder, and its subfolders on request, calling back per item.
#include <cstdio>
#include <cstring>

#include "platform/file_system.h"
#include "platform/platform_traits.h"
#include "util/files_paths.h"

namespace lumbrel {

namespace {

struct Walk {
    EnumFolderCallback callback;
    std::intptr_t value;
    bool deep;
};

bool endsInSeparator(const char* path) noexcept {
    const std::size_t length = std::strlen(path);
    return length > 0 && (path[length - 1] == '/' || path[length - 1] == platform::Traits::kPathSeparator);
}

bool walkFolder(platform::FolderListing& folder, const char* folderPath, const Walk& walk) {
    const char separator[2] = {endsInSeparator(folderPath) ? '\0' : platform::Traits::kPathSeparator, '\0'};
    char itemPath[kPathSize];
    const char* name = nullptr;
    platform::ItemKind kind{};
    while (folder.next(name, kind)) {
        const int length = std::snprintf(itemPath, sizeof itemPath, "%s%s%s", folderPath, separator, name);
        // A cut path would name another item: skip it.
        if (length < 0 || static_cast<std::size_t>(length) >= sizeof itemPath) continue;

        // The callback gets a copy: what it does with the text must not
        // change which folder is walked next.
        char handed[kPathSize];
        std::memcpy(handed, itemPath, static_cast<std::size_t>(length) + 1);
        if (!walk.callback(handed, walk.value)) return false;

        // Links are never entered, so a link back up the tree cannot make the walk go round.
        if (!walk.deep || kind != platform::ItemKind::Folder) continue;
        platform::FolderListing subfolder(folder, name);
        if (!subfolder) continue;  // unreadable: the rest of the walk still counts
        if (!walkFolder(subfolder, itemPath, walk)) return false;
    }
    return true;
}

}  // namespace

bool EnumFolder(const char* folder, EnumFolderCallback callback, std::intptr_t value, bool deep) {
    if (callback == nullptr) return false;
    char converted[kMaxConvertedPathSize];
    const char* path = posixPathOf(folder, converted, sizeof converted);
    if (path == nullptr) return false;
    platform::FolderListing top(path);
    if (!top) return false;
    return walkFolder(top, path, Walk{callback, value, deep});
}

}  // namespace lumbrel

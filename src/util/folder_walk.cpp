// Walking a folder, and its subfolders on request, calling back per item.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "util/files_paths.h"

namespace lumbrel {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const noexcept { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

struct Walk {
    EnumFolderCallback callback;
    std::intptr_t value;
    bool deep;
};

// True when the item is a folder of its own, not a link to one: links are
// never entered, so a link back up the tree cannot make the walk go round.
bool isRealFolder(int folderFd, const dirent& entry) noexcept {
    if (entry.d_type != DT_UNKNOWN) return entry.d_type == DT_DIR;
    struct stat info {};
    return ::fstatat(folderFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

// Opens a subfolder through its parent, refusing a link put there since it
// was listed.
DirHandle openSubfolder(int folderFd, const char* name) noexcept {
    const int fd = ::openat(folderFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return DirHandle();
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) ::close(fd);
    return DirHandle(dir);
}

bool walkFolder(DIR* folder, const char* folderPath, const Walk& walk) {
    const int folderFd = ::dirfd(folder);
    const bool endsInSlash = folderPath[0] != '\0' && folderPath[std::strlen(folderPath) - 1] == '/';
    char itemPath[kPathSize];
    while (const dirent* entry = ::readdir(folder)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
        const int length = std::snprintf(itemPath, sizeof itemPath, "%s%s%s", folderPath, endsInSlash ? "" : "/", name);
        // A cut path would name another item: skip it.
        if (length < 0 || static_cast<std::size_t>(length) >= sizeof itemPath) continue;

        // The callback gets a copy: what it does with the text must not
        // change which folder is walked next.
        char handed[kPathSize];
        std::memcpy(handed, itemPath, static_cast<std::size_t>(length) + 1);
        if (!walk.callback(handed, walk.value)) return false;

        if (!walk.deep || !isRealFolder(folderFd, *entry)) continue;
        const DirHandle subfolder = openSubfolder(folderFd, name);
        if (!subfolder) continue;  // unreadable: the rest of the walk still counts
        if (!walkFolder(subfolder.get(), itemPath, walk)) return false;
    }
    return true;
}

}  // namespace

bool EnumFolder(const char* folder, EnumFolderCallback callback, std::intptr_t value, bool deep) {
    if (callback == nullptr) return false;
    char converted[kMaxConvertedPathSize];
    const char* path = posixPathOf(folder, converted, sizeof converted);
    if (path == nullptr) return false;
    const DirHandle top(::opendir(path));
    if (!top) return false;
    return walkFolder(top.get(), path, Walk{callback, value, deep});
}

}  // namespace lumbrel

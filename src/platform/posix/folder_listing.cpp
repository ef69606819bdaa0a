#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <new>

#include "platform/file_system.h"

namespace lumbrel::platform {

struct FolderListing::State {
    DIR* dir;
    ~State() { ::closedir(dir); }
};

namespace {

ItemKind kindOfEntry(int folderFd, const dirent& entry) noexcept {
    switch (entry.d_type) {
        case DT_REG: return ItemKind::File;
        case DT_DIR: return ItemKind::Folder;
        case DT_LNK: return ItemKind::Link;
        case DT_UNKNOWN: break;  // file systems that do not say: asked
        default: return ItemKind::Other;
    }
    struct stat info {};
    if (::fstatat(folderFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return ItemKind::Other;
    if (S_ISREG(info.st_mode)) return ItemKind::File;
    if (S_ISDIR(info.st_mode)) return ItemKind::Folder;
    if (S_ISLNK(info.st_mode)) return ItemKind::Link;
    return ItemKind::Other;
}

}  // namespace

FolderListing::FolderListing(const char* path) noexcept {
    if (path == nullptr || *path == '\0') return;
    DIR* dir = ::opendir(path);
    if (dir == nullptr) return;
    state_.reset(new (std::nothrow) State{dir});
    if (!state_) ::closedir(dir);
}

FolderListing::FolderListing(const FolderListing& parent, const char* name) noexcept {
    if (!parent || name == nullptr || *name == '\0') return;
    // Through the parent's handle, refusing a link put there since it was listed.
    const int fd = ::openat(::dirfd(parent.state_->dir), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return;
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return;
    }
    state_.reset(new (std::nothrow) State{dir});
    if (!state_) ::closedir(dir);
}

FolderListing::~FolderListing() = default;

bool FolderListing::next(const char*& name, ItemKind& kind) noexcept {
    if (!state_) return false;
    while (const dirent* entry = ::readdir(state_->dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
        name = entry->d_name;
        kind = kindOfEntry(::dirfd(state_->dir), *entry);
        return true;
    }
    return false;
}

}  // namespace lumbrel::platform

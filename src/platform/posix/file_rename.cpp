#include "platform/file_rename.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

namespace lumbrel::platform {

namespace {

RenameResult resultOf(int error) noexcept {
    switch (error) {
        case EEXIST:
        case ENOTEMPTY: return RenameResult::TargetExists;
        case ENOENT: return RenameResult::SourceMissing;
        default: return RenameResult::Failed;
    }
}

}  // namespace

// link() never replaces an existing name either.
RenameResult renameNoReplaceByLink(const char* from, const char* to) noexcept {
    if (from == nullptr || to == nullptr || *from == '\0' || *to == '\0') return RenameResult::Failed;
    if (::link(from, to) != 0) return resultOf(errno);
    if (::unlink(from) != 0) {
        const int error = errno;
        ::unlink(to);
        return resultOf(error == ENOENT ? EIO : error);
    }
    return RenameResult::Renamed;
}

RenameResult renameNoReplace(const char* from, const char* to) noexcept {
    if (from == nullptr || to == nullptr || *from == '\0' || *to == '\0') return RenameResult::Failed;
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return RenameResult::Renamed;
    // EINVAL: the file system does not take the flag; ENOSYS: the kernel has no renameat2.
    if (errno == EINVAL || errno == ENOSYS) return renameNoReplaceByLink(from, to);
    return resultOf(errno);
}

}  // namespace lumbrel::platform

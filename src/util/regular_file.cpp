// Opening a file named from outside for reading or writing. A FIFO, a device or a
// socket may block an open or a read for ever, or never end: only regular
// files are read.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "util/files_paths.h"

namespace lumbrel {

std::FILE* openRegularFile(const char* posixPath) noexcept {
    if (posixPath == nullptr || *posixPath == '\0') return nullptr;
    // A look first, so that a device is never opened at all (opening some
    // has effects of its own).
    struct stat info {};
    if (::stat(posixPath, &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    // Opened without waiting, in case a FIFO took the file's place meanwhile;
    // what was opened is looked at again before a byte is read.
    const int fd = ::open(posixPath, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "rb");
    if (file == nullptr) ::close(fd);
    return file;
}

std::FILE* createRegularFile(const char* posixPath) noexcept {
    if (posixPath == nullptr || *posixPath == '\0') return nullptr;
    struct stat info {};
    if (::stat(posixPath, &info) == 0 ? !S_ISREG(info.st_mode) : errno != ENOENT) return nullptr;
    // Emptied only once it is known to be a regular file.
    const int fd = ::open(posixPath, O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    const int flags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 || ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) ::close(fd);
    return file;
}

}  // namespace lumbrel

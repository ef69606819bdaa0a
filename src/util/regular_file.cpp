// Opening a file named from outside for reading. A FIFO, a device or a
// socket may block an open or a read for ever, or never end: only regular
// files are read.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

}  // namespace lumbrel

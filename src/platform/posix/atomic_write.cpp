#include "platform/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace lumbrel::platform {

namespace {

bool writeAll(int fd, const char* data, std::size_t size) noexcept {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// The mode a newly created file would get: 0666 less the process's umask.
mode_t defaultFileMode() noexcept {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

bool replaceFileContent(const char* path, const char* data, std::size_t size) noexcept {
    if (path == nullptr || *path == '\0') return false;
    std::string temporary;
    try {
        temporary = std::string(path) + ".XXXXXX";
    } catch (...) {
        return false;
    }
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;

    struct stat existing {};
    const mode_t mode = ::stat(path, &existing) == 0 ? (existing.st_mode & 07777) : defaultFileMode();
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, data, size) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temporary.c_str(), path) == 0;
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

}  // namespace lumbrel::platform

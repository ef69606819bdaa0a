#include "platform/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>

namespace lumbrel::platform {

namespace {

bool writeAll(int fd, const char* data, std::size_t size) noexcept {
    off_t at = 0;
    while (size > 0) {
        const ssize_t written = ::pwrite(fd, data, size, at);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        at += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// A name for the temporary file that nobody is likely to hold, beside `path`.
std::string temporaryName(const char* path) {
    static std::uint64_t counter = 0;
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::uint64_t x = (static_cast<std::uint64_t>(::getpid()) << 32) ^ static_cast<std::uint64_t>(now.tv_nsec) ^
                      (static_cast<std::uint64_t>(now.tv_sec) << 20) ^ (++counter * 0x9E3779B97F4A7C15ULL);
    // splitmix64 spreads the bits over the six characters.
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    x ^= x >> 31;
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string name(path);
    name += '.';
    for (int i = 0; i < 6; ++i) {
        name += kLetters[x % (sizeof kLetters - 1)];
        x /= sizeof kLetters - 1;
    }
    return name;
}

// A new file beside `path`, made with 0666 so that the kernel applies the
// process's umask (and a folder's default permissions) as to any new file.
int createTemporary(const char* path, std::string& name) noexcept {
    try {
        for (int attempt = 0; attempt < 100; ++attempt) {
            name = temporaryName(path);
            const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (fd >= 0 || errno != EEXIST) return fd;
        }
    } catch (...) {
        errno = ENOMEM;
        return -1;
    }
    errno = EEXIST;
    return -1;
}

// The folder refuses new files, but the file itself may be written: over
// the old bytes from the start, then cut to the new length. Writing before
// cutting means a full disk can fail the write without having emptied the
// file first.
bool overwriteInPlace(int fd, const char* data, std::size_t size) noexcept {
    return writeAll(fd, data, size) && ::ftruncate(fd, static_cast<off_t>(size)) == 0 && ::fsync(fd) == 0;
}

// The temporary file takes the old file's owner and group where the process
// may give them, then its permission bits (after the owner: a change of
// owner clears set-id bits).
bool takeOver(int fd, const struct stat& old) noexcept {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        [[maybe_unused]] const int groupOnly = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

}  // namespace

bool saveFileContent(const char* path, const char* data, std::size_t size) noexcept {
    if (path == nullptr || *path == '\0' || (data == nullptr && size > 0)) return false;
    struct stat old {};
    const bool exists = ::stat(path, &old) == 0;
    if (!exists && errno != ENOENT) return false;
    if (exists && !S_ISREG(old.st_mode)) return false;

    // An existing file the process may not write is no file to save to,
    // whether or not the folder would take a new one.
    int target = -1;
    if (exists) {
        target = ::open(path, O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (target < 0) return false;
        if (::fstat(target, &old) != 0 || !S_ISREG(old.st_mode)) {
            ::close(target);
            return false;
        }
    }

    std::string temporary;
    const int fd = createTemporary(path, temporary);
    if (fd < 0) {
        const bool folderRefuses = errno == EACCES || errno == EPERM;
        bool ok = false;
        if (target >= 0 && folderRefuses) ok = overwriteInPlace(target, data, size);
        if (target >= 0) ok = (::close(target) == 0) && ok;
        return ok;
    }
    if (target >= 0) ::close(target);

    bool ok = (!exists || takeOver(fd, old)) && writeAll(fd, data, size) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temporary.c_str(), path) == 0;
    if (!ok) ::unlink(temporary.c_str());
    return ok;
}

}  // namespace lumbrel::platform

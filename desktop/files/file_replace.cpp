#include "desktop/files/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace desktop::files {

namespace {

// Room left in a temporary file's name for the dot, the suffix and ".XXXXXX".
constexpr std::size_t kMaxStemBytes = 200;

struct Target {
    std::string path;  // where the bytes go: the path, or the file its link leads to
    bool exists = false;
    mode_t mode = 0;  // permission bits of the existing file
};

std::string kindOf(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) return "a folder, not a file";
    return "not a regular file (a device, FIFO or socket)";
}

bool resolve(const std::string& path, Target& target, std::string& reason) {
    if (path.empty()) {
        reason = "no file name";
        return false;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            reason = std::strerror(errno);
            return false;
        }
        target.path = path;
        return true;
    }
    target.path = path;
    if (S_ISLNK(info.st_mode)) {
        if (::stat(path.c_str(), &info) != 0) {
            reason = errno == ENOENT ? "a symbolic link to nothing" : std::strerror(errno);
            return false;
        }
        if (S_ISREG(info.st_mode)) {
            const std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
            if (!real) {
                reason = std::strerror(errno);
                return false;
            }
            target.path = real.get();
        }
    }
    if (!S_ISREG(info.st_mode)) {
        reason = kindOf(info);
        return false;
    }
    target.exists = true;
    target.mode = info.st_mode & 07777;
    return true;
}

mode_t newFileMode() noexcept {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

bool writeAll(int fd, std::string_view bytes) noexcept {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

bool replaceFile(const std::string& path, std::string_view bytes, std::string& reason) {
    Target target;
    if (!resolve(path, target, reason)) return false;
    const std::size_t slash = target.path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target.path : target.path.substr(slash + 1);
    std::string temporary = folder + "." + name.substr(0, kMaxStemBytes) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    bool ok = ::fchmod(fd, target.exists ? target.mode : newFileMode()) == 0 && writeAll(fd, bytes) &&
              ::fsync(fd) == 0;
    int failure = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (ok && ::rename(temporary.c_str(), target.path.c_str()) != 0) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        reason = std::strerror(failure);
    }
    return ok;
}

std::FILE* openToRewrite(const std::string& path, std::string& reason) {
    Target target;
    if (!resolve(path, target, reason)) return nullptr;
    // Never through a link (the target is resolved already), never waiting
    // on a FIFO that took the file's place in the meantime.
    const int flags = O_WRONLY | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    const int fd = target.exists ? ::open(target.path.c_str(), flags)
                                 : ::open(target.path.c_str(), flags | O_CREAT | O_EXCL, 0666);
    if (fd < 0) {
        reason = std::strerror(errno);
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        reason = std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    if (!S_ISREG(info.st_mode)) {
        reason = kindOf(info);
        ::close(fd);
        return nullptr;
    }
    const int status = ::fcntl(fd, F_GETFL);
    if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0 || ::ftruncate(fd, 0) != 0) {
        reason = std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        reason = std::strerror(errno);
        ::close(fd);
    }
    return file;
}

}  // namespace desktop::files

#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace lumbrel::platform {

namespace {

ItemKind kindOf(mode_t mode) noexcept {
    if (S_ISREG(mode)) return ItemKind::File;
    if (S_ISDIR(mode)) return ItemKind::Folder;
    if (S_ISLNK(mode)) return ItemKind::Link;
    return ItemKind::Other;
}

void describe(const struct stat& info, ItemInfo& out) noexcept {
    out.kind = kindOf(info.st_mode);
    out.size = static_cast<std::int64_t>(info.st_size);
    out.modified = static_cast<std::int64_t>(info.st_mtim.tv_sec);
}

}  // namespace

bool lookAt(const char* path, ItemInfo& out) noexcept {
    struct stat info {};
    if (path == nullptr || *path == '\0' || ::stat(path, &info) != 0) return false;
    describe(info, out);
    return true;
}

bool lookAtItself(const char* path, ItemInfo& out) noexcept {
    struct stat info {};
    if (path == nullptr || *path == '\0' || ::lstat(path, &info) != 0) return false;
    describe(info, out);
    return true;
}

bool resolvePath(const char* path, char* out, std::size_t outSize) noexcept {
    if (path == nullptr || *path == '\0' || out == nullptr) return false;
    char* target = ::realpath(path, nullptr);
    if (target == nullptr) return false;
    const std::size_t length = std::strlen(target);
    const bool fits = length < outSize;
    if (fits) std::memcpy(out, target, length + 1);
    std::free(target);
    return fits;
}

std::FILE* openFile(const char* path, const char* mode) noexcept {
    if (path == nullptr || mode == nullptr) return nullptr;
    return std::fopen(path, mode);
}

std::FILE* openRegularFile(const char* path) noexcept {
    if (path == nullptr || *path == '\0') return nullptr;
    struct stat info {};
    if (::stat(path, &info) != 0 || !S_ISREG(info.st_mode)) return nullptr;
    // Opened without waiting, in case a FIFO took the file's place meanwhile.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
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

std::FILE* createRegularFile(const char* path) noexcept {
    if (path == nullptr || *path == '\0') return nullptr;
    struct stat info {};
    if (::stat(path, &info) == 0 ? !S_ISREG(info.st_mode) : errno != ENOENT) return nullptr;
    // Emptied only once what was opened is known to be a regular file.
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
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

bool openFileLength(std::FILE* file, std::int64_t& out) noexcept {
    struct stat info {};
    if (file == nullptr || ::fstat(::fileno(file), &info) != 0) return false;
    out = static_cast<std::int64_t>(info.st_size);
    return true;
}

bool seekFile(std::FILE* file, std::int64_t offset, int origin) noexcept {
    return file != nullptr && ::fseeko(file, static_cast<off_t>(offset), origin) == 0;
}

std::int64_t tellFile(std::FILE* file) noexcept {
    return file != nullptr ? static_cast<std::int64_t>(::ftello(file)) : -1;
}

bool removeFile(const char* path) noexcept { return path != nullptr && std::remove(path) == 0; }

bool localTime(std::time_t time, std::tm& out) noexcept { return ::localtime_r(&time, &out) != nullptr; }
bool utcTime(std::time_t time, std::tm& out) noexcept { return ::gmtime_r(&time, &out) != nullptr; }

}  // namespace lumbrel::platform

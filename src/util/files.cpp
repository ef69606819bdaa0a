// Single files: existence, kind, whole-file reading and writing, size, date
// and link resolution. Every function accepts both path forms.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/file_system.h"
#include "platform/platform_traits.h"
#include "util/files_paths.h"
#include "util/my_str.h"

namespace lumbrel {

namespace {

// The POSIX form of `path`, converted into `buffer` when it is an HFS path.
struct PosixPath {
    char buffer[kMaxConvertedPathSize];
    const char* path;
    explicit PosixPath(const char* anyPath) noexcept : buffer{}, path(posixPathOf(anyPath, buffer, sizeof buffer)) {}
};

bool lookAtPath(const char* anyPath, platform::ItemInfo& info) noexcept {
    const PosixPath posix(anyPath);
    return posix.path != nullptr && platform::lookAt(posix.path, info);
}

// Closes the file however the function leaves.
struct FileCloser {
    std::FILE* file;
    ~FileCloser() {
        if (file != nullptr) std::fclose(file);
    }
};

}  // namespace

bool fileExists(const char* path, TextEncoding encoding) noexcept {
    platform::ItemInfo info;
    if (!platform::Traits::kPathEncodingConverted || encoding == kEncodingUTF8 || path == nullptr) {
        return lookAtPath(path, info);
    }
    try {
        // The path's text in UTF-8, which the file system's calls take.
        MyStr text(path, encoding);
        const char* utf8 = text.UTF8Str();
        return utf8 != nullptr && lookAtPath(utf8, info);
    } catch (...) {
        return false;
    }
}

bool isFolder(const char* path) noexcept {
    platform::ItemInfo info;
    return lookAtPath(path, info) && info.kind == platform::ItemKind::Folder;
}

char* getFileData(const char* path, std::int32_t* length, std::int16_t* status) noexcept {
    auto answer = [&](std::int32_t size, std::int16_t code) {
        if (length != nullptr) *length = size;
        if (status != nullptr) *status = code;
    };
    const PosixPath posix(path);
    std::FILE* file = posix.path != nullptr ? openRegularFile(posix.path) : nullptr;
    const FileCloser closer{file};
    std::int64_t fileLength = 0;
    if (file == nullptr || !platform::openFileLength(file, fileLength)) {
        answer(0, kFileNotOpened);
        return nullptr;
    }
    if (fileLength < 0 || fileLength > std::numeric_limits<std::int32_t>::max()) {
        answer(0, kFileNoMemory);  // the length cannot be told in 32 bits
        return nullptr;
    }
    const auto size = static_cast<std::size_t>(fileLength);
    // calloc leaves the four bytes behind the data, and any part a shrinking
    // file no longer gives, zero.
    char* block = static_cast<char*>(std::calloc(size + 4, 1));
    if (block == nullptr) {
        answer(static_cast<std::int32_t>(size), kFileNoMemory);
        return nullptr;
    }
    const std::size_t got = std::fread(block, 1, size, file);
    answer(static_cast<std::int32_t>(got), kFileRead);
    return block;
}

bool setFileData(const char* path, const char* data, std::size_t length) noexcept {
    if (data == nullptr && length > 0) return false;
    const PosixPath posix(path);
    if (posix.path == nullptr) return false;
    std::FILE* file = platform::openFile(posix.path, "wb");
    if (file == nullptr) return false;
    const bool written = length == 0 || std::fwrite(data, 1, length, file) == length;
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

std::int64_t getFileSize(const char* path) noexcept {
    const PosixPath posix(path);
    // Opened for update on purpose: callers take 0 to mean "cannot be
    // rewritten", which a read-only file is as much as a missing one.
    std::FILE* file = posix.path != nullptr ? platform::openFile(posix.path, "rb+") : nullptr;
    const FileCloser closer{file};
    if (file == nullptr || !platform::seekFile(file, 0, SEEK_END)) return 0;
    const std::int64_t size = platform::tellFile(file);
    return size > 0 ? size : 0;
}

bool writeBOM(std::FILE* file) noexcept {
    static constexpr unsigned char kBOM[3] = {0xEF, 0xBB, 0xBF};
    return file != nullptr && std::fwrite(kBOM, 1, sizeof kBOM, file) == sizeof kBOM;
}

std::uint32_t getFileModDate(const char* path) noexcept {
    platform::ItemInfo info;
    if (!lookAtPath(path, info)) return 0;
    constexpr auto kLatest = std::numeric_limits<std::uint32_t>::max();
    const std::int64_t seconds = info.modified;
    if (seconds <= 0) return 0;
    return seconds > kLatest ? kLatest : static_cast<std::uint32_t>(seconds);
}

bool resolveAlias(char* path, std::size_t pathSize) noexcept {
    if (path == nullptr || pathSize == 0) return false;
    const PosixPath posix(path);
    platform::ItemInfo info;
    if (posix.path == nullptr || !platform::lookAtItself(posix.path, info) || info.kind != platform::ItemKind::Link)
        return false;
    return platform::resolvePath(posix.path, path, pathSize);
}

}  // namespace lumbrel

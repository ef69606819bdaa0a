#include "file_reader.h"

#include "desktop/files/file_open.h"

#include <sys/stat.h>

namespace hostsim {

FileReader::~FileReader() {
    if (file_) std::fclose(file_);
}

bool FileReader::open(const std::string& path) {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    file_ = desktop::files::openToRead(path);
    if (!file_) return false;
    struct stat info {};
    if (::fstat(fileno(file_), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(file_);
        file_ = nullptr;
        return false;
    }
    size_ = static_cast<std::int64_t>(info.st_size);
    return true;
}

std::size_t FileReader::readAt(std::int64_t offset, void* buffer, std::size_t length) noexcept {
    if (!file_ || offset < 0 || offset >= size_ || length == 0) return 0;
    const auto available = static_cast<std::uint64_t>(size_ - offset);
    if (length > available) length = static_cast<std::size_t>(available);
    if (::fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) return 0;
    return std::fread(buffer, 1, length, file_);
}

bool FileReader::readExact(std::int64_t offset, void* buffer, std::size_t length) noexcept {
    return length == 0 || readAt(offset, buffer, length) == length;
}

std::string FileReader::readString(std::int64_t offset, std::size_t length) {
    std::string bytes(length, '\0');
    bytes.resize(readAt(offset, bytes.data(), length));
    return bytes;
}

std::uint16_t readBE16(const unsigned char* p) noexcept {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

std::uint32_t readBE32(const unsigned char* p) noexcept {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

std::uint64_t readBE64(const unsigned char* p) noexcept {
    return (static_cast<std::uint64_t>(readBE32(p)) << 32) | readBE32(p + 4);
}

std::uint16_t readLE16(const unsigned char* p) noexcept {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t readLE32(const unsigned char* p) noexcept {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace hostsim

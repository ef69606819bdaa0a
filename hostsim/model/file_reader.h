// Bounded reads of a file whose size is known up front: every read names its
// offset and length, and nothing is read past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace hostsim {

class FileReader {
public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // False when the file cannot be opened; errno tells why.
    bool open(const std::string& path);
    std::int64_t size() const noexcept { return size_; }

    // Reads up to `length` bytes from `offset`; answers how many were read
    // (fewer at the end of the file, 0 past it or on error).
    std::size_t readAt(std::int64_t offset, void* buffer, std::size_t length) noexcept;
    // Reads exactly `length` bytes or answers false.
    bool readExact(std::int64_t offset, void* buffer, std::size_t length) noexcept;
    std::string readString(std::int64_t offset, std::size_t length);

private:
    std::FILE* file_ = nullptr;
    std::int64_t size_ = 0;
};

// Big- and little-endian numbers from bytes.
std::uint16_t readBE16(const unsigned char* p) noexcept;
std::uint32_t readBE32(const unsigned char* p) noexcept;
std::uint64_t readBE64(const unsigned char* p) noexcept;
std::uint16_t readLE16(const unsigned char* p) noexcept;
std::uint32_t readLE32(const unsigned char* p) noexcept;

}  // namespace hostsim

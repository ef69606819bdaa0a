// One Unicode string with its UTF-8, UTF-16 and host forms, each made on
// first use and owned by the object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "util/bounded.h"
#include "util/string_functions.h"
#include "util/text_encoding.h"

// The host application's string object (opaque; made and destroyed through
// the host's string functions).
struct QXStringRef__;

namespace lumbrel {

// The platform string object of the POSIX build: an immutable, shared UTF-16
// string. Sharing stands in for the reference count of the Mac's strings.
using PlatformString = std::shared_ptr<const std::u16string>;

// The POSIX counterpart of a Mac file reference: a file named by its path.
struct FileRef {
    char path[kPathSize] = {};
};

// The host's string functions, bound by the host layer at start-up. Without
// them MyStr makes no host strings.
struct HostStringFunctions {
    QXStringRef__* (*create)(const std::uint16_t* units, std::int32_t length);
    std::int32_t (*length)(QXStringRef__* string);  // in UTF-16 units
    // Copies at most `capacity` units; returns the units copied.
    std::int32_t (*copyUnits)(QXStringRef__* string, std::uint16_t* out, std::int32_t capacity);
    void (*destroy)(QXStringRef__* string);
};
void setHostStringFunctions(const HostStringFunctions* functions) noexcept;

// A string is either absent (nothing made: a failed decoding, a null
// argument) or present, possibly empty. Every reading answers false, 0 or
// null when it is absent. The copies and the host string are made on first
// use and stay valid until normalize() changes the text or reset().
class MyStr {
public:
    MyStr() noexcept = default;
    // The localised text when `keyOrText` is a key of the string table (even
    // an empty text), otherwise the text itself; both read as UTF-8.
    explicit MyStr(const char* keyOrText);
    // The text decoded in `encoding` (UTF-8, Mac OS Roman or Windows Latin 1);
    // no string when it does not decode (invalid UTF-8, say).
    MyStr(const char* text, TextEncoding encoding);
    // A length-prefixed string (one length byte, up to 255 bytes).
    MyStr(const unsigned char* pascalText, TextEncoding encoding);
    // The number in decimal.
    explicit MyStr(std::int32_t number);
    // The platform string itself (shared).
    explicit MyStr(PlatformString string) noexcept;
    // The host string's text; destroyed afterwards when `destroy` is 1.
    MyStr(QXStringRef__* hostString, unsigned char destroy);
    // `length` UTF-16 units; 0 means up to the first 0 unit.
    MyStr(const std::uint16_t* units, std::int32_t length);
    // The file's POSIX path (at most 511 bytes: an unterminated path gives no
    // string).
    explicit MyStr(const FileRef& file);

    MyStr(const MyStr&) = delete;
    MyStr& operator=(const MyStr&) = delete;
    ~MyStr();

    // All fields empty. What they held is released as by reset(): merely
    // clearing owned copies would leak them.
    void init() noexcept;
    void reset() noexcept;  // releases the string and every copy

    bool hasString() const noexcept { return static_cast<bool>(string_); }
    const PlatformString& platformString() const noexcept { return string_; }

    // C string in `encoding` (UTF-8, Mac OS Roman, Windows Latin 1), at most
    // `max` bytes with the terminator. False (out untouched) when there is no
    // string, a character does not convert or the whole text does not fit.
    bool getString(char* out, std::size_t max, TextEncoding encoding) const;
    // Length-prefixed string in `encoding` within `max` bytes (at most 255
    // bytes of text); false (out untouched) as above.
    bool getString(unsigned char* out, std::size_t max, TextEncoding encoding) const;
    // Copies the units only when `capacity` is greater than the length (a
    // zero-filled buffer then stays terminated); nothing is written otherwise.
    bool getString(std::uint16_t* out, std::size_t capacity) const noexcept;

    std::int32_t getLen() const noexcept;  // in UTF-16 units
    // A zero-filled block of (length + 1) * 4 bytes holding the text as
    // UTF-8, up to the first unit that has none (a lone surrogate).
    const char* UTF8Str();
    // The units with a terminating 0; the length goes through `length` when
    // it is not null (untouched when there is no string).
    const std::uint16_t* uStr(std::int32_t* length);
    std::uint16_t* getUString() const;     // caller frees with free()
    // The host string, made once and cached; null when there is no string or
    // no host string functions are set.
    QXStringRef__* qxStr();
    // Unicode Normalization Form C. When no copy can be made the string stays
    // as it was; when the text changes, the copies made so far are released.
    void normalize();

    // The POSIX path (UTF-8, 512 bytes): a path beginning with "/" as it is
    // (cut to 511 bytes at a character boundary), an HFS path converted; false
    // with `out` unchanged when conversion fails.
    bool getPath(char* out) const;

private:
    void releaseCopies() noexcept;

    PlatformString string_;
    std::unique_ptr<char[]> utf8_;
    std::unique_ptr<std::uint16_t[]> utf16_;
    QXStringRef__* host_ = nullptr;
};

}  // namespace lumbrel

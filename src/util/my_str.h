// One Unicode string with its UTF-8, UTF-16 and host forms, each made on
// first use and owned by the object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "util/bounded.h"
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

class MyStr {
public:
    MyStr() noexcept = default;
    // The localised text when `keyOrText` is a key of the string table (even
    // an empty text), otherwise the text itself; both read as UTF-8.
    explicit MyStr(const char* keyOrText);
    // The text decoded in `encoding`; no string when it does not decode.
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
    // The file's POSIX path (at most 511 bytes).
    explicit MyStr(const FileRef& file);

    MyStr(const MyStr&) = delete;
    MyStr& operator=(const MyStr&) = delete;
    ~MyStr();

    void init() noexcept;   // all fields empty, nothing released
    void reset() noexcept;  // releases the string and every copy

    bool hasString() const noexcept { return static_cast<bool>(string_); }
    const PlatformString& platformString() const noexcept { return string_; }

    // C string in `encoding`, at most `max` bytes with the terminator.
    // False (out untouched) when there is no string or it does not convert.
    bool getString(char* out, std::size_t max, TextEncoding encoding) const;
    // Length-prefixed string in `encoding` within `max` bytes.
    bool getString(unsigned char* out, std::size_t max, TextEncoding encoding) const;
    // Copies the units only when `capacity` is greater than the length.
    bool getString(std::uint16_t* out, std::size_t capacity) const noexcept;

    std::int32_t getLen() const noexcept;  // in UTF-16 units
    const char* UTF8Str();                 // owned by the object
    const std::uint16_t* uStr(std::int32_t* length);  // owned by the object
    std::uint16_t* getUString() const;     // caller frees with free()
    QXStringRef__* qxStr();                // made once and cached
    void normalize();                      // Unicode Normalization Form C

    // The POSIX path (UTF-8, 512 bytes): a path beginning with "/" as it
    // is, an HFS path converted; `out` unchanged when conversion fails.
    bool getPath(char* out) const;

private:
    PlatformString string_;
    std::unique_ptr<char[]> utf8_;
    std::unique_ptr<std::uint16_t[]> utf16_;
    QXStringRef__* host_ = nullptr;
};

// ---- free string functions ---------------------------------------------------

// Every byte equal to `from` becomes `to`, in place.
void replace(char* text, signed char from, signed char to) noexcept;

// Every byte through the C library's lower-casing, in place (the module's
// `__tolower`; the double underscore is reserved in C++).
void tolowerInPlace(char* text) noexcept;

// Splits `text` at `separator` and calls back with each piece (at most 255
// bytes) and `value`; false stops. True for an empty text.
using EnumStringCallback = bool (*)(char* piece, std::intptr_t value);
bool EnumString(const char* text, signed char separator, EnumStringCallback callback, std::intptr_t value);
// The ";" form: appends ";" to `text` in place when it does not end in one
// (when `textSize` leaves room), then splits it.
bool EnumString(char* text, std::size_t textSize, EnumStringCallback callback, std::intptr_t value);

std::size_t wstrlen(const std::uint16_t* text) noexcept;

// In place between Mac OS Roman and UTF-8, at most `max` bytes with the
// terminator; the text is unchanged when the conversion fails.
bool HostToUTF8(char* text, std::size_t max);
bool UTF8ToHost(char* text, std::size_t max);

}  // namespace lumbrel

// Small in-place text helpers shared by the module: byte replacement and
// lower-casing, splitting lists such as ".tif;.eps", UTF-16 length, and the
// in-place conversions between the host encoding (Mac OS Roman) and UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumbrel {

// Every byte equal to `from` becomes `to`, in place.
void replace(char* text, signed char from, signed char to) noexcept;

// Every byte through the C library's lower-casing, in place (the module's
// `__tolower`; names with a double underscore are reserved in C++).
void tolowerInPlace(char* text) noexcept;

// Splits `text` at `separator` and calls back with each piece (cut to 255
// bytes) and `value`; a false answer stops. An empty piece between two
// separators is passed on; a separator at the very end gives no empty piece.
// Returns the last answer; true for an empty text (no call).
using EnumStringCallback = bool (*)(char* piece, std::intptr_t value);
bool EnumString(const char* text, signed char separator, EnumStringCallback callback, std::intptr_t value);

// The ";" form: when `text` does not end in ";", one is first appended in
// place (and stays) provided `textSize` leaves room for it; without room the
// text is split as it is. An empty text is left empty.
bool EnumString(char* text, EnumStringCallback callback, std::intptr_t value, std::size_t textSize);
template <std::size_t N>
bool EnumString(char (&text)[N], EnumStringCallback callback, std::intptr_t value) {
    return EnumString(text, callback, value, N);
}

// Number of 16-bit units before the first 0 unit; 0 for null.
std::size_t wstrlen(const std::uint16_t* text) noexcept;

// In place from Mac OS Roman to UTF-8 within `max` bytes with the
// terminator; false, with the text unchanged, when it does not fit.
bool HostToUTF8(char* text, std::size_t max);
// In place from UTF-8 to Mac OS Roman within `max` bytes with the terminator.
// The text goes through MyStr(const char*), so a key of the string table
// comes back as its localised text. False, with the text unchanged, when it
// is not UTF-8, has a character without a Mac OS Roman byte or does not fit.
bool UTF8ToHost(char* text, std::size_t max);

}  // namespace lumbrel

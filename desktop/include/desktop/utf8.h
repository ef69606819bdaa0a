// UTF-8 and UTF-16 conversions the desktop and its clients share, as an
// operating system's text services would offer them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace desktop {

// Appends the code point as UTF-8 (the caller passes valid scalar values).
inline void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The code point at units[i], a surrogate pair taken whole (i moves past its
// second half); a lone surrogate reads as U+FFFD.
template <typename Unit>
char32_t nextUtf16(const Unit* units, std::size_t count, std::size_t& i) {
    char32_t c = static_cast<std::uint16_t>(units[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count) {
        const char32_t low = static_cast<std::uint16_t>(units[i + 1]);
        if (low >= 0xDC00 && low <= 0xDFFF) {
            ++i;
            return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        }
    }
    return (c >= 0xD800 && c <= 0xDFFF) ? char32_t{0xFFFD} : c;
}

// UTF-16 code units as UTF-8; lone surrogates become U+FFFD.
template <typename Unit>
std::string utf16ToUtf8(const Unit* units, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) appendUtf8(out, nextUtf16(units, count, i));
    return out;
}

}  // namespace desktop

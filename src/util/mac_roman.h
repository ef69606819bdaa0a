// The 8-bit encodings the module meets besides UTF-8: Mac OS Roman (the host
// encoding on the Mac: length-prefixed strings and file names of the older
// platform calls) and Windows Latin 1 (code page 1252). Both keep ASCII as it
// is; the tables give the Unicode of the upper half.
#pragma once

#include <cstdint>

namespace lumbrel {

// Mac OS Roman as Apple maps it today (0xDB is the euro sign, 0xF0 the Apple
// logo in the private use area). Every byte has a character.
char16_t macRomanToUnicode(unsigned char byte) noexcept;
// False when the character has no Mac OS Roman byte.
bool unicodeToMacRoman(char32_t codePoint, unsigned char& byte) noexcept;

// Code page 1252; five bytes of its 0x80-0x9F block have no character, and
// decoding them fails.
bool windowsLatin1ToUnicode(unsigned char byte, char16_t& unit) noexcept;
bool unicodeToWindowsLatin1(char32_t codePoint, unsigned char& byte) noexcept;

}  // namespace lumbrel

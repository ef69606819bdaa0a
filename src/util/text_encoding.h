// Text encoding selectors as the module's string interfaces take them. The
// values are those of the Mac platform's string encodings, which the stored
// data and the host calls use.
#pragma once

#include <cstdint>

namespace lumbrel {

using TextEncoding = std::uint32_t;

inline constexpr TextEncoding kEncodingMacRoman = 0;           // the host encoding on the Mac
inline constexpr TextEncoding kEncodingWindowsLatin1 = 0x0500;  // code page 1252
inline constexpr TextEncoding kEncodingUTF16 = 0x0100;
inline constexpr TextEncoding kEncodingUTF8 = 0x08000100;

}  // namespace lumbrel

// PostScript written into the host's print output at the current box, and
// the formatting the label snippet needs, independent of the C locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform_traits.h"

namespace lumbrel {

// Sends `length` bytes of `data` into the host's PostScript output; length
// 0 means up to the first NUL byte. Answers 0.
std::int32_t psSend(const char* data, std::int32_t length);

// Formats like vsnprintf into a 4096-byte buffer and sends the result, cut
// to 4095 bytes when longer. Answers 0.
std::int32_t psPrintf(const char* format, ...) LUMBREL_PRINTF_FORMAT(1, 2);

// The number with exactly two decimals, rounded as printf's "%.2f" rounds,
// always with a full stop whatever the C locale says.
std::string formatFixed2(double value);

// The bytes as the inside of a PostScript string literal: backslash and both
// parentheses get a backslash in front; control bytes (below 0x20, and
// 0x7F) and bytes from 0x80 up are written as three-digit octal escapes
// ("\351"); every other byte stays as it is.
std::string escapePSString(std::string_view text);

// True when `name` can stand after a "/" as one PostScript name: 1 to 127
// printable ASCII characters, none of them white space or a delimiter.
bool isPlainPSName(const char* name) noexcept;

}  // namespace lumbrel

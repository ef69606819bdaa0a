// Text for the system's narrow-character window functions: on Windows the
// "A" functions, which take the system's ANSI code page; elsewhere they take
// UTF-8 as it is.
#pragma once

#include <cstddef>

namespace lumbrel::platform {

// The first `maxCharacters` characters of the UTF-8 `text` (UTF-16 units on
// Windows, a pair never split; code points elsewhere) in the narrow form,
// into `out` with its terminator, fewer characters when they do not fit in
// outSize bytes. Characters the code page lacks become its default
// character. Answers the bytes written before the terminator; 0 with `out`
// empty when `text` is null or no valid UTF-8; nothing written when outSize
// is 0.
std::size_t toNarrowText(const char* text, std::size_t maxCharacters, char* out, std::size_t outSize) noexcept;

}  // namespace lumbrel::platform

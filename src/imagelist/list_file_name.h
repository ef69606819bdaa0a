// The image list's file name as typed in its dialog. The list is written
// into the temporary folder under that name, so the name must stay a plain
// name there: not empty, no path separator, not "." or "..", at most 255
// bytes (the longest name a file system takes), and none of the characters
// the system keeps out of names (on Windows a drive's or stream's colon,
// wildcards, control characters).
#pragma once

#include <cstddef>

namespace lumbrel {

inline constexpr std::size_t kMaxListFileName = 255;

bool isPlainListFileName(const char* name) noexcept;

}  // namespace lumbrel

// A name typed by the user for a file in a folder the code chose: it must
// stay a plain name in that folder.
#pragma once

#include <cstddef>

namespace lumbrel {

// The longest name a file system takes, in bytes.
inline constexpr std::size_t kMaxFileNameLength = 255;

// True for a name that is not empty, not "." or "..", holds no path
// separator ("/" and the platform's own) and is at most 255 bytes long.
bool isPlainFileName(const char* name) noexcept;

}  // namespace lumbrel

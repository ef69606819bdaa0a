// Replacing a file's content without ever leaving a half-written file: the
// new bytes go to a temporary file beside it, which is then renamed into place.
#pragma once

#include <cstddef>

namespace lumbrel::platform {

// Writes `size` bytes as the new content of `path`. On any failure the file
// at `path` is left exactly as it was and false is returned. An existing
// file keeps its permissions.
bool replaceFileContent(const char* path, const char* data, std::size_t size) noexcept;

}  // namespace lumbrel::platform

// Opening a file named from outside for reading or writing: only regular
// files are used (a FIFO, a device or a socket may block an open or a read
// for ever, or never end).
#include <cstdio>

#include "platform/file_system.h"
#include "util/files_paths.h"

namespace lumbrel {

std::FILE* openRegularFile(const char* posixPath) noexcept { return platform::openRegularFile(posixPath); }

std::FILE* createRegularFile(const char* posixPath) noexcept { return platform::createRegularFile(posixPath); }

}  // namespace lumbrel

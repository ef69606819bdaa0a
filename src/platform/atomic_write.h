// Saving a file's whole content with as little risk to it as the file system
// allows. Where the folder can take a new file, the bytes go to a temporary
// file beside the old one, which is then renamed into place: the file is
// never seen half-written. Where only the file itself may be written (an
// administrator made the folder read-only but left the file writable), it is
// overwritten in place instead.
#pragma once

#include <cstddef>

namespace lumbrel::platform {

// Writes `size` bytes as the new content of `path` (a POSIX path):
// - an existing path that is not a regular file, or a file the process may
//   not open for writing, is left as it is: nothing is written, false;
// - an existing file in a folder that takes no new file is overwritten in
//   place, then cut to the new length and synced;
// - otherwise the new content replaces the file atomically; the new file
//   keeps the old one's permissions, and its owner and group as far as the
//   process may set them. A file made new gets the permissions the process
//   gives new files (0666 less its umask; the umask is never changed).
// On any failure of the atomic replace the old file is left exactly as it
// was and no temporary file remains.
// Windows: a read-only file counts as one the process may not write; the
// replacement (ReplaceFileW) keeps the old file's attributes, a new file
// is moved into place with write-through.
bool saveFileContent(const char* path, const char* data, std::size_t size) noexcept;

}  // namespace lumbrel::platform

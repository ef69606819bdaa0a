// Writing a file over what may already be there, so that nothing but a
// regular file is ever replaced and a half-written file is never seen:
//
// - an existing target must be a regular file, or a symbolic link to one
//   (the link stays and its file is replaced); a folder, device, FIFO,
//   socket or a link to nothing is refused and left as it is;
// - whole files go to a new temporary file of a unique name (created
//   exclusively, never through a link) in the target's own folder, which
//   is then renamed over the target;
// - the replaced file's permission bits carry over; a new file gets those
//   the process's umask allows.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace desktop::files {

// Puts `bytes` at `path`. False with `reason` (what is wrong, without the
// path) when the target is refused or the file cannot be written; the
// target is then unchanged.
bool replaceFile(const std::string& path, std::string_view bytes, std::string& reason);

// For a file written as it grows (a transcript, read while it is written):
// the target itself, emptied, refused by the same rules; a new file is
// created exclusively. nullptr with `reason` on failure.
std::FILE* openToRewrite(const std::string& path, std::string& reason);

}  // namespace desktop::files

// Whether a path names its place whole, not from some working folder.
#pragma once

namespace lumbrel {

// True for a path that begins with "/", or in the Windows build one that
// begins with a drive ("C:\Jobs", "C:/Jobs") or a server ("\\server\share").
bool isWholePath(const char* path) noexcept;

}  // namespace lumbrel

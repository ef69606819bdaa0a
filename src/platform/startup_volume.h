// How volume names of colon-separated (HFS) paths map onto the POSIX file
// tree. The POSIX build has no volumes of its own: the startup volume is the
// root of the tree, and any other volume is the folder of that name under
// the mount folder, as on Mac OS X.
#pragma once

// Windows has no HFS paths (Traits::kHfsPaths is false there), and its
// drives ("C:") are no volumes of this kind.
namespace lumbrel::platform {

// Compared without regard to ASCII case, as HFS compares names.
inline constexpr const char* kStartupVolumeName = "Macintosh HD";
inline constexpr const char* kVolumesFolder = "/Volumes";

}  // namespace lumbrel::platform

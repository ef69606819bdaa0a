// The shell's dropped-file list a Windows host hands to a module with a
// drag: a DROPFILES header and the paths in UTF-16, in global memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hostsim {

// The list of the paths (UTF-8, Windows form), owned by the caller; 0 when
// it cannot be made or on a host that has no such lists.
std::intptr_t makeDropFileList(const std::vector<std::string>& paths);
void freeDropFileList(std::intptr_t list) noexcept;

}  // namespace hostsim

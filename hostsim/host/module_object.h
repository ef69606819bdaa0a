// Where the module's loadable object is in an "X.xnt" entry of an XTensions
// folder, which differs between the builds: a bundle folder holding "X.so"
// on POSIX, the DLL "X.xnt" itself on Windows. Each build's loader defines it.
#pragma once

#include <filesystem>
#include <string>

namespace hostsim {

// The object to load for `entry`; false with `error` when `entry` is no module.
bool moduleObjectIn(const std::filesystem::path& entry, std::filesystem::path& object, std::string& error);

}  // namespace hostsim

// Where the module's loadable object is in an "X.xnt" entry of an XTensions
// folder, which differs between the builds: a bundle folder holding "X.so"
// on POSIX, the DLL "X.xnt" itself on Windows. Each build's loader defines it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace hostsim {

// The object to load for `entry`; false with `error` when `entry` is no module.
bool moduleObjectIn(const std::filesystem::path& entry, std::filesystem::path& object, std::string& error);

// The whole object file, for reading its export table: at least
// `minimumSize` bytes and at most 512 MiB. False with `error` naming the
// `format` the file is no readable object of.
bool readModuleObject(const std::string& file, std::size_t minimumSize, const char* format, std::string& bytes,
                      std::string& error);

}  // namespace hostsim

// Where the running code lives: the file of the loaded module that holds a
// given address, and the host application's own file. The module finds its
// bundle (and so its resources and settings) from these.
#pragma once

#include <cstddef>

namespace lumbrel::platform {

// The absolute path of the loaded module file (shared library or program)
// that contains `address` (the address of any object or function of it).
// False (out untouched) when no module holds it or the path does not fit
// in `outSize` bytes with its terminator.
bool findModuleFile(const void* address, char* out, std::size_t outSize) noexcept;

// The absolute path of the running program's file; false as above.
bool findApplicationFile(char* out, std::size_t outSize) noexcept;

}  // namespace lumbrel::platform

// Finding the module's own bundle. The POSIX bundle is the folder
// "XTensions/Lumbrel.xnt" holding the module file "Lumbrel.so" and the
// folder "Resources"; the bundle folder is the module's path (its settings
// file "Lumbrel.ini" lies beside it), and "Resources" is where string tables
// and other resources are read from. The Windows module is one file,
// "XTensions\\Lumbrel.xnt", holding its resources itself; that file is the
// module's path, and its settings file "Lumbrel.ini" lies beside it.
#pragma once

#include <cstddef>

namespace lumbrel {

inline constexpr const char* kBundleIdentifier = "com.havrenkamp.quark.lumbrel";

// The bundle folder of a module file: its folder, when that folder's name
// ends in ".xnt" and it holds a folder "Resources". False (out untouched)
// otherwise or when the result does not fit in outSize.
bool bundleOfModuleFile(const char* moduleFile, char* out, std::size_t outSize);

// Locates the module and sets the module path and (for a bundle) the
// resource folder. With an identifier the loaded module is taken; without
// one "XTensions/Lumbrel.xnt" beside the host application. Shows
// "Internal error: gBdl = NULL" when there is no bundle; always prints
// "<product> <version>: <module path>" on standard output. True when a
// bundle was found.
bool setupXTPath(const char* bundleIdentifier);

}  // namespace lumbrel

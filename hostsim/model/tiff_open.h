// TIFF files opened by their UTF-8 names. libtiff's narrow open reads a name
// in the ANSI code page on Windows; there the wide open takes it.
#pragma once

#include <tiffio.h>

#include <string>

namespace hostsim {

// libtiff's open with its `mode` ("rm" reads without memory mapping, so a
// file that shrinks while it is read cannot fault) and `options` (may be
// nullptr). nullptr when libtiff refuses it (the handlers of `options` say
// why) or the name is no UTF-8.
TIFF* openTiff(const std::string& path, const char* mode, TIFFOpenOptions* options);

}  // namespace hostsim

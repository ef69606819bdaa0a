#include "tiff_open.h"

#include "desktop/files/file_open.h"

namespace hostsim {

TIFF* openTiff(const std::string& path, const char* mode, TIFFOpenOptions* options) {
#if defined(_WIN32)
    const std::filesystem::path name = desktop::files::pathOf(path);
    return name.empty() ? nullptr : TIFFOpenWExt(name.c_str(), mode, options);
#else
    return TIFFOpenExt(path.c_str(), mode, options);
#endif
}

}  // namespace hostsim

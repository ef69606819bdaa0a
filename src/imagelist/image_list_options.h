// What the image list is to hold and where it goes, as the dialog fills it.
#pragma once

#include <cstdint>

#include "util/bounded.h"

namespace lumbrel {

struct ImageListOptions {
    char fileName[kShortTextSize] = {};  // a name inside the temporary folder
    std::int16_t fullPath = 0;           // 1: whole paths instead of file names
    std::int16_t type = 0;               // 1: file type, colour space and resolution
    std::int16_t imgSize = 0;            // 1: the picture's size
    std::int16_t openWith = 1;           // the open-with pop-up's item, from 1
    std::int16_t sort = 0;               // 1: sorted by name instead of page by page
    std::int16_t effectiveResolution = 0;  // 1: effective ppi and link status after the size
};

// The section of the settings file and its keys.
inline constexpr const char* kImgListSection = "ImgList";
inline constexpr const char* kKeyFullPath = "FullPath";
inline constexpr const char* kKeyType = "Type";
inline constexpr const char* kKeyImgSize = "ImgSize";
inline constexpr const char* kKeyOpenWith = "OpenWith";
inline constexpr const char* kKeySort = "Sort";
inline constexpr const char* kKeyEffectiveResolution = "EffectiveResolution";

}  // namespace lumbrel

// One line of the image list for one picture box: the prefix, then six
// tab-separated fields (name, status, file type, colour space, resolution,
// size), empty when switched off but always with their tabs.
#pragma once

#include <cstddef>

#include "imagelist/image_list_options.h"
#include "xtapi.h"

namespace lumbrel {

// The longest line; longer ones are cut to it.
inline constexpr std::size_t kMaxImageLine = 1023;

// The line of the box into `out` (kMaxImageLine + 1 bytes); its length, 0
// (and an empty line) when the box has no picture path.
std::size_t buildImageLine(XTBoxID box, const ImageListOptions& options, const char* prefix, char* out);

// The size field for a picture of width and height in 16.16 points: "50.8 mm
// x 25.4 mm" for the metric units (1 and 7), "2.0 inch x 1.0 inch" for every
// other unit code.
void formatPictureSize(Fixed width, Fixed height, std::int16_t unit, char* out, std::size_t outSize);

// The localised name of a colour space; empty for codes without one.
void colourSpaceName(OSType colourSpace, char* out, std::size_t outSize);

}  // namespace lumbrel

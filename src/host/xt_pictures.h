// Pictures of picture boxes: the picture file's path and type, the host's
// status, colour space and resolution, and importing a file into a box.
#pragma once

#include <cstddef>
#include <cstdint>

#include "filetypes/type_codes.h"
#include "util/bounded.h"
#include "xtapi.h"

namespace lumbrel {

// 1 and the picture's POSIX path in `buffer` (callers pass kPathSize bytes)
// when the box is a picture box with a picture file; when `type` is given it
// receives the file's type by getFileType (kTypeNone without a file). 0 and
// an empty buffer otherwise, also when the path does not fit whole: a path
// cut short would name another file.
int XTGetBoxPath(XTBoxID box, char* buffer, std::size_t size, FileTypeCode* type = nullptr);

// The host's picture status (XT_STATUS_...); when `text` is given, the
// status text, UTF-8, cut to `textSize` (up to 255 bytes with the default).
std::int16_t XTGetPictureStatus(XTBoxID box, char* text = nullptr, std::size_t textSize = kShortTextSize);

// The picture's colour space (XT_CS_...), 0 without a picture.
OSType XTGetColorSpace(XTBoxID box);

// The picture's own size in points, 16.16, placed at (0, 0); false (bounds
// untouched) without a picture.
bool XTGetPictBounds(XTBoxID box, XTFixedRect* bounds);

// The picture's resolution as the host reports it.
float XTGetPictResolution(XTBoxID box);

// Both resolutions of the picture, dots per inch. Hosts that report only one
// give it for both axes. False without a picture.
struct PictureResolution {
    double horizontal = 0.0;
    double vertical = 0.0;
};
bool XTGetPictResolutionXY(XTBoxID box, PictureResolution* resolution);

// The picture's scale in its box, 16.16 (65536 = 100 %) per axis; false
// without a picture or when the host does not report scales.
bool XTGetPictScale(XTBoxID box, Fixed* horizontal, Fixed* vertical);

// Imports the file into the box through the host's import service: the
// host's result, 0 on success; -1 when the import could not be started (no
// document, no box, no path). XTLoadBox fills a new box, XTReplacePict
// replaces the picture of an existing one; the host does both alike.
XTError XTLoadBox(XTBoxID box, const char* path);
XTError XTReplacePict(XTBoxID box, const char* path);

}  // namespace lumbrel

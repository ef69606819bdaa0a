// Slug data: small byte blocks the host keeps in the document with a box
// (kind XT_SLUG_BOX) or with its picture (kind XT_SLUG_PICTURE), under a
// four-character key. Owner 0 is the current box.
#pragma once

#include <cstddef>
#include <cstdint>

#include "util/bounded.h"
#include "xtapi.h"

namespace lumbrel {

// Copies at most `size` bytes of the slug into `buffer`; answers the bytes
// copied, or -1 when the host has no such slug or reports an error.
std::int32_t getslugdata(XTBoxID owner, std::int16_t kind, OSType key, void* buffer, std::int32_t size);

// The slug as a new host handle (dispose with xt_disposehandle), or 0.
XTHandle getslug(XTBoxID owner, std::int16_t kind, OSType key);

// Stores `length` bytes as the slug. On success the document is marked
// changed; on a host error the host's error display shows it. Answers 0, the
// host's error, -108 when no handle could be had, -50 for a negative length.
XTError xt_setslugdata(XTBoxID owner, std::int16_t kind, OSType key, const void* bytes, std::int32_t length);

// The image name kept with the box by the drop (box slug 'BDIC') into
// `buffer` (kShortTextSize bytes), terminated; its length, 0 when none.
std::int32_t getImgName(XTBoxID box, char* buffer, std::size_t size = kShortTextSize);

// The picture path when the box is a picture box that has one, otherwise
// the image name; `buffer` holds kPathSize bytes. Its length, 0 when neither.
std::int32_t getPathOrName(XTBoxID box, char* buffer, std::size_t size = kPathSize);

}  // namespace lumbrel

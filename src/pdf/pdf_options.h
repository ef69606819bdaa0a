// The page and page box of PDF pictures, through the host's PDF module. The
// module never reads a PDF itself.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// Page boxes by the host module's codes (the pop-up lists them in this order).
inline constexpr std::int16_t kPageBoxMedia = 0;
inline constexpr std::int16_t kPageBoxTrim = 3;

// The number of pages of the PDF at `path`; 0 when the file cannot be
// opened or the host has no PDF module.
std::int32_t getPDFNumPages(const char* path);

// The page now placed in the box, counted from 1; `pageBox`, when given,
// receives the page box. Page 1 and the media box when the module cannot tell.
std::int32_t getPDFPageNum(XTBoxID box, std::int16_t* pageBox = nullptr);

// The options for the next PDF import: page (0 counts as 1) and page box.
// The module's status, 0 when accepted; -1 without the module.
std::int16_t setPDFImportOptions(std::int32_t page, std::int16_t pageBox);

}  // namespace lumbrel

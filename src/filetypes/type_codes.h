// Four-character type codes of picture files. A code is a 32-bit value whose
// most significant byte is the first character, as the Mac file system and
// the host hand them over.
#pragma once

#include <cstdint>

#include "util/four_char_code.h"

namespace lumbrel {

using FileTypeCode = std::uint32_t;

inline constexpr FileTypeCode kTypeNone = 0;  // no type known
inline constexpr FileTypeCode kTypeTIFF = fourCC("TIFF");
inline constexpr FileTypeCode kTypeEPSF = fourCC("EPSF");
inline constexpr FileTypeCode kTypePDF = fourCC("PDF ");  // with a trailing blank
inline constexpr FileTypeCode kTypeJPEG = fourCC("JPEG");
inline constexpr FileTypeCode kTypeZIP = fourCC("ZIP ");
inline constexpr FileTypeCode kTypeTEXT = fourCC("TEXT");
inline constexpr FileTypeCode kTypeOTTO = fourCC("OTTO");  // OpenType font
inline constexpr FileTypeCode kTypeGIF = fourCC("GIFf");   // lower-case f at the end
inline constexpr FileTypeCode kTypePSD = fourCC("8BPS");   // Photoshop document

static_assert(kTypeTIFF == 0x54494646);
static_assert(kTypePDF == 0x50444620);

}  // namespace lumbrel

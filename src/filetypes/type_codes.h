// Four-character type codes of picture files. A code is a 32-bit value whose
// most significant byte is the first character, as the Mac file system and
// the host hand them over.
#pragma once

#include <cstdint>

namespace lumbrel {

using FileTypeCode = std::uint32_t;

// The code of a four-character text, first character in the high byte.
constexpr FileTypeCode fourCharCode(const char (&text)[5]) noexcept {
    return (static_cast<FileTypeCode>(static_cast<unsigned char>(text[0])) << 24) |
           (static_cast<FileTypeCode>(static_cast<unsigned char>(text[1])) << 16) |
           (static_cast<FileTypeCode>(static_cast<unsigned char>(text[2])) << 8) |
           static_cast<FileTypeCode>(static_cast<unsigned char>(text[3]));
}

inline constexpr FileTypeCode kTypeNone = 0;  // no type known
inline constexpr FileTypeCode kTypeTIFF = fourCharCode("TIFF");
inline constexpr FileTypeCode kTypeEPSF = fourCharCode("EPSF");
inline constexpr FileTypeCode kTypePDF = fourCharCode("PDF ");  // with a trailing blank
inline constexpr FileTypeCode kTypeJPEG = fourCharCode("JPEG");
inline constexpr FileTypeCode kTypeZIP = fourCharCode("ZIP ");
inline constexpr FileTypeCode kTypeTEXT = fourCharCode("TEXT");
inline constexpr FileTypeCode kTypeOTTO = fourCharCode("OTTO");  // OpenType font
inline constexpr FileTypeCode kTypeGIF = fourCharCode("GIFf");   // lower-case f at the end
inline constexpr FileTypeCode kTypePSD = fourCharCode("8BPS");   // Photoshop document

static_assert(kTypeTIFF == 0x54494646);
static_assert(kTypePDF == 0x50444620);

}  // namespace lumbrel

// Four-character codes as the host hands them over: a 32-bit value whose most
// significant byte is the first character. Picture file types, picture colour
// spaces and slug keys all use them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hostsim {

using FourCC = std::uint32_t;

constexpr FourCC fourCC(const char (&text)[5]) noexcept {
    return (static_cast<FourCC>(static_cast<unsigned char>(text[0])) << 24) |
           (static_cast<FourCC>(static_cast<unsigned char>(text[1])) << 16) |
           (static_cast<FourCC>(static_cast<unsigned char>(text[2])) << 8) |
           static_cast<FourCC>(static_cast<unsigned char>(text[3]));
}

// Picture file types, decided by the file's content (never by its name).
inline constexpr FourCC kFileTypeNone = 0;
inline constexpr FourCC kFileTIFF = fourCC("TIFF");
inline constexpr FourCC kFileJPEG = fourCC("JPEG");
inline constexpr FourCC kFilePNG = fourCC("PNGf");
inline constexpr FourCC kFilePDF = fourCC("PDF ");
inline constexpr FourCC kFileEPS = fourCC("EPSF");
inline constexpr FourCC kFilePSD = fourCC("8BPS");
inline constexpr FourCC kFileGIF = fourCC("GIFf");

// Picture colour spaces as the host reports them. 0 stands for a colour space
// the host has no code for (multichannel images, PDF pages).
inline constexpr FourCC kColorNone = 0;
inline constexpr FourCC kColorRGB = fourCC("QRGB");
inline constexpr FourCC kColorCMYK = fourCC("QCMK");
inline constexpr FourCC kColorGray = fourCC("QGRY");
inline constexpr FourCC kColorLab = fourCC("QLAB");
inline constexpr FourCC kColorBitmap = fourCC("QBIT");
inline constexpr FourCC kColorIndexed = fourCC("QIDX");

// True when all four bytes are printable ASCII (space to '~'), so the code
// can be written as its four characters.
bool isPrintableFourCC(FourCC code) noexcept;

// The four characters of a code (bytes as they are, printable or not).
std::string fourCCText(FourCC code);

// The code of a text of exactly four printable ASCII characters.
std::optional<FourCC> fourCCFromText(std::string_view text) noexcept;

}  // namespace hostsim

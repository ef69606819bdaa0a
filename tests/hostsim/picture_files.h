// Real picture files made on the fly for the import tests: TIFF, JPEG and
// PNG through their libraries, PDF, PSD, GIF and EPS written byte by byte.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hostsim::test {

// Files by their UTF-8 names; each writer throws std::runtime_error when it cannot write.
void writeBytes(const std::string& path, std::string_view bytes);

struct TiffSpec {
    std::uint32_t width = 6, height = 4;
    std::uint16_t photometric = 2;  // PHOTOMETRIC_RGB
    std::uint16_t samples = 3;
    std::uint16_t bits = 8;
    std::uint16_t extraSamples = 0;  // trailing alpha samples
    std::uint16_t inkset = 0;        // written when not 0
    std::optional<float> xres = std::nullopt, yres = std::nullopt;
    std::uint16_t unit = 2;  // RESUNIT_INCH
    std::uint32_t rowsPerStrip = 0;  // 0: one strip
};
void writeTiff(const std::string& path, const TiffSpec& spec);

struct JpegSpec {
    int width = 16, height = 8;
    int components = 3;  // 1 grey, 3 RGB (stored as YCbCr), 4 CMYK
    bool ycck = false;   // four components stored as YCCK
    int densityUnit = 1; // 0 aspect only, 1 dpi, 2 dots per cm
    int densityX = 72, densityY = 72;
};
void writeJpeg(const std::string& path, const JpegSpec& spec);

struct PngSpec {
    std::uint32_t width = 5, height = 3;
    int colorType = 2;  // PNG_COLOR_TYPE_RGB
    int bitDepth = 8;
    std::optional<std::uint32_t> pixelsPerMetre = std::nullopt;
    bool interlaced = false;
};
void writePng(const std::string& path, const PngSpec& spec);

// Three pages whose boxes differ: media box on the root page-tree node, a
// crop box and /Rotate 90 on an inner node, page boxes of their own on pages.
std::string threePagePdf();

struct PsdSpec {
    std::uint32_t width = 8, height = 5;
    std::uint16_t channels = 3;
    std::uint16_t depth = 8;
    std::uint16_t mode = 3;  // RGB
    std::optional<double> dpi = std::nullopt;
    bool rle = false;
};
std::string psdFile(const PsdSpec& spec);

// A decodable GIF (every pixel coded after a clear code, so no LZW tables).
std::string gifFile(std::uint16_t width, std::uint16_t height);

// EPS text from its header comment lines and body lines; the %!PS-Adobe
// line comes first.
std::string epsText(const std::vector<std::string>& header, const std::vector<std::string>& body = {});
// The same with a DOS binary header in front and a fake preview behind.
std::string binaryEps(const std::string& postscript, std::uint32_t previewBytes = 16);

// Sets value `index` of a SHORT or LONG tag in the first directory of a
// little-endian TIFF (for making broken files); false when not found.
bool patchTiffTag(std::string& bytes, std::uint16_t tag, std::uint32_t index, std::uint32_t value);

}  // namespace hostsim::test

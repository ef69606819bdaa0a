// Real font metrics and glyphs through FreeType. One engine per host
// runtime; it reads each font file once, by its UTF-8 name, and keeps the
// face over the file's bytes in memory.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace hostsim::render {

// One glyph as an 8-bit coverage bitmap, placed relative to the pen.
struct GlyphBitmap {
    int width = 0, rows = 0;
    int left = 0, top = 0;  // pixels right of the pen and above the baseline
    std::uint8_t* buffer = nullptr;  // rows of `pitch` bytes; valid until the next call
    int pitch = 0;
    double advance = 0.0;  // pixels
};

class FontEngine {
public:
    FontEngine();
    ~FontEngine();
    FontEngine(const FontEngine&) = delete;
    FontEngine& operator=(const FontEngine&) = delete;

    // False when FreeType cannot start; error() says why.
    bool ready() const noexcept;
    // The last failure: a font file missing or unreadable, FreeType not started.
    const std::string& error() const noexcept { return error_; }

    // The advance width of the glyph for one character (a code point, or a
    // UTF-16 code unit of the BMP) at `size` points, in points; a lone surrogate or a character the font lacks
    // gives the width of the font's missing-glyph shape. Nothing when the
    // font cannot be had.
    std::optional<double> advance(std::int16_t fontID, double size, std::uint32_t codePoint);

    // The glyph of a code point rendered anti-aliased at hPixels x vPixels
    // per em, with the pen at a fraction of a pixel (0 <= shift < 1). False
    // when the font cannot be had.
    bool glyph(std::int16_t fontID, double hPixels, double vPixels, std::uint32_t codePoint, double shiftX,
               double shiftY, GlyphBitmap& out);

private:
    void* faceFor(std::int16_t fontID);  // FT_Face, nullptr on failure

    struct LoadedFace {
        std::vector<unsigned char> bytes;  // the font file, kept while the face lives
        void* face = nullptr;              // FT_Face
    };

    void* library_ = nullptr;  // FT_Library
    std::map<std::string, LoadedFace> faces_;  // by file path
    std::string error_;
};

}  // namespace hostsim::render

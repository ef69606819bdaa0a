#include "hostsim/render/font_engine.h"

#include "hostsim/render/font_catalog.h"

#include "desktop/files/file_open.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <memory>

namespace hostsim::render {

namespace {

// Glyphs are rendered between these sizes in pixels per em; outside them
// FreeType either draws nothing useful or runs out of its fixed-point range.
constexpr double kMinPixels = 0.5;
constexpr double kMaxPixels = 4000.0;

FT_Library lib(void* library) { return static_cast<FT_Library>(library); }
FT_Face face(void* f) { return static_cast<FT_Face>(f); }

bool isSurrogate(std::uint32_t c) noexcept { return c >= 0xD800 && c <= 0xDFFF; }

FT_UInt glyphIndex(FT_Face f, std::uint32_t codePoint) {
    // A lone surrogate names no character: the missing-glyph shape (index 0).
    if (isSurrogate(codePoint) || codePoint > 0x10FFFF) return 0;
    return FT_Get_Char_Index(f, codePoint);
}

FT_F26Dot6 to26Dot6(double value) { return static_cast<FT_F26Dot6>(std::lround(value * 64.0)); }

// Font files larger than this are not read (DejaVu's largest is under 1 MB).
constexpr long kMaxFontFileSize = 64L << 20;

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

// The whole file; false when it cannot be read or is empty or too large.
bool readFontFile(const std::string& path, std::vector<unsigned char>& bytes) {
    const std::unique_ptr<std::FILE, FileCloser> file(desktop::files::openToRead(path));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return false;
    const long size = std::ftell(file.get());
    if (size <= 0 || size > kMaxFontFileSize || std::fseek(file.get(), 0, SEEK_SET) != 0) return false;
    bytes.resize(static_cast<std::size_t>(size));
    return std::fread(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

}  // namespace

FontEngine::FontEngine() {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        error_ = "FreeType could not be started";
        return;
    }
    library_ = library;
}

FontEngine::~FontEngine() {
    for (auto& [path, loaded] : faces_) FT_Done_Face(face(loaded.face));
    if (library_ != nullptr) FT_Done_FreeType(lib(library_));
}

bool FontEngine::ready() const noexcept { return library_ != nullptr; }

void* FontEngine::faceFor(std::int16_t fontID) {
    if (library_ == nullptr) return nullptr;
    const CatalogFont& font = fontByID(fontID);
    std::string why;
    const std::optional<std::string> file = findFontFile(font, &why);
    if (!file) {
        error_ = why;
        return nullptr;
    }
    if (const auto it = faces_.find(*file); it != faces_.end()) return it->second.face;
    // FreeType's own open takes a narrow name (the ANSI code page on Windows): it gets the bytes instead.
    LoadedFace loaded;
    FT_Face opened = nullptr;
    if (!readFontFile(*file, loaded.bytes) ||
        FT_New_Memory_Face(lib(library_), loaded.bytes.data(), static_cast<FT_Long>(loaded.bytes.size()), 0, &opened) != 0 ||
        opened == nullptr) {
        error_ = std::string("font \"") + font.name + "\": cannot read " + *file;
        return nullptr;
    }
    if (opened->units_per_EM == 0 || !FT_IS_SCALABLE(opened)) {
        FT_Done_Face(opened);
        error_ = std::string("font \"") + font.name + "\": " + *file + " is no scalable font";
        return nullptr;
    }
    loaded.face = opened;
    // The vector's buffer moves with it: the face's bytes stay where they are.
    faces_.emplace(*file, std::move(loaded));
    return opened;
}

std::optional<double> FontEngine::advance(std::int16_t fontID, double size, std::uint32_t codePoint) {
    FT_Face f = face(faceFor(fontID));
    if (f == nullptr) return std::nullopt;
    if (!std::isfinite(size)) return std::nullopt;
    // Unscaled design units: the width is exact at any size, unhinted.
    if (FT_Load_Glyph(f, glyphIndex(f, codePoint), FT_LOAD_NO_SCALE) != 0) {
        if (FT_Load_Glyph(f, 0, FT_LOAD_NO_SCALE) != 0) return 0.0;
    }
    return static_cast<double>(f->glyph->advance.x) * size / static_cast<double>(f->units_per_EM);
}

bool FontEngine::glyph(std::int16_t fontID, double hPixels, double vPixels, std::uint32_t codePoint, double shiftX,
                       double shiftY, GlyphBitmap& out) {
    out = GlyphBitmap{};
    FT_Face f = face(faceFor(fontID));
    if (f == nullptr) return false;
    if (!std::isfinite(hPixels) || !std::isfinite(vPixels) || hPixels < kMinPixels || vPixels < kMinPixels) {
        return true;  // too small to see: nothing drawn, no advance worth having
    }
    hPixels = std::fmin(hPixels, kMaxPixels);
    vPixels = std::fmin(vPixels, kMaxPixels);
    if (FT_Set_Char_Size(f, to26Dot6(hPixels), to26Dot6(vPixels), 72, 72) != 0) return true;
    FT_Vector delta{to26Dot6(std::isfinite(shiftX) ? shiftX : 0.0), -to26Dot6(std::isfinite(shiftY) ? shiftY : 0.0)};
    FT_Set_Transform(f, nullptr, &delta);
    // Light hinting snaps only vertically, so widths stay those of the metrics.
    const FT_Int32 flags = FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT;
    if (FT_Load_Glyph(f, glyphIndex(f, codePoint), flags) != 0 && FT_Load_Glyph(f, 0, flags) != 0) {
        FT_Set_Transform(f, nullptr, nullptr);
        return true;
    }
    FT_Set_Transform(f, nullptr, nullptr);
    const FT_GlyphSlot slot = f->glyph;
    out.width = static_cast<int>(slot->bitmap.width);
    out.rows = static_cast<int>(slot->bitmap.rows);
    out.left = slot->bitmap_left;
    out.top = slot->bitmap_top;
    out.buffer = slot->bitmap.buffer;
    out.pitch = slot->bitmap.pitch;
    out.advance = static_cast<double>(slot->linearHoriAdvance) / 65536.0;
    if (slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || out.pitch < 0) {
        // Only 8-bit coverage is drawn; other modes are not asked for.
        out.width = out.rows = 0;
        out.buffer = nullptr;
    }
    return true;
}

}  // namespace hostsim::render

// PNG through libpng. Errors jump back with png_longjmp; the function that
// sets the jump holds no C++ objects, and its one buffer comes from libpng
// and is kept in a struct reached through a pointer, so it is freed on either way out.
#include "probe_formats.h"
#include "status.h"

#include "desktop/files/file_open.h"

#include <png.h>

#include <cstdio>
#include <cstring>

namespace hostsim::probe {

namespace {

struct PngState {
    char text[256];
    png_bytep row;
};

[[noreturn]] void onPngError(png_structp png, png_const_charp text) {
    auto* state = static_cast<PngState*>(png_get_error_ptr(png));
    if (state) std::snprintf(state->text, sizeof state->text, "%s", text ? text : "error");
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

struct PngFacts {
    png_uint_32 width, height;
    int bitDepth, colorType;
    bool hasPhys;
    png_uint_32 physX, physY;
    int physUnit;
};

// 0 on success, 1 on a libpng error (text in state), 2 when no memory.
int decodePng(std::FILE* file, PngFacts* facts, PngState* state) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, state, onPngError, onPngWarning);
    if (!png) return 2;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return 2;
    }
    state->row = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        if (state->row) png_free(png, state->row);
        png_destroy_read_struct(&png, &info, nullptr);
        return 1;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    int interlace = 0;
    png_get_IHDR(png, info, &facts->width, &facts->height, &facts->bitDepth, &facts->colorType, &interlace, nullptr,
                 nullptr);
    facts->hasPhys = png_get_pHYs(png, info, &facts->physX, &facts->physY, &facts->physUnit) != 0;

    // Read every row (one at a time, into one buffer), then the chunks after
    // the image, so cut or corrupt data fail here as they would on display.
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    state->row = static_cast<png_bytep>(png_malloc(png, png_get_rowbytes(png, info)));
    for (int pass = 0; pass < passes; ++pass) {
        for (png_uint_32 y = 0; y < facts->height; ++y) png_read_row(png, state->row, nullptr);
    }
    png_read_end(png, nullptr);
    png_free(png, state->row);
    state->row = nullptr;
    png_destroy_read_struct(&png, &info, nullptr);
    return 0;
}

}  // namespace

int readPNG(const std::string& path, Picture& picture, std::string& message) {
    std::FILE* file = desktop::files::openToRead(path);
    if (!file) {
        message = "cannot open the file";
        return kErrIO;
    }
    PngFacts facts{};
    PngState state{};
    const int outcome = decodePng(file, &facts, &state);
    std::fclose(file);
    if (outcome == 2) return kErrMemFull;
    if (outcome == 1) {
        message = state.text;
        return std::strstr(state.text, "memory") ? kErrMemFull : kErrDamagedPicture;
    }
    switch (facts.colorType) {
    case PNG_COLOR_TYPE_GRAY: picture.colorSpace = facts.bitDepth == 1 ? kColorBitmap : kColorGray; break;
    case PNG_COLOR_TYPE_GRAY_ALPHA: picture.colorSpace = kColorGray; break;
    case PNG_COLOR_TYPE_PALETTE: picture.colorSpace = kColorIndexed; break;
    case PNG_COLOR_TYPE_RGB:
    case PNG_COLOR_TYPE_RGB_ALPHA: picture.colorSpace = kColorRGB; break;
    default: picture.colorSpace = kColorNone; break;
    }
    picture.pixelWidth = facts.width;
    picture.pixelHeight = facts.height;
    picture.resolutionH = picture.resolutionV = kDefaultResolution;
    if (facts.hasPhys && facts.physUnit == PNG_RESOLUTION_METER && facts.physX > 0 && facts.physY > 0) {
        picture.resolutionH = facts.physX * 0.0254;
        picture.resolutionV = facts.physY * 0.0254;
    }
    return kNoErr;
}

}  // namespace hostsim::probe

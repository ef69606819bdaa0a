// Errors of libjpeg jump back with longjmp; the function that calls setjmp
// holds no C++ objects, so the jump skips no destructor. libtiff and libpng
// are used through interfaces that report errors by return value.
#include "hostsim/render/picture_decode.h"

#include "desktop/files/file_open.h"
#include "model/tiff_open.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on
#include <png.h>
#include <tiffio.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace hostsim::render {

namespace {

constexpr long kMaxJpegMemory = 512L * 1024 * 1024;

bool tooLarge(std::uint64_t width, std::uint64_t height) {
    return width == 0 || height == 0 || width * height > kMaxPreviewPixels;
}

// ---- JPEG ---------------------------------------------------------------------

struct JpegErrors {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer converts back
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

[[noreturn]] void onJpegError(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->text);
    std::longjmp(errors->jump, 1);
}

void onJpegMessage(j_common_ptr, int) {}

struct JpegPixels {
    unsigned width, height;
    unsigned char* rgb;  // malloc'ed; the caller frees it
    bool tooLarge;
};

int decodeJpeg(std::FILE* file, JpegPixels* out, JpegErrors* errors) {
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof info);
    info.err = jpeg_std_error(&errors->manager);
    errors->manager.error_exit = onJpegError;
    errors->manager.emit_message = onJpegMessage;
    errors->text[0] = '\0';
    if (setjmp(errors->jump)) {
        jpeg_destroy_decompress(&info);
        return 1;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxJpegMemory;
    jpeg_stdio_src(&info, file);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return 1;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    // Photoshop writes CMYK inverted and says so with its Adobe marker.
    const bool inverted = info.saw_Adobe_marker != 0;
    info.out_color_space = cmyk ? JCS_CMYK : (info.num_components == 1 ? JCS_GRAYSCALE : JCS_RGB);
    if (tooLarge(info.image_width, info.image_height)) {
        out->tooLarge = true;
        jpeg_destroy_decompress(&info);
        return 1;
    }
    jpeg_start_decompress(&info);
    out->width = info.output_width;
    out->height = info.output_height;
    const auto components = static_cast<unsigned>(info.output_components);
    out->rgb = static_cast<unsigned char*>(std::malloc(std::size_t{out->width} * out->height * 3));
    if (out->rgb == nullptr) {
        jpeg_destroy_decompress(&info);
        return 1;
    }
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                               out->width * components, 1);
    while (info.output_scanline < info.output_height) {
        const JDIMENSION y = info.output_scanline;
        if (jpeg_read_scanlines(&info, row, 1) != 1) break;
        unsigned char* target = out->rgb + std::size_t{y} * out->width * 3;
        for (unsigned x = 0; x < out->width; ++x) {
            const unsigned char* s = row[0] + std::size_t{x} * components;
            if (components == 1) {
                target[x * 3] = target[x * 3 + 1] = target[x * 3 + 2] = s[0];
            } else if (components == 4) {
                for (unsigned k = 0; k < 3; ++k) {
                    const unsigned ink = inverted ? s[k] : 255U - s[k];
                    const unsigned black = inverted ? s[3] : 255U - s[3];
                    target[x * 3 + k] = static_cast<unsigned char>(ink * black / 255U);
                }
            } else {
                std::memcpy(target + x * 3, s, 3);
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return 0;
}

std::optional<Raster> readJpeg(const std::string& path, std::string* error) {
    std::FILE* file = desktop::files::openToRead(path);
    if (file == nullptr) {
        if (error != nullptr) *error = "cannot open " + path;
        return std::nullopt;
    }
    JpegPixels pixels{};
    JpegErrors errors{};
    const int outcome = decodeJpeg(file, &pixels, &errors);
    std::fclose(file);
    std::unique_ptr<unsigned char, decltype(&std::free)> owned(pixels.rgb, &std::free);
    if (outcome != 0) {
        if (error != nullptr) *error = pixels.tooLarge ? "too many pixels for a preview" : std::string(errors.text);
        return std::nullopt;
    }
    Raster raster;
    raster.width = static_cast<int>(pixels.width);
    raster.height = static_cast<int>(pixels.height);
    raster.rgb.assign(pixels.rgb, pixels.rgb + std::size_t{pixels.width} * pixels.height * 3);
    return raster;
}

// ---- TIFF ----------------------------------------------------------------------

void onTiffMessage(const char*, const char*, va_list) {}
int onTiffMessageExt(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffCloser {
    void operator()(TIFF* tif) const noexcept { TIFFClose(tif); }
};
struct OptionsDeleter {
    void operator()(TIFFOpenOptions* options) const noexcept { TIFFOpenOptionsFree(options); }
};

std::optional<Raster> readTiff(const std::string& path, std::string* error) {
    std::unique_ptr<TIFFOpenOptions, OptionsDeleter> options(TIFFOpenOptionsAlloc());
    if (!options) return std::nullopt;
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), onTiffMessageExt, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), onTiffMessageExt, nullptr);
    std::unique_ptr<TIFF, TiffCloser> tif(openTiff(path, "rm", options.get()));
    if (!tif) {
        if (error != nullptr) *error = "not a readable TIFF file";
        return std::nullopt;
    }
    std::uint32_t width = 0, height = 0;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
    if (tooLarge(width, height)) {
        if (error != nullptr) *error = "no image size or too many pixels for a preview";
        return std::nullopt;
    }
    std::vector<std::uint32_t> abgr(std::size_t{width} * height);
    // The RGBA interface reads every photometric kind libtiff knows (grey,
    // RGB, palette, CMYK) and reports through the handlers set above.
    const TIFFErrorHandler oldError = TIFFSetErrorHandler(onTiffMessage);
    const TIFFErrorHandler oldWarning = TIFFSetWarningHandler(onTiffMessage);
    const int ok = TIFFReadRGBAImageOriented(tif.get(), width, height, abgr.data(), ORIENTATION_TOPLEFT, 0);
    TIFFSetErrorHandler(oldError);
    TIFFSetWarningHandler(oldWarning);
    if (ok != 1) {
        if (error != nullptr) *error = "TIFF image data cannot be read";
        return std::nullopt;
    }
    Raster raster;
    raster.width = static_cast<int>(width);
    raster.height = static_cast<int>(height);
    raster.rgb.resize(abgr.size() * 3);
    for (std::size_t i = 0; i < abgr.size(); ++i) {
        const std::uint32_t p = abgr[i];
        // Transparent parts over white paper.
        const unsigned a = TIFFGetA(p);
        const unsigned channel[3] = {TIFFGetR(p), TIFFGetG(p), TIFFGetB(p)};
        for (std::size_t k = 0; k < 3; ++k) {
            raster.rgb[i * 3 + k] = static_cast<std::uint8_t>((channel[k] * a + 255U * (255U - a)) / 255U);
        }
    }
    return raster;
}

// ---- PNG ------------------------------------------------------------------------

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

std::optional<Raster> readPng(const std::string& path, std::string* error) {
    // libpng's own open takes a narrow name: the file is opened by its UTF-8 name and stays open until the end.
    const std::unique_ptr<std::FILE, FileCloser> file(desktop::files::openToRead(path));
    if (!file) {
        if (error != nullptr) *error = "cannot open " + path;
        return std::nullopt;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_stdio(&image, file.get()) == 0) {
        if (error != nullptr) *error = image.message;
        png_image_free(&image);
        return std::nullopt;
    }
    if (tooLarge(image.width, image.height)) {
        if (error != nullptr) *error = "too many pixels for a preview";
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_RGB;
    Raster raster;
    raster.width = static_cast<int>(image.width);
    raster.height = static_cast<int>(image.height);
    raster.rgb.resize(PNG_IMAGE_SIZE(image));
    const png_color white{255, 255, 255};
    if (png_image_finish_read(&image, &white, raster.rgb.data(), 0, nullptr) == 0) {
        if (error != nullptr) *error = image.message;
        png_image_free(&image);
        return std::nullopt;
    }
    return raster;
}

}  // namespace

std::optional<Raster> decodePicture(const std::string& path, std::string* error) {
    unsigned char magic[8] = {};
    std::FILE* file = desktop::files::openToRead(path);
    if (file == nullptr) {
        if (error != nullptr) *error = "cannot open " + path;
        return std::nullopt;
    }
    const std::size_t got = std::fread(magic, 1, sizeof magic, file);
    std::fclose(file);
    try {
        if (got >= 3 && magic[0] == 0xFF && magic[1] == 0xD8 && magic[2] == 0xFF) return readJpeg(path, error);
        if (got >= 4 && ((magic[0] == 'I' && magic[1] == 'I' && magic[2] == 42 && magic[3] == 0) ||
                         (magic[0] == 'M' && magic[1] == 'M' && magic[2] == 0 && magic[3] == 42))) {
            return readTiff(path, error);
        }
        if (got == 8 && std::memcmp(magic, "\x89PNG\r\n\x1a\n", 8) == 0) return readPng(path, error);
    } catch (const std::bad_alloc&) {
        if (error != nullptr) *error = "out of memory";
        return std::nullopt;
    }
    if (error != nullptr) *error = "no preview for this kind of file";
    return std::nullopt;
}

}  // namespace hostsim::render

// TIFF through libtiff. Its messages go to handlers bound to this one open
// file, which keep the first error for the failure text and print nothing.
#include "probe_formats.h"
#include "status.h"
#include "tiff_open.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstdio>
#include <memory>
#include <optional>

namespace hostsim::probe {

namespace {

constexpr tmsize_t kMaxTiffAllocation = 256 * 1024 * 1024;

struct TiffMessages {
    std::string firstError;
};

__attribute__((format(printf, 4, 0))) int onTiffError(TIFF*, void* user, const char* module, const char* format,
                                                       va_list args) {
    auto* messages = static_cast<TiffMessages*>(user);
    if (messages && messages->firstError.empty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, args);
        messages->firstError = (module ? std::string(module) + ": " : std::string()) + text;
    }
    return 1;  // handled: the global handler (stderr) is not called
}

int onTiffWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct OptionsDeleter {
    void operator()(TIFFOpenOptions* options) const noexcept { TIFFOpenOptionsFree(options); }
};
struct TiffCloser {
    void operator()(TIFF* tif) const noexcept { TIFFClose(tif); }
};

FourCC colorSpaceOf(TIFF* tif, std::uint16_t photometric) {
    const std::uint16_t bits = [&] {
        std::uint16_t value = 1;
        TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &value);
        return value;
    }();
    switch (photometric) {
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_MINISBLACK: return bits == 1 ? kColorBitmap : kColorGray;
    case PHOTOMETRIC_RGB:
    case PHOTOMETRIC_YCBCR:
    case PHOTOMETRIC_LOGLUV: return kColorRGB;
    case PHOTOMETRIC_LOGL: return kColorGray;
    case PHOTOMETRIC_PALETTE: return kColorIndexed;
    case PHOTOMETRIC_MASK: return kColorBitmap;
    case PHOTOMETRIC_CIELAB:
    case PHOTOMETRIC_ICCLAB:
    case PHOTOMETRIC_ITULAB: return kColorLab;
    case PHOTOMETRIC_SEPARATED: {
        std::uint16_t samples = 1;
        std::uint16_t extraCount = 0;
        std::uint16_t* extra = nullptr;
        std::uint16_t inkset = INKSET_CMYK;
        TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
        TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extra);
        TIFFGetFieldDefaulted(tif, TIFFTAG_INKSET, &inkset);
        return inkset == INKSET_CMYK && samples >= extraCount && samples - extraCount == 4 ? kColorCMYK : kColorNone;
    }
    default: return kColorNone;
    }
}

// The tag's value in dots per inch; nothing without the tag.
std::optional<double> resolutionOf(TIFF* tif, ttag_t tag, std::uint16_t unit) {
    float value = 0;
    // libtiff writes both tags when either is set, the missing one as 0.
    if (TIFFGetField(tif, tag, &value) != 1 || !(value > 0)) return std::nullopt;
    switch (unit) {
    case RESUNIT_INCH: return static_cast<double>(value);
    case RESUNIT_CENTIMETER: return static_cast<double>(value) * 2.54;
    default: return kDefaultResolution;  // no absolute unit: only the aspect ratio is known
    }
}

}  // namespace

int readTIFF(const std::string& path, std::int64_t fileSize, Picture& picture, std::string& message) {
    TiffMessages messages;
    std::unique_ptr<TIFFOpenOptions, OptionsDeleter> options(TIFFOpenOptionsAlloc());
    if (!options) return kErrMemFull;
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), onTiffError, &messages);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), onTiffWarning, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxTiffAllocation);
    // "m": no memory mapping, so a file that shrinks under us cannot fault.
    std::unique_ptr<TIFF, TiffCloser> tif(openTiff(path, "rm", options.get()));
    if (!tif) {
        message = messages.firstError.empty() ? "not a readable TIFF file" : messages.firstError;
        return kErrDamagedPicture;
    }
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width) != 1 ||
        TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height) != 1 || width == 0 || height == 0) {
        message = "no image size";
        return kErrDamagedPicture;
    }
    std::uint16_t photometric = 0xFFFF;
    TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric);
    std::uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_RESOLUTIONUNIT, &unit);

    // The image data must lie inside the file.
    const std::uint32_t pieces = TIFFIsTiled(tif.get()) ? TIFFNumberOfTiles(tif.get()) : TIFFNumberOfStrips(tif.get());
    if (pieces == 0) {
        message = "no image data";
        return kErrDamagedPicture;
    }
    for (std::uint32_t i = 0; i < pieces; ++i) {
        int error = 0;
        const std::uint64_t offset = TIFFGetStrileOffsetWithErr(tif.get(), i, &error);
        const std::uint64_t count = error ? 0 : TIFFGetStrileByteCountWithErr(tif.get(), i, &error);
        if (error || offset > static_cast<std::uint64_t>(fileSize) ||
            count > static_cast<std::uint64_t>(fileSize) - offset) {
            message = "image data cut short (piece " + std::to_string(i) + " of " + std::to_string(pieces) +
                      " ends past byte " + std::to_string(fileSize) + ")";
            return kErrDamagedPicture;
        }
    }
    picture.colorSpace = colorSpaceOf(tif.get(), photometric);
    picture.pixelWidth = width;
    picture.pixelHeight = height;
    // One resolution tag alone stands for both directions.
    const auto x = resolutionOf(tif.get(), TIFFTAG_XRESOLUTION, unit);
    const auto y = resolutionOf(tif.get(), TIFFTAG_YRESOLUTION, unit);
    picture.resolutionH = x.value_or(y.value_or(kDefaultResolution));
    picture.resolutionV = y.value_or(x.value_or(kDefaultResolution));
    return kNoErr;
}

}  // namespace hostsim::probe

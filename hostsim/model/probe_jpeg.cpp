// JPEG through libjpeg. Its default error handler would print and exit(), so
// errors jump back here (setjmp/longjmp) and warnings are only counted. The
// function that calls setjmp holds no C++ objects, so the jump skips no
// destructor; it reports in plain structs and the caller makes strings.
#include "probe_formats.h"
#include "status.h"

#include "desktop/files/file_open.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <csetjmp>
#include <cstring>

namespace hostsim::probe {

namespace {

// Large progressive images need their whole coefficient array in memory;
// beyond this libjpeg fails with an error instead of exhausting memory.
constexpr long kMaxJpegMemory = 512L * 1024 * 1024;

struct JpegErrors {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer converts back
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
    int code;
    bool prematureEnd;
};

JpegErrors* errorsOf(j_common_ptr info) noexcept { return reinterpret_cast<JpegErrors*>(info->err); }

[[noreturn]] void onJpegError(j_common_ptr info) {
    JpegErrors* errors = errorsOf(info);
    errors->code = info->err->msg_code;
    (*info->err->format_message)(info, errors->text);
    std::longjmp(errors->jump, 1);
}

void onJpegMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) errorsOf(info)->prematureEnd = true;
    if (level < 0) ++info->err->num_warnings;
}

void onJpegOutput(j_common_ptr) {}

struct JpegFacts {
    unsigned width, height;
    int components;
    J_COLOR_SPACE colorSpace;
    bool jfif;
    unsigned densityUnit, densityX, densityY;
};

// 0 on success; 1 for a libjpeg error (text in errors); 2 when the data end early.
int decodeJpeg(std::FILE* file, JpegFacts* facts, JpegErrors* errors) {
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof info);
    info.err = jpeg_std_error(&errors->manager);
    errors->manager.error_exit = onJpegError;
    errors->manager.emit_message = onJpegMessage;
    errors->manager.output_message = onJpegOutput;
    errors->text[0] = '\0';
    errors->code = 0;
    errors->prematureEnd = false;
    if (setjmp(errors->jump)) {
        jpeg_destroy_decompress(&info);
        return 1;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxJpegMemory;
    jpeg_stdio_src(&info, file);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        std::snprintf(errors->text, sizeof errors->text, "no image in the file");
        jpeg_destroy_decompress(&info);
        return 1;
    }
    facts->width = info.image_width;
    facts->height = info.image_height;
    facts->components = info.num_components;
    facts->colorSpace = info.jpeg_color_space;
    facts->jfif = info.saw_JFIF_marker != 0;
    facts->densityUnit = info.density_unit;
    facts->densityX = info.X_density;
    facts->densityY = info.Y_density;

    // Decoding at 1/8 scale touches every block of entropy-coded data cheaply.
    info.scale_num = 1;
    info.scale_denom = 8;
    info.dct_method = JDCT_IFAST;
    info.do_fancy_upsampling = FALSE;
    jpeg_start_decompress(&info);
    const auto rowBytes = static_cast<JDIMENSION>(info.output_width * static_cast<unsigned>(info.output_components));
    JSAMPARRAY row = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, rowBytes, 1);
    while (info.output_scanline < info.output_height && !errors->prematureEnd) {
        jpeg_read_scanlines(&info, row, 1);
    }
    if (!errors->prematureEnd) jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return errors->prematureEnd ? 2 : 0;
}

}  // namespace

int readJPEG(const std::string& path, Picture& picture, std::string& message) {
    std::FILE* file = desktop::files::openToRead(path);
    if (!file) {
        message = "cannot open the file";
        return kErrIO;
    }
    JpegFacts facts{};
    JpegErrors errors{};
    const int outcome = decodeJpeg(file, &facts, &errors);
    std::fclose(file);
    if (outcome == 1) {
        message = errors.text;
        if (errors.code == JERR_NO_BACKING_STORE || errors.code == JERR_OUT_OF_MEMORY) return kErrMemFull;
        return kErrDamagedPicture;
    }
    if (outcome == 2) {
        message = "image data cut short";
        return kErrDamagedPicture;
    }
    switch (facts.components) {
    case 1: picture.colorSpace = kColorGray; break;
    case 3: picture.colorSpace = kColorRGB; break;
    case 4: picture.colorSpace = kColorCMYK; break;  // CMYK or YCCK
    default: picture.colorSpace = kColorNone; break;
    }
    picture.pixelWidth = facts.width;
    picture.pixelHeight = facts.height;
    picture.resolutionH = picture.resolutionV = kDefaultResolution;
    if (facts.jfif && facts.densityX > 0 && facts.densityY > 0 && (facts.densityUnit == 1 || facts.densityUnit == 2)) {
        const double factor = facts.densityUnit == 2 ? 2.54 : 1.0;  // 2: dots per centimetre
        picture.resolutionH = facts.densityX * factor;
        picture.resolutionV = facts.densityY * factor;
    }
    return kNoErr;
}

}  // namespace hostsim::probe

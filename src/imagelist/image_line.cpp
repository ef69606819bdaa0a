#include "imagelist/image_line.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "host/effective_resolution.h"
#include "host/xt_documents.h"
#include "host/xt_pictures.h"
#include "settings/localised_strings.h"
#include "util/bounded.h"
#include "util/files_paths.h"

namespace lumbrel {

namespace {

// 72 points to the inch in 16.16 fixed point.
constexpr double kFixedPointsPerInch = 72.0 * 65536.0;

void fourCharacters(FileTypeCode code, char (&out)[5]) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((code >> (24 - 8 * i)) & 0xFFU);
    out[4] = '\0';
    // A code with a zero byte would end the field early; it stands for no type.
    if (std::strlen(out) != 4) out[0] = '\0';
}

// The link status in words for the list; the host's own status text stays in
// its column.
const char* linkStatusKey(std::int16_t status) noexcept {
    switch (status) {
        case XT_STATUS_MISSING: return "kLinkMissing";
        case XT_STATUS_MODIFIED: return "kLinkModified";
        default: return "kLinkOK";
    }
}

// Two more fields: the picture's resolution on the page ("%.0f ppi", empty
// when it has none) and its link status.
void appendEffectiveColumns(XTBoxID box, FileTypeCode type, std::string& line) {
    char ppi[64] = {};
    if (const std::optional<double> effective = boxEffectivePpi(box, type)) {
        std::snprintf(ppi, sizeof ppi, "%.0f ppi", *effective);
    }
    char status[kShortTextSize] = {};
    getString(linkStatusKey(XTGetPictureStatus(box)), status, sizeof status);
    line += '\t';
    line += ppi;
    line += '\t';
    line += status;
}

}  // namespace

void formatPictureSize(Fixed width, Fixed height, std::int16_t unit, char* out, std::size_t outSize) {
    if (out == nullptr || outSize == 0) return;
    const bool metric = unit == XT_UNIT_MILLIMETRES || unit == XT_UNIT_CENTIMETRES;
    if (metric) {
        std::snprintf(out, outSize, "%.1f mm x %.1f mm", width * 25.4 / kFixedPointsPerInch,
                      height * 25.4 / kFixedPointsPerInch);
    } else {
        std::snprintf(out, outSize, "%.1f inch x %.1f inch", width / kFixedPointsPerInch,
                      height / kFixedPointsPerInch);
    }
}

void colourSpaceName(OSType colourSpace, char* out, std::size_t outSize) {
    if (out == nullptr || outSize == 0) return;
    const char* key = nullptr;
    switch (colourSpace) {
        case XT_CS_RGB: key = "kRGB"; break;
        case XT_CS_CMYK: key = "kCMYK"; break;
        case XT_CS_GRAY: key = "kGrayScale"; break;
        case XT_CS_LAB: key = "kLAB"; break;
        default: break;
    }
    if (key == nullptr) {
        out[0] = '\0';
        return;
    }
    getString(key, out, outSize);
}

std::size_t buildImageLine(XTBoxID box, const ImageListOptions& options, const char* prefix, char* out) {
    out[0] = '\0';
    char path[kPathSize];
    FileTypeCode fileType = kTypeNone;
    if (XTGetBoxPath(box, path, sizeof path, &fileType) == 0 || path[0] == '\0') return 0;

    char name[kPathSize];
    if (options.fullPath == 1) {
        copyBounded(name, path);
    } else {
        getFileName(path, name, true);
    }
    char status[kShortTextSize];
    XTGetPictureStatus(box, status, sizeof status);

    char typeText[5] = {};
    char colourSpace[kShortTextSize] = {};
    char resolution[64] = {};
    if (options.type == 1) {
        fourCharacters(fileType, typeText);
        colourSpaceName(XTGetColorSpace(box), colourSpace, sizeof colourSpace);
        std::snprintf(resolution, sizeof resolution, "%.0f dpi", static_cast<double>(XTGetPictResolution(box)));
    }
    char size[128] = {};
    XTFixedRect bounds{};
    if (options.imgSize == 1 && XTGetPictBounds(box, &bounds)) {
        formatPictureSize(bounds.right - bounds.left, bounds.bottom - bounds.top, xtget_horzmeasure(), size,
                          sizeof size);
    }

    // One tab between fields, whichever are empty: every line has five tabs after the name.
    std::string line = prefix != nullptr ? prefix : "";
    for (const char* field : {name, status, typeText, colourSpace, resolution}) {
        line += field;
        line += '\t';
    }
    line += size;
    if (options.effectiveResolution == 1) appendEffectiveColumns(box, fileType, line);
    if (line.size() > kMaxImageLine) line.resize(kMaxImageLine);
    std::memcpy(out, line.c_str(), line.size() + 1);
    return line.size();
}

}  // namespace lumbrel

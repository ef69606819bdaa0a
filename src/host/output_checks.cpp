#include "host/output_checks.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "filetypes/type_codes.h"
#include "host/effective_resolution.h"
#include "host/message_box.h"
#include "host/xt_enumerate.h"
#include "host/xt_pictures.h"
#include "platform/platform_traits.h"
#include "settings/localised_strings.h"
#include "settings/preferences.h"
#include "util/bounded.h"
#include "util/files_paths.h"
#include "util/log.h"

namespace lumbrel {

namespace {

constexpr std::uint32_t kBinaryEPSMagic = 0xC6D3D0C5;  // bytes C5 D0 D3 C6, read little-endian
constexpr std::size_t kEPSHeaderBytes = 32;
constexpr std::size_t kEPSSearchBytes = 65536;  // the last byte stays 0

constexpr FileTypeCode kTypeEPSP = fourCC("EPSP");

std::uint32_t littleEndian32(const unsigned char* bytes) noexcept {
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

// The warning for one picture: its file's full path as the second line, OK
// to go on and Cancel to stop the remaining warnings.
bool prompt(const char* key, const char* path) {
    setMsg2("%s", path);
    return msgBoxOkCancel(key) == kAnswerDefault;
}

bool checkStep(XTBoxID box, std::intptr_t data) {
    return checkImage(box, *reinterpret_cast<const ImageCheckFlags*>(data));
}

}  // namespace

EPSFindings readEPSFindings(const char* path) {
    EPSFindings findings;
    std::FILE* file = openRegularFile(path);
    if (file == nullptr) return findings;

    unsigned char header[kEPSHeaderBytes] = {};
    const std::size_t headerRead = std::fread(header, 1, sizeof header, file);
    long start = 0;
    if (headerRead >= 8 && littleEndian32(header) == kBinaryEPSMagic) {
        const std::uint32_t offset = littleEndian32(header + 4);
        start = offset > static_cast<std::uint32_t>(INT32_MAX) ? INT32_MAX : static_cast<long>(offset);
    }

    auto* text = static_cast<char*>(std::calloc(kEPSSearchBytes, 1));
    if (text == nullptr) {
        std::fclose(file);
        return findings;
    }
    // A start past the end of the file leaves the text empty: nothing found.
    std::size_t textRead = 0;
    if (std::fseek(file, start, SEEK_SET) == 0) textRead = std::fread(text, 1, kEPSSearchBytes, file);
    std::fclose(file);
    text[textRead < kEPSSearchBytes ? textRead : kEPSSearchBytes - 1] = '\0';

    findings.readable = true;
    findings.iccProfile = std::strstr(text, "%%BeginICCProfile") != nullptr;
    // Only the header comments count.
    if (char* end = std::strstr(text, "%%EndComments"); end != nullptr) *end = '\0';
    findings.processColors = std::strstr(text, "%%MarksAllSeparations") != nullptr ||
                             std::strstr(text, "%%DocumentProcessColors") != nullptr ||
                             std::strstr(text, "%%CMYKCustomColor") != nullptr;
    std::free(text);
    return findings;
}

namespace {

// Pixels on the page against the threshold.
bool checkEffectivePpi(XTBoxID box, FileTypeCode type, const char* path, std::int32_t minPpi) {
    const std::optional<double> ppi = boxEffectivePpi(box, type);
    if (!ppi || !belowThreshold(*ppi, minPpi)) return true;
    setMsg2("%s", path);
    return msgBoxOkCancel("kLowPpi", *ppi, static_cast<int>(minPpi)) == kAnswerDefault;
}

bool checkPrintReadiness(XTBoxID box, FileTypeCode type, const char* path, const ImageCheckFlags& flags) {
    if (type == kTypeJPEG && flags.jpeg) return prompt("kJPGImg", path);

    if (type == kTypeTIFF || type == kTypeJPEG) {
        if (!flags.cmyk) return true;
        const OSType space = XTGetColorSpace(box);
        if (space == XT_CS_CMYK || space == XT_CS_GRAY) return true;
        return prompt("kCMYKImg", path);
    }

    if (type == kTypeEPSF || type == kTypeEPSP) {
        if (!flags.icc && !flags.cmyk) return true;
        const EPSFindings findings = readEPSFindings(path);
        if (!findings.readable) return true;
        if (flags.icc && findings.iccProfile && !prompt("kICCProf", path)) return false;
        if (flags.cmyk && !findings.processColors && !prompt("kCMYKImg", path)) return false;
        return true;
    }
    return true;
}

}  // namespace

bool checkImage(XTBoxID box, const ImageCheckFlags& flags) {
    char path[kPathSize];
    FileTypeCode type = kTypeNone;
    if (XTGetBoxPath(box, path, sizeof path, &type) != 1) return true;
    if (!checkPrintReadiness(box, type, path, flags)) return false;
    return !flags.lowPpi || checkEffectivePpi(box, type, path, flags.minPpi);
}

void checkImages() {
    const char* lineEnd = platform::Traits::kLineEnd;
    dprintf("checkImages_1%s", lineEnd);
    ImageCheckFlags flags;
    flags.cmyk = getRGBWarning();
    flags.jpeg = getJPGWarning();
    flags.icc = getICCWarning();
    flags.lowPpi = getWarnEffectivePpi();
    flags.minPpi = getMinEffectivePpi();
    if (!flags.cmyk && !flags.jpeg && !flags.icc && !flags.lowPpi) return;

    dprintf("checkImages_2%s", lineEnd);
    xt_enumpictboxes(kFirstSpread, kAllSpreads, checkStep, nullptr, reinterpret_cast<std::intptr_t>(&flags));
    dprintf("-------------------------------%s", lineEnd);
}

}  // namespace lumbrel

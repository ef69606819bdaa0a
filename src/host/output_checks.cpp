#include "host/output_checks.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "filetypes/type_codes.h"
#include "host/check_report.h"
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
class AlertEachFinding final : public FindingSink {
public:
    bool found(XTBoxID, const FindingKind& kind, const char* path, const FindingFigures* figures) override {
        setMsg2("%s", path);
        const int answer = figures != nullptr ? msgBoxOkCancel(kind.alertKey, figures->ppi, figures->minPpi)
                                              : msgBoxOkCancel(kind.alertKey);
        return answer == kAnswerDefault;
    }
};

bool checkStep(XTBoxID box, std::intptr_t data) {
    AlertEachFinding alerts;
    return checkImage(box, *reinterpret_cast<const ImageCheckFlags*>(data), alerts);
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

bool checkImage(XTBoxID box, const ImageCheckFlags& flags) {
    AlertEachFinding alerts;
    return checkImage(box, flags, alerts);
}

namespace {

bool checkPrintReadiness(XTBoxID box, FileTypeCode type, const char* path, const ImageCheckFlags& flags,
                         FindingSink& sink) {
    if (type == kTypeJPEG && flags.jpeg) return sink.found(box, kFindingJPEG, path, nullptr);

    if (type == kTypeTIFF || type == kTypeJPEG) {
        if (!flags.cmyk) return true;
        const OSType space = XTGetColorSpace(box);
        if (space == XT_CS_CMYK || space == XT_CS_GRAY) return true;
        return sink.found(box, kFindingNotCMYK, path, nullptr);
    }

    if (type == kTypeEPSF || type == kTypeEPSP) {
        if (!flags.icc && !flags.cmyk) return true;
        const EPSFindings findings = readEPSFindings(path);
        if (!findings.readable) return true;
        if (flags.icc && findings.iccProfile && !sink.found(box, kFindingICCProfile, path, nullptr)) return false;
        if (flags.cmyk && !findings.processColors && !sink.found(box, kFindingNotCMYK, path, nullptr)) return false;
        return true;
    }
    return true;
}

// Pixels on the page against the threshold.
bool checkEffectivePpi(XTBoxID box, FileTypeCode type, const char* path, std::int32_t minPpi, FindingSink& sink) {
    const std::optional<double> ppi = boxEffectivePpi(box, type);
    if (!ppi || !belowThreshold(*ppi, minPpi)) return true;
    const FindingFigures figures{*ppi, static_cast<int>(minPpi)};
    return sink.found(box, kFindingLowPpi, path, &figures);
}

}  // namespace

bool checkImage(XTBoxID box, const ImageCheckFlags& flags, FindingSink& sink) {
    char path[kPathSize];
    FileTypeCode type = kTypeNone;
    if (XTGetBoxPath(box, path, sizeof path, &type) != 1) return true;
    if (!checkPrintReadiness(box, type, path, flags, sink)) return false;
    return !flags.lowPpi || checkEffectivePpi(box, type, path, flags.minPpi, sink);
}

void checkImagesOneByOne(const ImageCheckFlags& flags) {
    xt_enumpictboxes(kFirstSpread, kAllSpreads, checkStep, nullptr, reinterpret_cast<std::intptr_t>(&flags));
}

ImageCheckFlags currentCheckFlags() noexcept {
    ImageCheckFlags flags;
    flags.cmyk = getRGBWarning();
    flags.jpeg = getJPGWarning();
    flags.icc = getICCWarning();
    flags.lowPpi = getWarnEffectivePpi();
    flags.minPpi = getMinEffectivePpi();
    return flags;
}

void checkImages() {
    const char* lineEnd = platform::Traits::kLineEnd;
    dprintf("checkImages_1%s", lineEnd);
    const ImageCheckFlags flags = currentCheckFlags();
    if (!flags.cmyk && !flags.jpeg && !flags.icc && !flags.lowPpi) return;

    dprintf("checkImages_2%s", lineEnd);
    if (getCheckSummary()) {
        reportImageChecks(flags);
    } else {
        checkImagesOneByOne(flags);
    }
    dprintf("-------------------------------%s", lineEnd);
}

}  // namespace lumbrel

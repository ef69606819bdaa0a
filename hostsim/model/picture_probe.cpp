#include "picture_probe.h"

#include "file_reader.h"
#include "probe_formats.h"
#include "utf8_check.h"

#include "desktop/files/file_open.h"


#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <exception>
#include <filesystem>
#include <new>
#include <string_view>
#include <system_error>

namespace hostsim {

namespace probe {

double saneResolution(double dpi) noexcept {
    return std::isfinite(dpi) && dpi > 0 && dpi <= kMaxResolution ? dpi : kDefaultResolution;
}

}  // namespace probe

namespace {

constexpr std::size_t kHeadSize = 1024;

bool startsWith(std::span<const unsigned char> head, std::string_view magic) noexcept {
    return head.size() >= magic.size() && std::memcmp(head.data(), magic.data(), magic.size()) == 0;
}

std::string describeHead(std::span<const unsigned char> head) {
    std::string text;
    for (std::size_t i = 0; i < head.size() && i < 4; ++i) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        if (i) text += ' ';
        text += kHex[head[i] >> 4];
        text += kHex[head[i] & 0xF];
    }
    return text;
}

int fail(ProbeResult& result, int status, const std::string& reason) {
    result.status = status;
    result.message = result.picture.path + ": " + reason;
    return status;
}

int readByType(FourCC type, const std::string& path, FileReader& file, const ImportOptions& options,
               Picture& picture, std::string& reason) {
    switch (type) {
    case kFileTIFF: return probe::readTIFF(path, file.size(), picture, reason);
    case kFileJPEG: return probe::readJPEG(path, picture, reason);
    case kFilePNG: return probe::readPNG(path, picture, reason);
    case kFilePDF: return probe::readPDF(path, options, picture, reason);
    case kFileEPS: return probe::readEPS(file, picture, reason);
    case kFilePSD: return probe::readPSD(file, picture, reason);
    case kFileGIF: return probe::readGIF(file, picture, reason);
    default: break;
    }
    reason = "not a picture format this host imports";
    return kErrUnknownFormat;
}

// The path with every byte that is not part of valid UTF-8 written \xNN.
std::string readablePath(std::string_view path) {
    std::string shown;
    while (!path.empty()) {
        std::size_t valid = 1;
        while (valid <= path.size() && valid <= 4 && !isValidUtf8(path.substr(0, valid))) ++valid;
        if (valid <= path.size() && valid <= 4) {
            shown.append(path.substr(0, valid));
        } else {
            static constexpr char kHex[] = "0123456789ABCDEF";
            const auto byte = static_cast<unsigned char>(path[0]);
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 0xF];
            valid = 1;
        }
        path.remove_prefix(valid);
    }
    return shown;
}

void probeInto(ProbeResult& result, const std::string& path, const ImportOptions& options) {
    Picture& picture = result.picture;
    // Documents keep picture paths as UTF-8 text, as the module reads them and
    // as layout files hold them: a name in another encoding could be placed
    // but never saved, so it is refused here, before anything changes.
    if (!isValidUtf8(path)) {
        result.status = kErrBadFileName;
        result.message = readablePath(path) + ": the file name is not valid UTF-8; rename the file to import it";
        return;
    }
    picture.path = path;
    // By the file's UTF-8 name (a wide name on Windows).
    std::error_code statusError;
    const std::filesystem::file_status kind =
        path.empty() ? std::filesystem::file_status() : std::filesystem::status(desktop::files::pathOf(path), statusError);
    if (path.empty() || !std::filesystem::exists(kind)) {
        const std::error_condition why = statusError ? statusError.default_error_condition() : std::errc::no_such_file_or_directory;
        const bool missing = why == std::errc::no_such_file_or_directory || why == std::errc::not_a_directory;
        fail(result, missing ? kErrFileNotFound : kErrIO,
             why.category() == std::generic_category() ? std::strerror(why.value()) : statusError.message());
        return;
    }
    if (!std::filesystem::is_regular_file(kind)) {
        fail(result, kErrIO, "not a file");
        return;
    }
    const auto stamp = fileStamp(path);
    FileReader file;
    if (!stamp || !file.open(path)) {
        fail(result, kErrIO, std::strerror(errno));
        return;
    }
    if (file.size() == 0) {
        fail(result, kErrEmptyFile, "the file is empty");
        return;
    }
    std::array<unsigned char, kHeadSize> head{};
    const std::size_t got = file.readAt(0, head.data(), head.size());
    const std::span<const unsigned char> bytes(head.data(), got);
    const FourCC type = detectFileType(bytes);
    if (type == kFileTypeNone) {
        fail(result, kErrUnknownFormat, "not a picture format this host imports (starts with " + describeHead(bytes) + ")");
        return;
    }
    picture.fileType = type;
    std::string reason;
    const int status = readByType(type, path, file, options, picture, reason);
    if (status != kNoErr) {
        fail(result, status, fourCCText(type) + ": " + reason);
        return;
    }
    picture.resolutionH = probe::saneResolution(picture.resolutionH);
    picture.resolutionV = probe::saneResolution(picture.resolutionV);
    if (type != kFileEPS && type != kFilePDF) {
        picture.bounds = Rect{0, 0, picture.pixelHeight / picture.resolutionV * 72.0,
                              picture.pixelWidth / picture.resolutionH * 72.0};
    }
    if (!picture.bounds.valid()) {
        fail(result, kErrUnsupportedPicture,
             "the picture is too large (" + std::to_string(picture.bounds.width()) + " x " +
                 std::to_string(picture.bounds.height()) + " points)");
        return;
    }
    picture.imported = *stamp;
}

}  // namespace

FourCC detectFileType(std::span<const unsigned char> head) noexcept {
    using namespace std::string_view_literals;
    if (startsWith(head, "II*\0"sv) || startsWith(head, "MM\0*"sv) || startsWith(head, "II+\0"sv) ||
        startsWith(head, "MM\0+"sv)) {
        return kFileTIFF;
    }
    if (startsWith(head, "\xFF\xD8\xFF"sv)) return kFileJPEG;
    if (startsWith(head, "\x89PNG\r\n\x1A\n"sv)) return kFilePNG;
    if (startsWith(head, "\xC5\xD0\xD3\xC6"sv) || startsWith(head, "%!PS"sv)) return kFileEPS;
    if (startsWith(head, "8BPS"sv)) return kFilePSD;
    if (startsWith(head, "GIF87a"sv) || startsWith(head, "GIF89a"sv)) return kFileGIF;
    // A PDF header may follow some bytes of other data within the first 1024.
    const std::size_t limit = std::min<std::size_t>(head.size(), kHeadSize);
    constexpr std::string_view kPdf = "%PDF-";
    for (std::size_t i = 0; i + kPdf.size() <= limit; ++i) {
        if (std::memcmp(head.data() + i, kPdf.data(), kPdf.size()) == 0) return kFilePDF;
    }
    return kFileTypeNone;
}

ProbeResult probePicture(const std::string& path, const ImportOptions& options) {
    ProbeResult result;
    try {
        probeInto(result, path, options);
    } catch (const std::bad_alloc&) {
        result.status = kErrMemFull;
        result.message = path + ": not enough memory";
    } catch (const std::exception& error) {
        result.status = kErrDamagedPicture;
        result.message = path + ": " + error.what();
    }
    if (result.status != kNoErr) result.picture = Picture{};
    return result;
}

}  // namespace hostsim

#include "picture.h"

#include "desktop/files/file_open.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include <array>
#include <cmath>
#include <string_view>

namespace hostsim {

namespace {

constexpr std::array<const char*, kPdfBoxCount> kPdfBoxNames{"media", "crop", "bleed", "trim", "art"};

}  // namespace

const char* pdfBoxName(PdfBox box) noexcept {
    const auto index = static_cast<std::size_t>(box);
    return index < kPdfBoxNames.size() ? kPdfBoxNames[index] : "";
}

std::optional<PdfBox> pdfBoxFromName(std::string_view name) noexcept {
    for (std::size_t i = 0; i < kPdfBoxNames.size(); ++i) {
        if (name == kPdfBoxNames[i]) return static_cast<PdfBox>(i);
    }
    return std::nullopt;
}

const PdfRect& PdfPage::box(PdfBox which) const noexcept {
    switch (which) {
    case PdfBox::crop: return crop;
    case PdfBox::bleed: return bleed;
    case PdfBox::trim: return trim;
    case PdfBox::art: return art;
    case PdfBox::media: break;
    }
    return media;
}

PdfRect& PdfPage::box(PdfBox which) noexcept {
    return const_cast<PdfRect&>(static_cast<const PdfPage&>(*this).box(which));
}

std::optional<FileStamp> fileStamp(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path file = desktop::files::pathOf(path);
    if (file.empty() || !fs::is_regular_file(file, ec)) return std::nullopt;
    const fs::file_time_type written = fs::last_write_time(file, ec);
    if (ec) return std::nullopt;
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec) return std::nullopt;
    // Nanoseconds since the Unix epoch on every system, as layout files keep them.
    const auto since = std::chrono::file_clock::to_sys(written).time_since_epoch();
    FileStamp stamp;
    stamp.mtimeNs = static_cast<std::int64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(since).count());
    stamp.size = static_cast<std::int64_t>(size);
    return stamp;
}

LinkStatus linkStatus(const Picture& picture) {
    const auto now = fileStamp(picture.path);
    if (!now) return LinkStatus::missing;
    return *now == picture.imported ? LinkStatus::ok : LinkStatus::modified;
}

const char* linkStatusText(LinkStatus status) noexcept {
    switch (status) {
    case LinkStatus::ok: return "OK";
    case LinkStatus::missing: return "Missing";
    case LinkStatus::modified: return "Modified";
    }
    return "";
}

Fixed scaleToFixed(double scale) noexcept { return toFixed(scale); }

}  // namespace hostsim

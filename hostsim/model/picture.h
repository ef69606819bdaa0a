// A picture as the host keeps it in a picture box: what import found in the
// file, how the picture sits in its box, and the file's stamp at import, from
// which the link status (OK, missing, modified) is told later.
#pragma once

#include "four_cc.h"
#include "geometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hostsim {

// Page boxes of a PDF page, in the order the host's PDF import numbers them.
enum class PdfBox : int { media = 0, crop = 1, bleed = 2, trim = 3, art = 4 };
inline constexpr int kPdfBoxCount = 5;
const char* pdfBoxName(PdfBox box) noexcept;  // "media", "crop", "bleed", "trim", "art"
std::optional<PdfBox> pdfBoxFromName(std::string_view name) noexcept;

// A rectangle in PDF user space (y grows upwards), normalised so that
// llx <= urx and lly <= ury.
struct PdfRect {
    double llx = 0, lly = 0, urx = 0, ury = 0;
    double width() const noexcept { return urx - llx; }
    double height() const noexcept { return ury - lly; }
    bool operator==(const PdfRect&) const = default;
};

// One page's boxes after inheritance and defaulting: the crop box falls back
// to the media box, bleed, trim and art boxes to the crop box, and each is
// cut to the media box. Rotation is the page's /Rotate (0, 90, 180, 270).
struct PdfPage {
    PdfRect media, crop, bleed, trim, art;
    int rotate = 0;

    const PdfRect& box(PdfBox which) const noexcept;
    PdfRect& box(PdfBox which) noexcept;
    bool operator==(const PdfPage&) const = default;
};

struct PdfInfo {
    std::vector<PdfPage> pages;  // the page count is pages.size()
    int page = 1;                // the page placed, from 1
    PdfBox pageBox = PdfBox::media;

    int pageCount() const noexcept { return static_cast<int>(pages.size()); }
    bool operator==(const PdfInfo&) const = default;
};

// What the file system said about a file: modification time in nanoseconds
// since the epoch and size in bytes.
struct FileStamp {
    std::int64_t mtimeNs = 0;
    std::int64_t size = 0;
    bool operator==(const FileStamp&) const = default;
};

// The file's stamp, or nothing when it does not exist or is not a regular file.
std::optional<FileStamp> fileStamp(const std::string& path);

struct Picture {
    std::string path;  // POSIX path of the picture file
    FourCC fileType = kFileTypeNone;
    FourCC colorSpace = kColorNone;
    double resolutionH = 72.0, resolutionV = 72.0;  // dots per inch
    std::uint32_t pixelWidth = 0, pixelHeight = 0;
    // The picture's own size in points at 100 %: (0, 0, height, width) with
    // width = pixels / dpi * 72; for EPS and PDF the size of the bounding or
    // page box.
    Rect bounds;
    double scaleH = 1.0, scaleV = 1.0;  // 1.0 is 100 %
    double offsetH = 0.0, offsetV = 0.0;  // picture origin from the box's top-left, points
    std::optional<PdfInfo> pdf;
    FileStamp imported;  // the file's stamp when it was imported

    bool operator==(const Picture&) const = default;
};

// The picture's status codes and texts, as the host reports them.
enum class LinkStatus : int { ok = 0, missing = 1, modified = 2 };
// Missing when the file is gone (or is no regular file), modified when its
// modification time or size differ from the stamp at import.
LinkStatus linkStatus(const Picture& picture);
const char* linkStatusText(LinkStatus status) noexcept;  // "OK", "Missing", "Modified"

// 16.16 forms of the scale, as handed over the host interface (100 % = 65536).
Fixed scaleToFixed(double scale) noexcept;

}  // namespace hostsim

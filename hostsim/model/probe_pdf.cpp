// PDF through qpdf. Recovery of damaged files is off, so a cut or broken
// file fails with qpdf's reason instead of being patched up quietly; qpdf's
// warnings are suppressed (they would go to stderr). qpdf reports by
// exceptions, which end here.
#define POINTERHOLDER_TRANSITION 4
#include "probe_formats.h"
#include "status.h"

#include <qpdf/Constants.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <new>
#include <optional>

namespace hostsim::probe {

namespace {

// A page tree deeper than this is taken as a loop.
constexpr int kMaxTreeDepth = 256;

std::optional<PdfRect> rectOf(QPDFObjectHandle value) {
    if (!value.isArray() || value.getArrayNItems() != 4) return std::nullopt;
    double n[4];
    for (int i = 0; i < 4; ++i) {
        QPDFObjectHandle item = value.getArrayItem(i);
        if (!item.isNumber()) return std::nullopt;
        n[i] = item.getNumericValue();
        if (!std::isfinite(n[i])) return std::nullopt;
    }
    return PdfRect{std::min(n[0], n[2]), std::min(n[1], n[3]), std::max(n[0], n[2]), std::max(n[1], n[3])};
}

// The value of an inheritable page attribute: the page's own, else the
// nearest parent page-tree node's.
QPDFObjectHandle inherited(QPDFObjectHandle node, const std::string& key) {
    for (int depth = 0; depth < kMaxTreeDepth && node.isDictionary(); ++depth) {
        if (node.hasKey(key)) return node.getKey(key);
        node = node.getKey("/Parent");
    }
    return QPDFObjectHandle::newNull();
}

PdfRect clipTo(const PdfRect& rect, const PdfRect& media) {
    const PdfRect cut{std::max(rect.llx, media.llx), std::max(rect.lly, media.lly), std::min(rect.urx, media.urx),
                      std::min(rect.ury, media.ury)};
    return cut.llx <= cut.urx && cut.lly <= cut.ury ? cut : media;
}

bool readPage(QPDFObjectHandle page, PdfPage& out) {
    const auto media = rectOf(inherited(page, "/MediaBox"));
    if (!media) return false;
    out.media = *media;
    out.crop = clipTo(rectOf(inherited(page, "/CropBox")).value_or(*media), *media);
    out.bleed = clipTo(rectOf(page.getKey("/BleedBox")).value_or(out.crop), *media);
    out.trim = clipTo(rectOf(page.getKey("/TrimBox")).value_or(out.crop), *media);
    out.art = clipTo(rectOf(page.getKey("/ArtBox")).value_or(out.crop), *media);
    QPDFObjectHandle rotate = inherited(page, "/Rotate");
    long long degrees = rotate.isInteger() ? rotate.getIntValue() : 0;
    degrees %= 360;
    if (degrees < 0) degrees += 360;
    out.rotate = degrees % 90 == 0 ? static_cast<int>(degrees) : 0;
    return true;
}

}  // namespace

int readPDF(const std::string& path, const ImportOptions& options, Picture& picture, std::string& message) {
    PdfInfo info;
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.setAttemptRecovery(false);
        pdf.processFile(path.c_str());
        std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
        if (pages.empty()) {
            message = "the PDF has no pages";
            return kErrDamagedPicture;
        }
        info.pages.resize(pages.size());
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (!readPage(pages[i].getObjectHandle(), info.pages[i])) {
                message = "page " + std::to_string(i + 1) + " has no valid MediaBox";
                return kErrDamagedPicture;
            }
        }
    } catch (const QPDFExc& error) {
        message = error.what();
        return error.getErrorCode() == qpdf_e_password ? kErrUnsupportedPicture : kErrDamagedPicture;
    } catch (const std::bad_alloc&) {
        return kErrMemFull;
    } catch (const std::exception& error) {
        message = error.what();
        return kErrDamagedPicture;
    }

    const int page = options.pdfPage == 0 ? 1 : options.pdfPage;
    if (page < 1 || page > info.pageCount()) {
        message = "no page " + std::to_string(options.pdfPage) + " (the PDF has " + std::to_string(info.pageCount()) +
                  ")";
        return kErrNoSuchPage;
    }
    const auto boxIndex = static_cast<int>(options.pdfBox);
    if (boxIndex < 0 || boxIndex >= kPdfBoxCount) {
        message = "no such page box";
        return kErrParam;
    }
    info.page = page;
    info.pageBox = options.pdfBox;
    const PdfPage& placed = info.pages[static_cast<std::size_t>(page) - 1];
    const PdfRect& box = placed.box(options.pdfBox);
    const bool turned = placed.rotate == 90 || placed.rotate == 270;
    const double width = turned ? box.height() : box.width();
    const double height = turned ? box.width() : box.height();
    picture.colorSpace = kColorNone;
    picture.resolutionH = picture.resolutionV = kDefaultResolution;
    const auto pixels = [](double points) {
        return static_cast<std::uint32_t>(std::min(std::round(points), double{std::numeric_limits<std::uint32_t>::max()}));
    };
    picture.pixelWidth = pixels(width);
    picture.pixelHeight = pixels(height);
    picture.bounds = Rect{0, 0, height, width};
    picture.pdf = std::move(info);
    return kNoErr;
}

}  // namespace hostsim::probe

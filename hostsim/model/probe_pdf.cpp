// PDF pictures: the page facts come from qpdf (qpdf/pdf_pages.h); here the
// chosen page and page box become the picture's size.
#include "probe_formats.h"
#include "qpdf/pdf_pages.h"
#include "status.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace hostsim::probe {

namespace {

PdfRect rectOf(const pdf::Box& box) { return PdfRect{box.llx, box.lly, box.urx, box.ury}; }

}  // namespace

int readPDF(const std::string& path, const ImportOptions& options, Picture& picture, std::string& message) {
    pdf::Pages facts = pdf::readPages(path);
    switch (facts.outcome) {
    case pdf::Outcome::ok: break;
    case pdf::Outcome::noMemory: return kErrMemFull;
    case pdf::Outcome::password: message = std::move(facts.message); return kErrUnsupportedPicture;
    case pdf::Outcome::damaged: message = std::move(facts.message); return kErrDamagedPicture;
    }
    PdfInfo info;
    info.pages.reserve(facts.pages.size());
    for (const pdf::PageBoxes& boxes : facts.pages) {
        PdfPage page;
        page.media = rectOf(boxes.media);
        page.crop = rectOf(boxes.crop);
        page.bleed = rectOf(boxes.bleed);
        page.trim = rectOf(boxes.trim);
        page.art = rectOf(boxes.art);
        page.rotate = boxes.rotate;
        info.pages.push_back(page);
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
        return static_cast<std::uint32_t>(
            std::min(std::round(points), double{std::numeric_limits<std::uint32_t>::max()}));
    };
    picture.pixelWidth = pixels(width);
    picture.pixelHeight = pixels(height);
    picture.bounds = Rect{0, 0, height, width};
    picture.pdf = std::move(info);
    return kNoErr;
}

}  // namespace hostsim::probe

// The PDF import module's group ('XPDF'): the options of the next PDF
// import, the options a placed PDF was imported with, page counts.
// Page boxes are numbered 0 media, 1 crop, 2 bleed, 3 trim, 4 art. Page
// counts are read from a stream of the "xtfile" group.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

#include "hostsim/model/picture_probe.h"
#include "hostsim/model/qpdf/pdf_pages.h"

namespace hostsim {

namespace {

constexpr const char* G = "XPDF";

std::int16_t getOptions(XTBoxID box, XTPDFOptions* options) {
    return hostCall<std::int16_t>(G, "getOptions", kNeedDocument, XT_PARAMERR, [=](Runtime& rt) {
        if (options == nullptr) {
            rt.violation(G, "getOptions", "got no record");
            return std::int16_t{XT_PARAMERR};
        }
        *options = XTPDFOptions{};
        const Box* b = rt.currentDocument()->findBox(box);
        if (b == nullptr || !b->picture() || !b->picture()->pdf) return std::int16_t{XT_PARAMERR};
        const PdfInfo& pdf = *b->picture()->pdf;
        // This module reports the page counted from 0.
        options->page = static_cast<std::int16_t>(pdf.page - 1);
        options->pageBox = static_cast<std::int16_t>(pdf.pageBox);
        return std::int16_t{0};
    });
}

std::int16_t setOptions(const XTPDFOptions* options) {
    return hostCall<std::int16_t>(G, "setOptions", kNeedNothing, XT_PARAMERR, [=](Runtime& rt) {
        if (options == nullptr) {
            rt.violation(G, "setOptions", "got no record");
            return std::int16_t{XT_PARAMERR};
        }
        if (options->page < 0 || options->pageBox < 0 || options->pageBox >= kPdfBoxCount) {
            return std::int16_t{XT_PARAMERR};
        }
        rt.importOptions.pdfPage = options->page == 0 ? 1 : options->page;
        rt.importOptions.pdfBox = static_cast<PdfBox>(options->pageBox);
        return std::int16_t{0};
    });
}

std::int16_t pageCount(XTStreamRef stream) {
    return hostCall<std::int16_t>(G, "pageCount", kNeedNothing, 0, [=](Runtime& rt) {
        std::FILE* file = openStreamFile(rt, stream, G, "pageCount");
        if (file == nullptr) return std::int16_t{0};
        const pdf::Pages facts = pdf::readPages(file, stream->path);
        if (facts.outcome != pdf::Outcome::ok) return std::int16_t{0};
        const std::size_t count = facts.pages.size();
        return static_cast<std::int16_t>(count > INT16_MAX ? INT16_MAX : count);
    });
}

const XTPDFGroup kTable{sizeof(XTPDFGroup), getOptions, setOptions, pageCount};

}  // namespace

const XTPDFGroup& pdfGroupTable() { return kTable; }

}  // namespace hostsim

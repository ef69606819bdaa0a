#include "host/xt_pdf.h"

#include "host/xt_groups.h"

namespace lumbrel {

bool pdfModuleActive() noexcept {
    return gPDFActive != 0 && gXtPDF != nullptr;
}

std::int16_t xt_pdfsetoptions(const XTPDFOptions& options) {
    if (!pdfModuleActive()) return -1;
    return gXtPDF->setOptions(&options);
}

bool xt_pdfgetoptions(XTBoxID box, XTPDFOptions* options) {
    if (options == nullptr) return false;
    *options = XTPDFOptions{};
    if (!pdfModuleActive() || box == 0) return false;
    XTPDFOptions found{};
    if (gXtPDF->getOptions(box, &found) != 0) return false;
    *options = found;
    return true;
}

std::int32_t xt_pdfpagecount(XTStreamRef stream) {
    if (!pdfModuleActive() || stream == nullptr) return 0;
    const std::int16_t count = gXtPDF->pageCount(stream);
    return count > 0 ? count : 0;
}

}  // namespace lumbrel

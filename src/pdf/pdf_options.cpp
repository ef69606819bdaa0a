#include "pdf/pdf_options.h"

#include "host/xt_files.h"
#include "host/xt_pdf.h"

namespace lumbrel {

std::int32_t getPDFNumPages(const char* path) {
    // Without the module nobody could count the pages: no stream is opened.
    if (!pdfModuleActive() || path == nullptr || *path == '\0') return 0;
    XTStreamRef stream = nullptr;
    if (XTOpenReadStreamAt(path, &stream) != XT_NOERR || stream == nullptr) return 0;
    const std::int32_t count = xt_pdfpagecount(stream);
    XTCloseStream(stream);
    return count;
}

std::int32_t getPDFPageNum(XTBoxID box, std::int16_t* pageBox) {
    XTPDFOptions options{};
    const bool known = xt_pdfgetoptions(box, &options);
    if (pageBox != nullptr) *pageBox = known ? options.pageBox : kPageBoxMedia;
    return known ? std::int32_t{options.page} + 1 : 1;
}

std::int16_t setPDFImportOptions(std::int32_t page, std::int16_t pageBox) {
    XTPDFOptions options{};
    // The record holds 16 bits; callers never pass more than a page count.
    if (page < 1) page = 1;
    if (page > INT16_MAX) page = INT16_MAX;
    options.page = static_cast<std::int16_t>(page);
    options.pageBox = pageBox;
    return xt_pdfsetoptions(options);
}

}  // namespace lumbrel

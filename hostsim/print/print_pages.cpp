#include "hostsim/print/print_pages.h"

namespace hostsim::print {

namespace {

// Whether [a0, a1] reaches into [b0, b1) with some length; a span of no
// length (a hairline box) belongs to the page it starts on. Boxes that only
// touch a page edge stay with the page they lie on.
bool spanReaches(double a0, double a1, double b0, double b1) noexcept {
    if (a0 == a1) return a0 >= b0 && a0 < b1;
    return a0 < b1 && a1 > b0;
}

bool reaches(const Rect& box, const Rect& page) noexcept {
    return spanReaches(box.left, box.right, page.left, page.right) &&
           spanReaches(box.top, box.bottom, page.top, page.bottom);
}

}  // namespace

std::vector<PrintPage> printPages(const Document& doc) {
    std::vector<PrintPage> pages;
    for (int number = 1; number <= doc.numPages(); ++number) {
        const std::optional<Rect> rect = doc.pageRect(number);
        const int spread = doc.spreadOfPage(number);
        const std::vector<BoxId>* chain = doc.chain(spread);
        if (!rect || chain == nullptr) continue;
        PrintPage page{number, spread, *rect, {}};
        for (const BoxId id : *chain) {
            const Box* box = doc.findBox(id);
            if (box != nullptr && reaches(box->bounds(), *rect)) page.boxes.push_back(id);
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

}  // namespace hostsim::print

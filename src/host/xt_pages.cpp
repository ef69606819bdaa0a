#include "host/xt_pages.h"

#include <algorithm>

#include "host/xt_documents.h"
#include "host/xt_groups.h"

namespace lumbrel {

namespace {

constexpr Fixed kOnePoint = 0x10000;

// Adds without leaving the range of a 16.16 value.
Fixed addFixed(Fixed value, Fixed delta) noexcept {
    const std::int64_t sum = std::int64_t{value} + delta;
    return static_cast<Fixed>(std::clamp<std::int64_t>(sum, INT32_MIN, INT32_MAX));
}

}  // namespace

std::int16_t numsprds() {
    return hasCurrentDocument() ? gXtSpread.numSpreads() : std::int16_t{0};
}

std::int16_t numpages() {
    return hasCurrentDocument() ? gXtPage.numPages() : std::int16_t{0};
}

std::int16_t nummasterpages() {
    return hasCurrentDocument() ? gXtPage.numMasterPages() : std::int16_t{0};
}

std::int16_t xt_pg2sprd(std::int16_t page) {
    return hasCurrentDocument() ? gXtPage.pageToSpread(page) : std::int16_t{0};
}

std::int16_t XTGetCurSpread() {
    return hasCurrentDocument() ? gXtSpread.curSpread() : std::int16_t{0};
}

std::int16_t xtget_curpage() {
    return hasCurrentDocument() ? gXtPage.curPage() : std::int16_t{0};
}

XTBoxID getsprdbox(std::int16_t spread) {
    return hasCurrentDocument() ? gXtSpread.spreadBox(spread) : XTBoxID{0};
}

std::int16_t xtseq2page(std::int16_t sequence) {
    return hasCurrentDocument() ? gXtPage.seqToPage(sequence) : std::int16_t{0};
}

bool pagefrect2sprd(std::int16_t page, XTFixedRect* rect) {
    if (rect == nullptr || !hasCurrentDocument()) return false;
    XTFixedRect pageRect{};
    if (gXtPage.pageRectInSpread(page, &pageRect) != XT_NOERR) return false;
    rect->top = addFixed(rect->top, pageRect.top);
    rect->left = addFixed(rect->left, pageRect.left);
    rect->bottom = addFixed(rect->bottom, pageRect.top);
    rect->right = addFixed(rect->right, pageRect.left);
    return true;
}

void setsprdorigin(std::int16_t spread) {
    if (hasCurrentDocument()) gXtDocDisplay.setSpreadOrigin(spread);
}

XTFixedRect xt_getpagerect(std::int16_t page, std::int16_t* spread) {
    XTFixedRect rect{};
    if (!hasCurrentDocument()) {
        if (spread != nullptr) *spread = 0;
        return rect;
    }
    rect.bottom = gXtPage.pageLength();
    rect.right = gXtPage.pageWidth();
    pagefrect2sprd(page, &rect);
    rect.top = addFixed(rect.top, kOnePoint);
    rect.left = addFixed(rect.left, kOnePoint);
    rect.bottom = addFixed(rect.bottom, kOnePoint);
    rect.right = addFixed(rect.right, kOnePoint);
    if (spread != nullptr) *spread = gXtPage.pageToSpread(page);
    return rect;
}

std::int32_t XTGetPageStr(std::int16_t page, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) return 0;
    buffer[0] = '\0';
    if (!hasCurrentDocument()) return 0;
    const auto capacity = static_cast<std::int32_t>(std::min<std::size_t>(size, INT32_MAX));
    std::int32_t length = gXtPage.pageName(page, buffer, capacity);
    length = std::clamp(length, 0, capacity - 1);
    buffer[length] = '\0';
    return length;
}

bool gotopage(std::int16_t page) {
    return hasCurrentDocument() && gXtPage.gotoPage(page) == 1;
}

bool gotomaster(std::int16_t master) {
    return hasCurrentDocument() && gXtMaster.gotoMaster(master) == 1;
}

bool xtget_showmaster() {
    return hasCurrentDocument() && gXtMaster.showingMaster() == 1;
}

Fixed xtget_docpagewidth() {
    return hasCurrentDocument() ? gXtPage.pageWidth() : 0;
}

Fixed xtget_docpagelength() {
    return hasCurrentDocument() ? gXtPage.pageLength() : 0;
}

Fixed xtget_docscale() {
    return hasCurrentDocument() ? gXtDocDisplay.viewScale() : 0;
}

}  // namespace lumbrel

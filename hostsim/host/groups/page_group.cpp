// "xtpage": pages of the current document.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtpage";

std::int16_t numPages() {
    return hostCall<std::int16_t>(G, "numPages", kNeedDocument, 0, [](Runtime& rt) {
        return static_cast<std::int16_t>(rt.currentDocument()->numPages());
    });
}

std::int16_t numMasterPages() {
    return hostCall<std::int16_t>(G, "numMasterPages", kNeedDocument, 0, [](Runtime& rt) {
        return static_cast<std::int16_t>(rt.currentDocument()->numMasterPages());
    });
}

std::int16_t curPage() {
    return hostCall<std::int16_t>(G, "curPage", kNeedDocument, 0, [](Runtime& rt) {
        return static_cast<std::int16_t>(rt.currentDocument()->currentPage());
    });
}

std::int16_t pageToSpread(std::int16_t page) {
    return hostCall<std::int16_t>(G, "pageToSpread", kNeedDocument, 0, [page](Runtime& rt) {
        const Document& doc = *rt.currentDocument();
        return static_cast<std::int16_t>(doc.spreadOfPage(page == 0 ? doc.currentPage() : page));
    });
}

std::int16_t seqToPage(std::int16_t sequence) {
    return hostCall<std::int16_t>(G, "seqToPage", kNeedDocument, 0, [sequence](Runtime& rt) {
        const Document& doc = *rt.currentDocument();
        const int page = sequence - doc.numMasterPages();
        return static_cast<std::int16_t>(page >= 1 && page <= doc.numPages() ? page : 0);
    });
}

XTError pageRectInSpread(std::int16_t page, XTFixedRect* rect) {
    return hostCall<XTError>(G, "pageRectInSpread", kNeedDocument, XT_PARAMERR, [=](Runtime& rt) {
        if (rect == nullptr) {
            rt.violation(G, "pageRectInSpread", "got no rectangle");
            return XTError{XT_PARAMERR};
        }
        const std::optional<Rect> r = rt.currentDocument()->pageRect(page);
        if (!r) return XTError{XT_PARAMERR};
        const FixedRect f = toFixedRect(*r);
        *rect = XTFixedRect{f.top, f.left, f.bottom, f.right};
        return XTError{XT_NOERR};
    });
}

std::int32_t pageName(std::int16_t page, char* buffer, std::int32_t size) {
    return hostCall<std::int32_t>(G, "pageName", kNeedDocument, 0, [=](Runtime& rt) {
        if (buffer == nullptr && size > 0) {
            rt.violation(G, "pageName", "got no buffer");
            return 0;
        }
        const Page* p = rt.currentDocument()->page(page);
        return copyOut(p != nullptr ? std::string_view(p->name) : std::string_view(), buffer, size);
    });
}

std::uint8_t gotoPage(std::int16_t page) {
    return hostCall<std::uint8_t>(G, "gotoPage", kNeedDocument, 0, [page](Runtime& rt) {
        Document& doc = *rt.currentDocument();
        if (doc.page(page) == nullptr || !doc.setCurrentPage(page)) return std::uint8_t{0};
        doc.setShowMaster(0);
        // Going to a page scrolls its spread to the top-left of the window.
        doc.view.originV = 0.0;
        doc.view.originH = 0.0;
        rt.redrawPending = true;
        return std::uint8_t{1};
    });
}

Fixed pageWidth() {
    return hostCall<Fixed>(G, "pageWidth", kNeedDocument, 0,
                           [](Runtime& rt) { return toFixed(rt.currentDocument()->pageWidth); });
}

Fixed pageLength() {
    return hostCall<Fixed>(G, "pageLength", kNeedDocument, 0,
                           [](Runtime& rt) { return toFixed(rt.currentDocument()->pageHeight); });
}

const XTPageGroup kTable{sizeof(XTPageGroup), numPages, numMasterPages, curPage,  pageToSpread, seqToPage,
                         pageRectInSpread,    pageName, gotoPage,       pageWidth, pageLength};

}  // namespace

const XTPageGroup& pageGroupTable() { return kTable; }

}  // namespace hostsim

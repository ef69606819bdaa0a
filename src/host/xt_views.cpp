#include "host/xt_views.h"

#include "host/xt_documents.h"
#include "host/xt_groups.h"

namespace lumbrel {

XTViewRef xt_viewofwindow(XTWindow window) {
    return gXtDocDisplay.viewOfWindow != nullptr ? gXtDocDisplay.viewOfWindow(window) : XTViewRef{0};
}

XTDocID xt_viewdoc(XTViewRef view) {
    if (view == 0 || gXtDocDisplay.viewDoc == nullptr) return -1;
    return gXtDocDisplay.viewDoc(view);
}

std::int16_t xt_viewcurpage(XTViewRef view) {
    if (view == 0 || gXtDocDisplay.viewCurPage == nullptr) return 0;
    return gXtDocDisplay.viewCurPage(view);
}

XTPoint xt_globaltolocal(XTWindow window, XTPoint global) {
    XTPoint local = global;
    if (gXtDocDisplay.globalToLocal != nullptr) gXtDocDisplay.globalToLocal(window, &local);
    return local;
}

Fixed xt_docscalefactor() {
    if (!hasCurrentDocument() || gXtDocDisplay.docScaleFactor == nullptr) return 0;
    return gXtDocDisplay.docScaleFactor();
}

std::int32_t xt_spreadscreenheight(std::int16_t spread) {
    if (!hasCurrentDocument() || gXtDocDisplay.spreadScreenBounds == nullptr) return 0;
    XTRect bounds{};
    if (gXtDocDisplay.spreadScreenBounds(spread, &bounds) != 0) return 0;
    const std::int64_t height = std::int64_t{bounds.bottom} - bounds.top;
    if (height > INT32_MAX) return INT32_MAX;
    if (height < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(height);
}

std::intptr_t xt_currentdrag() {
    if (gXtDataExchange == nullptr || gXtDataExchange->currentDrag == nullptr) return 0;
    return gXtDataExchange->currentDrag();
}

}  // namespace lumbrel

// "xtdocdisplay": the document view, its scale and the window's local
// coordinates (see the window model in simulator.h).
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

#include <cmath>

namespace hostsim {

namespace {

constexpr const char* G = "xtdocdisplay";

std::int16_t clamp16(double value) noexcept {
    if (!(value > INT16_MIN)) return INT16_MIN;
    if (value > INT16_MAX) return INT16_MAX;
    return static_cast<std::int16_t>(std::lround(value));
}

std::int32_t clamp32(double value) noexcept {
    if (!(value > INT32_MIN)) return INT32_MIN;
    if (value > INT32_MAX) return INT32_MAX;
    return static_cast<std::int32_t>(std::llround(value));
}

Fixed viewScale() {
    return hostCall<Fixed>(G, "viewScale", kNeedDocument, kFixedOne,
                           [](Runtime& rt) { return rt.currentDocument()->view.scale; });
}

Fixed docScaleFactor() {
    return hostCall<Fixed>(G, "docScaleFactor", kNeedDocument, kFixedOne, [](Runtime&) { return kFixedOne; });
}

XTViewRef viewOfWindow(XTWindow window) {
    return hostCall<XTViewRef>(G, "viewOfWindow", kNeedNothing, 0, [window](Runtime& rt) {
        const XTDocID doc = rt.docOfWindow(window);
        return doc >= 0 ? Runtime::viewOf(doc) : XTViewRef{0};
    });
}

XTDocID viewDoc(XTViewRef view) {
    return hostCall<XTDocID>(G, "viewDoc", kNeedNothing, -1, [view](Runtime& rt) { return rt.docOfView(view); });
}

std::int16_t viewCurPage(XTViewRef view) {
    return hostCall<std::int16_t>(G, "viewCurPage", kNeedNothing, 0, [view](Runtime& rt) {
        const Document* doc = rt.documentByID(rt.docOfView(view));
        return doc != nullptr ? static_cast<std::int16_t>(doc->currentPage()) : std::int16_t{0};
    });
}

void setSpreadOrigin(std::int16_t spread) {
    hostCallVoid(G, "setSpreadOrigin", kNeedDocument, [spread](Runtime& rt) {
        const Document& doc = *rt.currentDocument();
        if (doc.spread(spread) == nullptr) {
            rt.violation(G, "setSpreadOrigin", "got spread " + std::to_string(spread) + ", which does not exist");
            return;
        }
        Runtime::spreadOrigin(doc, spread, rt.portOriginV, rt.portOriginH);
    });
}

void globalToLocal(XTWindow window, XTPoint* point) {
    hostCallVoid(G, "globalToLocal", kNeedNothing, [=](Runtime& rt) {
        if (point == nullptr) {
            rt.violation(G, "globalToLocal", "got no point");
            return;
        }
        const XTDocID doc = rt.docOfWindow(window);
        if (doc < 0) return;  // not a window of this host: the point stays
        // The port origin belongs to the front window's view.
        const bool front = doc == rt.currentID();
        point->v = clamp16(point->v - kContentTop - (front ? rt.portOriginV : 0.0));
        point->h = clamp16(point->h - kContentLeft - (front ? rt.portOriginH : 0.0));
    });
}

std::int16_t spreadScreenBounds(std::int16_t spread, XTRect* bounds) {
    return hostCall<std::int16_t>(G, "spreadScreenBounds", kNeedDocument, XT_PARAMERR, [=](Runtime& rt) {
        if (bounds == nullptr) {
            rt.violation(G, "spreadScreenBounds", "got no rectangle");
            return std::int16_t{XT_PARAMERR};
        }
        const Document& doc = *rt.currentDocument();
        const Spread* s = doc.spread(spread);
        if (s == nullptr) return std::int16_t{XT_PARAMERR};
        // At 100 %, from the current spread's origin, in 32 bits: far spreads
        // keep their true height wherever the view is scrolled.
        const int current = doc.currentSpread();
        const double top = spread > 0 && current > 0 ? Runtime::spreadTop(doc, spread) - Runtime::spreadTop(doc, current)
                                                     : 0.0;
        bounds->top = clamp32(top);
        bounds->left = 0;
        bounds->bottom = clamp32(top + s->height);
        bounds->right = clamp32(s->width);
        return std::int16_t{0};
    });
}

const XTDocDisplayGroup kTable{sizeof(XTDocDisplayGroup), viewScale,       docScaleFactor, viewOfWindow, viewDoc,
                               viewCurPage,               setSpreadOrigin, globalToLocal,  spreadScreenBounds};

}  // namespace

const XTDocDisplayGroup& docDisplayGroupTable() { return kTable; }

}  // namespace hostsim

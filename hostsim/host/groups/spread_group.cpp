// "xtspread": spreads of the current document.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtspread";

// While a master is shown, the spreads counted are the master spreads.
std::int16_t numSpreads() {
    return hostCall<std::int16_t>(G, "numSpreads", kNeedDocument, 0, [](Runtime& rt) {
        const Document& doc = *rt.currentDocument();
        return static_cast<std::int16_t>(doc.showMaster() != 0 ? doc.numMasterSpreads() : doc.numSpreads());
    });
}

std::int16_t curSpread() {
    return hostCall<std::int16_t>(G, "curSpread", kNeedDocument, 0, [](Runtime& rt) {
        return static_cast<std::int16_t>(rt.currentDocument()->currentSpread());
    });
}

// This host keeps no box of a spread's own: there is never one to answer.
XTBoxID spreadBox(std::int16_t spread) {
    return hostCall<XTBoxID>(G, "spreadBox", kNeedDocument, 0, [spread](Runtime&) {
        static_cast<void>(spread);
        return XTBoxID{0};
    });
}

XTError spreadBounds(std::int16_t spread, XTFixedRect* bounds) {
    return hostCall<XTError>(G, "spreadBounds", kNeedDocument, XT_PARAMERR, [=](Runtime& rt) {
        if (bounds == nullptr) {
            rt.violation(G, "spreadBounds", "got no rectangle");
            return XTError{XT_PARAMERR};
        }
        const Spread* s = rt.currentDocument()->spread(spread);
        if (s == nullptr) return XTError{XT_PARAMERR};
        *bounds = XTFixedRect{0, 0, toFixed(s->height), toFixed(s->width)};
        return XTError{XT_NOERR};
    });
}

const XTSpreadGroup kTable{sizeof(XTSpreadGroup), numSpreads, curSpread, spreadBox, spreadBounds};

}  // namespace

const XTSpreadGroup& spreadGroupTable() { return kTable; }

}  // namespace hostsim

// "xtmaster": showing master spreads in place of the document pages.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtmaster";

std::uint8_t gotoMaster(std::int16_t master) {
    return hostCall<std::uint8_t>(G, "gotoMaster", kNeedDocument, 0, [master](Runtime& rt) {
        Document& doc = *rt.currentDocument();
        if (master < 1 || !doc.setShowMaster(master)) return std::uint8_t{0};
        doc.view.originV = 0.0;
        doc.view.originH = 0.0;
        rt.redrawPending = true;
        return std::uint8_t{1};
    });
}

std::uint8_t showingMaster() {
    return hostCall<std::uint8_t>(G, "showingMaster", kNeedDocument, 0, [](Runtime& rt) {
        return static_cast<std::uint8_t>(rt.currentDocument()->showMaster() != 0 ? 1 : 0);
    });
}

const XTMasterGroup kTable{sizeof(XTMasterGroup), gotoMaster, showingMaster};

}  // namespace

const XTMasterGroup& masterGroupTable() { return kTable; }

}  // namespace hostsim

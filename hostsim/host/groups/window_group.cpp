// "xtwindow": windows. Every open document has one window; the current
// document's is in front.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtwindow";

XTWindow curWindow() {
    return hostCall<XTWindow>(G, "curWindow", kNeedNothing, 0, [](Runtime& rt) {
        return rt.currentID() >= 0 ? Runtime::windowOf(rt.currentID()) : XTWindow{0};
    });
}

std::uint8_t isDocWindow(XTWindow window) {
    return hostCall<std::uint8_t>(G, "isDocWindow", kNeedNothing, 0, [window](Runtime& rt) {
        return static_cast<std::uint8_t>(rt.docOfWindow(window) >= 0 ? 1 : 0);
    });
}

void selectWindow(XTWindow window) {
    hostCallVoid(G, "selectWindow", kNeedNothing, [window](Runtime& rt) {
        const XTDocID doc = rt.docOfWindow(window);
        if (doc < 0) return;
        if (doc != rt.currentID()) {
            rt.bringToFront(doc);
            rt.note("window of document " + std::to_string(doc) + " to the front");
        }
    });
}

const XTWindowGroup kTable{sizeof(XTWindowGroup), curWindow, isDocWindow, selectWindow};

}  // namespace

const XTWindowGroup& windowGroupTable() { return kTable; }

}  // namespace hostsim

// "xtdoc": documents.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtdoc";

XTDocID curDocID() {
    return hostCall<XTDocID>(G, "curDocID", kNeedNothing, -1, [](Runtime& rt) { return rt.currentID(); });
}

XTDocRef docRef(XTDocID doc) {
    return hostCall<XTDocRef>(G, "docRef", kNeedNothing, -1, [doc](Runtime& rt) {
        return rt.documentByID(doc) != nullptr ? Runtime::refOf(doc) : XTDocRef{-1};
    });
}

std::uint8_t isLibrary(XTDocID doc) {
    return hostCall<std::uint8_t>(G, "isLibrary", kNeedNothing, 0, [doc](Runtime& rt) {
        const Document* d = rt.documentByID(doc);
        return static_cast<std::uint8_t>(d != nullptr && d->library ? 1 : 0);
    });
}

std::int16_t dirtyFlag() {
    return hostCall<std::int16_t>(G, "dirtyFlag", kNeedDocument, 0, [](Runtime& rt) {
        return static_cast<std::int16_t>(rt.currentDocument()->changeState);
    });
}

void setDirtyFlag(std::int16_t state) {
    hostCallVoid(G, "setDirtyFlag", kNeedDocument, [state](Runtime& rt) {
        if (state < 0 || state > kChangeStateMax) {
            rt.violation(G, "setDirtyFlag", "got the change state " + std::to_string(state) + " (0 to 3)");
            return;
        }
        rt.currentDocument()->changeState = state;
    });
}

std::int32_t docPath(XTDocID doc, char* buffer, std::int32_t size) {
    return hostCall<std::int32_t>(G, "docPath", kNeedNothing, 0, [=](Runtime& rt) {
        if (buffer == nullptr && size > 0) {
            rt.violation(G, "docPath", "got no buffer");
            return 0;
        }
        const Document* d = rt.documentByID(doc);
        if (d == nullptr) {
            copyOut("", buffer, size);
            return 0;
        }
        return copyOut(d->path, buffer, size);
    });
}

void redraw(XTDocID doc) {
    hostCallVoid(G, "redraw", kNeedNothing, [doc](Runtime& rt) {
        if (doc == 0 && rt.currentDocument() == nullptr) {
            rt.violation(G, "redraw", "called with no document open");
            return;
        }
        if (doc != 0 && rt.documentByID(doc) == nullptr) return;
        // The window is drawn when the host gets back to its event loop.
        if (doc == 0 || doc == rt.currentID()) rt.redrawPending = true;
    });
}

XTWindow docWindow() {
    return hostCall<XTWindow>(G, "docWindow", kNeedNothing, 0, [](Runtime& rt) {
        return rt.currentID() >= 0 ? Runtime::windowOf(rt.currentID()) : XTWindow{0};
    });
}

// The document's own unit: the host keeps the measurement preferences per document.
std::int16_t horizontalUnit() {
    return hostCall<std::int16_t>(G, "horizontalUnit", kNeedDocument, 0, [](Runtime& rt) {
        return static_cast<std::int16_t>(rt.currentDocument()->unit);
    });
}

const XTDocGroup kTable{sizeof(XTDocGroup), curDocID, docRef,    isLibrary,     dirtyFlag, setDirtyFlag,
                        docPath,            redraw,   docWindow, horizontalUnit};

}  // namespace

const XTDocGroup& docGroupTable() { return kTable; }

}  // namespace hostsim

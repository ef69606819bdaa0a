// "xtbox": boxes of the current document, their chain order, the current
// box and the selection.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/host_flavour.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtbox";

// While a master is shown, spread n is master spread n (the model numbers
// masters from -1 down).
int shownSpread(const Document& doc, std::int16_t spread) noexcept {
    return spread > 0 && doc.showMaster() != 0 ? -spread : spread;
}

XTBoxID firstBox(std::int16_t spread) {
    return hostCall<XTBoxID>(G, "firstBox", kNeedDocument, 0, [spread](Runtime& rt) {
        const Document& doc = *rt.currentDocument();
        return doc.firstBox(shownSpread(doc, spread));
    });
}

XTBoxID nextBox(XTBoxID box) {
    return hostCall<XTBoxID>(G, "nextBox", kNeedDocument, 0,
                             [box](Runtime& rt) { return box == 0 ? 0 : rt.currentDocument()->nextBox(box); });
}

XTBoxID curBox() {
    return hostCall<XTBoxID>(G, "curBox", kNeedDocument, 0,
                             [](Runtime& rt) { return rt.currentDocument()->currentBox(); });
}

void setCurBox(XTBoxID box) {
    hostCallVoid(G, "setCurBox", kNeedDocument, [box](Runtime& rt) {
        Document& doc = *rt.currentDocument();
        if (box != 0 && doc.findBox(box) == nullptr) {
            rt.violation(G, "setCurBox", "got box " + std::to_string(box) + ", which does not exist");
            return;
        }
        doc.setCurrentBox(box);
        doc.setSelection(box != 0 ? std::vector<BoxId>{box} : std::vector<BoxId>{});
    });
}

void deselectAll() {
    hostCallVoid(G, "deselectAll", kNeedDocument, [](Runtime& rt) {
        Document& doc = *rt.currentDocument();
        doc.setSelection({});
        doc.setCurrentBox(0);
        // The Windows host shows the module's selection changes between dropped files.
        if (kWindowsHost) rt.note("selection cleared");
    });
}

std::int16_t boxKind(XTBoxID box) {
    return hostCall<std::int16_t>(G, "boxKind", kNeedDocument, 0, [box](Runtime& rt) {
        const Box* b = rt.currentDocument()->findBox(box);
        return static_cast<std::int16_t>(b != nullptr ? b->kind() : 0);
    });
}

std::uint8_t isPictureBox(XTBoxID box) {
    return hostCall<std::uint8_t>(G, "isPictureBox", kNeedDocument, 0, [box](Runtime& rt) {
        const Box* b = rt.currentDocument()->findBox(box);
        return static_cast<std::uint8_t>(b != nullptr && b->isPicture() ? 1 : 0);
    });
}

std::uint8_t isGroupBox(XTBoxID box) {
    return hostCall<std::uint8_t>(G, "isGroupBox", kNeedDocument, 0, [box](Runtime& rt) {
        const Box* b = rt.currentDocument()->findBox(box);
        return static_cast<std::uint8_t>(b != nullptr && b->isGroup() ? 1 : 0);
    });
}

XTError getBounds(XTBoxID box, XTFixedRect* bounds) {
    return hostCall<XTError>(G, "getBounds", kNeedDocument, XT_PARAMERR, [=](Runtime& rt) {
        if (bounds == nullptr) {
            rt.violation(G, "getBounds", "got no rectangle");
            return XTError{XT_PARAMERR};
        }
        const Box* b = rt.currentDocument()->findBox(box);
        if (b == nullptr) return XTError{XT_PARAMERR};
        const FixedRect r = toFixedRect(b->bounds());
        *bounds = XTFixedRect{r.top, r.left, r.bottom, r.right};
        return XTError{XT_NOERR};
    });
}

XTError setBounds(XTBoxID box, const XTFixedRect* bounds) {
    return hostCall<XTError>(G, "setBounds", kNeedDocument, XT_PARAMERR, [=](Runtime& rt) {
        if (bounds == nullptr) {
            rt.violation(G, "setBounds", "got no rectangle");
            return XTError{XT_PARAMERR};
        }
        const Rect r = fromFixedRect(FixedRect{bounds->top, bounds->left, bounds->bottom, bounds->right});
        const int status = rt.currentDocument()->setBounds(box, r);
        if (status == kNoErr) rt.redrawPending = true;
        return XTError{status};
    });
}

// Only picture boxes hold pictures in this host: no other box turns into one.
std::uint8_t canTakePicture(XTBoxID box) {
    return hostCall<std::uint8_t>(G, "canTakePicture", kNeedDocument, 0, [box](Runtime& rt) {
        const Box* b = rt.currentDocument()->findBox(box);
        return static_cast<std::uint8_t>(b != nullptr && b->isPicture() ? 1 : 0);
    });
}

std::int16_t boxSpread(XTBoxID box) {
    return hostCall<std::int16_t>(G, "boxSpread", kNeedDocument, 0, [box](Runtime& rt) {
        const Box* b = rt.currentDocument()->findBox(box);
        return static_cast<std::int16_t>(b != nullptr ? b->spread() : 0);
    });
}

const XTBoxGroup kTable{sizeof(XTBoxGroup), firstBox,     nextBox,    curBox,    setCurBox, deselectAll, boxKind,
                        isPictureBox,       isGroupBox,   getBounds,  setBounds, boxSpread, canTakePicture};

}  // namespace

const XTBoxGroup& boxGroupTable() { return kTable; }

}  // namespace hostsim

// "xtxtbox": records of boxes about to be made, and installing them.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/host_flavour.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtxtbox";

XTHandle newBoxRecord(XTDocID doc, std::int16_t kind, std::int16_t shape) {
    return hostCall<XTHandle>(G, "newBoxRecord", kNeedDocument, 0, [=](Runtime& rt) {
        if (rt.documentByID(doc) == nullptr) {
            rt.violation(G, "newBoxRecord", "got document " + std::to_string(doc) + ", which is not open");
            return XTHandle{0};
        }
        if (kind != kBoxPicture && kind != kBoxText && kind != kBoxLine) {
            rt.violation(G, "newBoxRecord", "got box kind " + std::to_string(kind) + " (3, 4 or 5)");
            return XTHandle{0};
        }
        if (shape < 0 || shape > kShapeMax) {
            rt.violation(G, "newBoxRecord", "got shape " + std::to_string(shape));
            return XTHandle{0};
        }
        HandleEntry entry;
        entry.boxRecord = true;
        entry.record.doc = doc;
        entry.record.kind = kind;
        entry.record.shape = shape;
        return rt.newHandle(std::move(entry));
    });
}

void setRecordBounds(XTHandle record, const XTFixedRect* bounds) {
    hostCallVoid(G, "setRecordBounds", kNeedNothing, [=](Runtime& rt) {
        HandleEntry* entry = rt.lookupHandle(record, true, G, "setRecordBounds");
        if (entry == nullptr) return;
        if (bounds == nullptr) {
            rt.violation(G, "setRecordBounds", "got no rectangle");
            return;
        }
        entry->record.bounds = fromFixedRect(FixedRect{bounds->top, bounds->left, bounds->bottom, bounds->right});
    });
}

void setRecordPictureScale(XTHandle record, Fixed horizontal, Fixed vertical) {
    hostCallVoid(G, "setRecordPictureScale", kNeedNothing, [=](Runtime& rt) {
        HandleEntry* entry = rt.lookupHandle(record, true, G, "setRecordPictureScale");
        if (entry == nullptr) return;
        entry->record.scaleH = fromFixed(horizontal);
        entry->record.scaleV = fromFixed(vertical);
    });
}

XTBoxID installBox(XTDocID doc, std::int16_t spread, XTHandle record) {
    return hostCall<XTBoxID>(G, "installBox", kNeedDocument, 0, [=](Runtime& rt) {
        HandleEntry* entry = rt.lookupHandle(record, true, G, "installBox");
        if (entry == nullptr) return XTBoxID{0};
        Document* target = rt.documentByID(doc);
        if (target == nullptr) {
            rt.violation(G, "installBox", "got document " + std::to_string(doc) + ", which is not open");
            return XTBoxID{0};
        }
        if (entry->record.doc != doc) {
            rt.violation(G, "installBox", "got a record made for document " + std::to_string(entry->record.doc));
        }
        const BoxRecordData& data = entry->record;
        const XTBoxID box = target->addBox(spread, data.kind, data.bounds, data.shape);
        if (box == 0) {
            rt.note("box not made on spread " + std::to_string(spread) + " at " + rectText(data.bounds));
            return XTBoxID{0};
        }
        std::string scale;
        if (kWindowsHost && (data.scaleH != 1.0 || data.scaleV != 1.0)) {
            scale = ", picture scale " + pointsText(data.scaleH * 100) + " % x " + pointsText(data.scaleV * 100) + " %";
        }
        rt.note("box " + std::to_string(box) + " made (" + boxKindName(data.kind) + ") on spread " +
                std::to_string(spread) + " at " + rectText(data.bounds) + scale);
        if (doc == rt.currentID()) rt.redrawPending = true;
        return box;
    });
}

void disposeBoxRecord(XTHandle record) {
    hostCallVoid(G, "disposeBoxRecord", kNeedNothing, [=](Runtime& rt) {
        if (rt.lookupHandle(record, true, G, "disposeBoxRecord") != nullptr) rt.handles.erase(record);
    });
}

const XTBoxRecordGroup kTable{sizeof(XTBoxRecordGroup), newBoxRecord, setRecordBounds, setRecordPictureScale,
                              installBox, disposeBoxRecord};

}  // namespace

const XTBoxRecordGroup& boxRecordGroupTable() { return kTable; }

}  // namespace hostsim

#include "host/xt_boxes.h"

#include "host/xt_documents.h"
#include "host/xt_groups.h"

namespace lumbrel {

XTBoxID XTGetCurBox() {
    if (!hasCurrentDocument()) return 0;
    return gXtBox.curBox();
}

XTBoxID firstbox(std::int16_t spread) {
    if (!hasCurrentDocument()) return 0;
    return gXtBox.firstBox(spread);
}

XTBoxID nextbox(XTBoxID box) {
    if (box == 0) return 0;
    return gXtBox.nextBox(box);
}

bool xt_ispictbox(XTBoxID box) {
    if (box == 0 || !hasCurrentDocument()) return false;
    return gXtBox.isPictureBox(box) == 1;
}

bool xt_isgroupbox(XTBoxID box) {
    if (box == 0 || !hasCurrentDocument()) return false;
    return gXtBox.isGroupBox(box) == 1;
}

bool xt_getboxbounds(XTBoxID box, XTFixedRect* bounds) {
    if (box == 0 || bounds == nullptr) return false;
    XTFixedRect found{};
    if (gXtBox.getBounds(box, &found) != XT_NOERR) return false;
    *bounds = found;
    return true;
}

bool boxinrect(XTBoxID box, const XTFixedRect* rect) {
    if (rect == nullptr) return true;
    XTFixedRect bounds{};
    if (!xt_getboxbounds(box, &bounds)) return false;
    return gXtFixedRect.rectsMeet(&bounds, rect) == 1;
}

XTHandle boxesingroup(XTBoxID box, std::int32_t* count) {
    std::int32_t members = 0;
    XTHandle handle = 0;
    if (xt_isgroupbox(box)) handle = gXtGroup.groupMembers(box, &members);
    if (handle == 0 || members < 0) members = 0;
    if (count != nullptr) *count = members;
    return handle;
}

void xt_disposehandle(XTHandle handle) {
    if (handle != 0) gXtMemory.disposeHandle(handle);
}

XTBoxID whichBox(std::int16_t spread, XTFixedPoint point) {
    for (XTBoxID box = firstbox(spread); box != 0; box = nextbox(box)) {
        XTFixedRect bounds{};
        if (xt_getboxbounds(box, &bounds) && gXtFixedRect.pointInRect(&point, &bounds) == 1) return box;
    }
    return 0;
}

}  // namespace lumbrel

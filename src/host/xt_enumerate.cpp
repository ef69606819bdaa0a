#include "host/xt_enumerate.h"

#include <algorithm>
#include <new>
#include <vector>

#include "host/xt_boxes.h"
#include "host/xt_documents.h"
#include "host/xt_groups.h"
#include "host/xt_pages.h"

namespace lumbrel {

namespace {

// The walk of one spread; `picturesOnly` skips every other kind of box.
bool walkSpread(std::int16_t spread, bool picturesOnly, XTEnumBoxProc callback, const XTFixedRect* rect,
                std::intptr_t data) {
    if (callback == nullptr) return true;
    for (XTBoxID box = firstbox(spread); box != 0; box = nextbox(box)) {
        if (picturesOnly && !xt_ispictbox(box)) continue;
        if (!boxinrect(box, rect)) continue;
        if (!callback(box, data)) return false;
    }
    return true;
}

struct SpreadRange {
    std::int16_t first;
    std::int16_t last;
};

SpreadRange clampRange(std::int16_t first, std::int16_t last) {
    return SpreadRange{std::max<std::int16_t>(first, 1), std::min(last, numsprds())};
}

}  // namespace

bool xt_enumboxes(std::int16_t spread, XTEnumBoxProc callback, const XTFixedRect* rect, std::intptr_t data) {
    if (!hasCurrentDocument()) return true;
    return walkSpread(spread, false, callback, rect, data);
}

void xt_enumboxes(std::int16_t first, std::int16_t last, XTEnumBoxProc callback, const XTFixedRect* rect,
                  std::intptr_t data) {
    if (!hasCurrentDocument()) return;
    const SpreadRange range = clampRange(first, last);
    for (int spread = range.first; spread <= range.last; ++spread) {
        walkSpread(static_cast<std::int16_t>(spread), false, callback, rect, data);
    }
}

std::int16_t xt_enumpictboxes(std::int16_t spread, XTEnumBoxProc callback, const XTFixedRect* rect,
                              std::intptr_t data) {
    if (!hasCurrentDocument()) return 1;
    if (spread == 0) spread = xt_pg2sprd(0);
    return walkSpread(spread, true, callback, rect, data) ? 1 : 0;
}

std::int16_t xt_enumpictboxes(std::int16_t first, std::int16_t last, XTEnumBoxProc callback,
                              const XTFixedRect* rect, std::intptr_t data) {
    if (!hasCurrentDocument()) return 1;
    const SpreadRange range = clampRange(first, last);
    for (int spread = range.first; spread <= range.last; ++spread) {
        if (!walkSpread(static_cast<std::int16_t>(spread), true, callback, rect, data)) return 0;
    }
    return 1;
}

std::int16_t xt_enumpictboxes(XTBoxID box, XTEnumBoxProc callback, std::intptr_t data) {
    if (callback == nullptr || box <= 0 || !hasCurrentDocument()) return 1;
    if (!xt_isgroupbox(box)) {
        if (!xt_ispictbox(box)) return 1;
        return callback(box, data) ? 1 : 0;
    }

    std::int32_t count = 0;
    const XTHandle members = boxesingroup(box, &count);
    if (members == 0) return 1;
    // Never read past the handle, whatever count the host reported; the ids
    // are copied out first, as the callbacks may change the document.
    const std::int32_t bytes = gXtMemory.handleSize(members);
    const auto* ids = static_cast<const XTBoxID*>(gXtMemory.handleData(members));
    const std::int32_t held = ids != nullptr && bytes > 0 ? bytes / static_cast<std::int32_t>(sizeof(XTBoxID)) : 0;
    std::vector<XTBoxID> memberIds;
    try {
        if (std::min(count, held) > 0) memberIds.assign(ids, ids + std::min(count, held));
    } catch (const std::bad_alloc&) {
        memberIds.clear();
    }
    xt_disposehandle(members);

    for (const XTBoxID member : memberIds) {
        if (xt_ispictbox(member) && !callback(member, data)) return 0;
    }
    return 1;
}

}  // namespace lumbrel

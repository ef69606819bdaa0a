#include "host/drop_registration.h"

#include "drop/drop.h"
#include "host/xt_groups.h"

namespace lumbrel {

namespace {

// Moving within a view and leaving it change nothing: whether a drag is
// taken is decided once, on entry.
std::int32_t dragWithin(const XTDragInfo* info) {
    static_cast<void>(info);
    return 0;
}

std::int32_t dragLeft(const XTDragInfo* info) {
    static_cast<void>(info);
    return 0;
}

// The host keeps the record's address.
const XTDragHandlers kDragHandlers = {dragEntered, dragWithin, dragLeft, dragDropped};

std::int32_t dragViewCallback(void* record) {
    const auto* view = static_cast<const XTDragViewRec*>(record);
    if (view != nullptr && view->viewKind == XT_VIEW_LAYOUT) gXtDrag.registerDragHandlers(XT_VIEW_LAYOUT, &kDragHandlers);
    return 0;
}

}  // namespace

bool registerDropCallbacks() {
    return registerHostCallback(XT_CB_DRAGVIEW, dragViewCallback, kRegisterKind, XT_REGISTRATION_VALUE, 0);
}

}  // namespace lumbrel

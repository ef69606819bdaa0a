#include "host/drop_registration.h"

#include "drop/drop.h"
#include "drop/win_drop.h"
#include "host/xt_groups.h"
#include "host/xt_windrop.h"
#include "platform/platform_traits.h"

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
    if constexpr (platform::Traits::kDropAtIdle) {
        resetWinDrop();
        setWinDropGroup(nullptr);
        // Without the host's drop group no file can be told or placed.
        if (!acquireWinDropGroup()) return false;
        bool registered = registerHostCallback(XT_CB_WINDRAG_ENTERED, winDragEntered, kRegisterKind,
                                               XT_REGISTRATION_VALUE, 0);
        registered = registerHostCallback(XT_CB_WINDRAG_OVER, winDragOver, kRegisterKind, XT_REGISTRATION_VALUE, 0) &&
                     registered;
        return registerHostCallback(XT_CB_WINDRAG_DROP, winDrop, kRegisterKind, XT_REGISTRATION_VALUE, 0) && registered;
    } else {
        return registerHostCallback(XT_CB_DRAGVIEW, dragViewCallback, kRegisterKind, XT_REGISTRATION_VALUE, 0);
    }
}

}  // namespace lumbrel

// "xtxqd": drag handlers per view kind.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtxqd";

XTError registerDragHandlers(std::int32_t viewKind, const XTDragHandlers* handlers) {
    return hostCall<XTError>(G, "registerDragHandlers", kNeedNothing, XT_PARAMERR, [=](Runtime& rt) {
        if (handlers == nullptr) {
            rt.violation(G, "registerDragHandlers", "got no handlers");
            return XTError{XT_PARAMERR};
        }
        rt.dragHandlers[viewKind] = *handlers;
        return XTError{XT_NOERR};
    });
}

const XTDragGroup kTable{sizeof(XTDragGroup), registerDragHandlers};

}  // namespace

const XTDragGroup& dragGroupTable() { return kTable; }

}  // namespace hostsim

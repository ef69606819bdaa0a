// 'DEA\1': the pasteboard of the drag in progress.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

intptr_t currentDrag() {
    return hostCall<intptr_t>("dataexchange", "currentDrag", kNeedNothing, 0,
                              [](Runtime& rt) { return static_cast<intptr_t>(rt.currentDrag); });
}

const XTDataExchangeGroup kTable{sizeof(XTDataExchangeGroup), currentDrag};

}  // namespace

const XTDataExchangeGroup& dataExchangeGroupTable() { return kTable; }

}  // namespace hostsim

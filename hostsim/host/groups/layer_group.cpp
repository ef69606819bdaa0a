// The layers module's group: the flags of the current layer.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

std::int32_t currentLayerFlags() {
    return hostCall<std::int32_t>("layers", "currentLayerFlags", kNeedNothing, 0,
                                  [](Runtime& rt) { return rt.layerFlags; });
}

const XTLayerGroup kTable{sizeof(XTLayerGroup), currentLayerFlags};

}  // namespace

const XTLayerGroup& layerGroupTable() { return kTable; }

}  // namespace hostsim

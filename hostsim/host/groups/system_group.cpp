// "xtsystem": the host application: version, current tool, clock.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtsystem";

std::uint32_t hostVersion() {
    return hostCall<std::uint32_t>(G, "hostVersion", kNeedNothing, 0, [](Runtime&) { return kHostVersion; });
}

std::int16_t currentTool() {
    return hostCall<std::int16_t>(G, "currentTool", kNeedNothing, 0, [](Runtime& rt) { return rt.tool; });
}

std::uint32_t ticks() {
    return hostCall<std::uint32_t>(G, "ticks", kNeedNothing, 0, [](Runtime& rt) { return rt.clock; });
}

const XTSystemGroup kTable{sizeof(XTSystemGroup), hostVersion, currentTool, ticks};

}  // namespace

const XTSystemGroup& systemGroupTable() { return kTable; }

}  // namespace hostsim

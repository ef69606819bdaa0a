// "xtproject": the name of the current project (layout file).
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtproject";

std::int32_t projectName(char* buffer, std::int32_t size) {
    return hostCall<std::int32_t>(G, "projectName", kNeedDocument, 0, [=](Runtime& rt) {
        if (buffer == nullptr && size > 0) {
            rt.violation(G, "projectName", "got no buffer");
            return 0;
        }
        return copyOut(rt.currentDocument()->projectName, buffer, size);
    });
}

const XTProjectGroup kTable{sizeof(XTProjectGroup), projectName};

}  // namespace

const XTProjectGroup& projectGroupTable() { return kTable; }

}  // namespace hostsim

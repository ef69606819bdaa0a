// "xtprint": the state of the running output.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtprint";

void printInfo(XTPrintInfo* info) {
    hostCallVoid(G, "printInfo", kNeedNothing, [info](Runtime& rt) {
        if (info == nullptr) {
            rt.violation(G, "printInfo", "got no record");
            return;
        }
        info->outputKind = rt.jobRunning ? rt.outputKind : std::int16_t{XT_OUTPUT_SCREEN};
        info->reserved = 0;
    });
}

const XTPrintGroup kTable{sizeof(XTPrintGroup), printInfo};

}  // namespace

const XTPrintGroup& printGroupTable() { return kTable; }

}  // namespace hostsim

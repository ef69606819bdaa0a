// "xtutility": PostScript from the module into the running output job.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtutility";

XTError psOutput(const void* data, std::int32_t length) {
    return hostCall<XTError>(G, "psOutput", kNeedNothing, XT_PARAMERR, [=](Runtime& rt) {
        if (!rt.jobRunning || rt.outputKind != XT_OUTPUT_POSTSCRIPT) {
            rt.violation(G, "psOutput", "called outside a PostScript output job");
            return XTError{XT_PARAMERR};
        }
        if (length < 0 || (data == nullptr && length > 0)) {
            rt.violation(G, "psOutput", "got no data or a negative length");
            return XTError{XT_PARAMERR};
        }
        if (length > 0) rt.postScript.append(static_cast<const char*>(data), static_cast<std::size_t>(length));
        return XTError{XT_NOERR};
    });
}

const XTUtilityGroup kTable{sizeof(XTUtilityGroup), psOutput};

}  // namespace

const XTUtilityGroup& utilityGroupTable() { return kTable; }

}  // namespace hostsim

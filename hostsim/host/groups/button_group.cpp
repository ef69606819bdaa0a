// "xtxdctlbtn": the controls of the dialog the host runs (the preference
// pane). Check boxes hold 0 or 1; the host toggles them on a click. Values of
// items the pane's window shows are read from and written to its buttons;
// the host keeps the others itself.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/pane_run.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr const char* G = "xtxdctlbtn";

std::int32_t getValue(std::int16_t item) {
    return hostCall<std::int32_t>(G, "getValue", kNeedPane, 0, [item](Runtime& rt) {
        if (const std::optional<std::int32_t> shown = paneButtonValue(item)) return *shown;
        const auto it = rt.pane.controls.find(item);
        return it != rt.pane.controls.end() ? it->second : 0;
    });
}

void setValue(std::int16_t item, std::int32_t value) {
    hostCallVoid(G, "setValue", kNeedPane, [=](Runtime& rt) {
        rt.pane.controls[item] = value;
        setPaneButtonValue(item, value);
    });
}

void setup(std::int16_t item, std::int32_t value) {
    static_cast<void>(value);
    hostCallVoid(G, "setup", kNeedPane, [=](Runtime& rt) {
        if (rt.pane.messageKind != XT_WAP_CONTROL_SETUP) {
            rt.violation(G, "setup", "called outside the pane's control set-up message");
            return;
        }
        rt.pane.controls.emplace(item, 0);
    });
}

const XTButtonGroup kTable{sizeof(XTButtonGroup), getValue, setValue, setup};

}  // namespace

const XTButtonGroup& buttonGroupTable() { return kTable; }

}  // namespace hostsim

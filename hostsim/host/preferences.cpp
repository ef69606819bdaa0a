// The host's preferences dialog with the module's pane: the pane insertion
// callback (279), then the pane's handler with the host's messages in the
// host's order — resource id, control set-up, opening — then the user's
// clicks and the end by the pane's OK or Cancel or by the host's own OK.
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr std::int16_t kPaneOK = 1;
constexpr std::int16_t kPaneCancel = 2;

XTWapMessage send(Runtime& rt, XTWapHandler handler, std::int16_t kind, std::int16_t item, std::int16_t mode) {
    XTWapMessage message{};
    message.kind = kind;
    message.item = item;
    message.mode = mode;
    rt.pane.messageKind = kind;
    const std::int32_t answer = rt.inModule(kLabelPaneHandler, [&] { return handler(&message); });
    rt.pane.messageKind = 0;
    if (answer != 0) {
        rt.violationMessage("xtwap", "handler",
                            "the pane handler answered " + std::to_string(answer) + " to message " +
                                std::to_string(kind) + " (handlers answer 0)");
    }
    return message;
}

}  // namespace

PreferencesResult Simulator::openPreferences(const PreferencesRun& run) {
    Runtime& rt = runtime();
    PreferencesResult result;
    if (!rt.beginAction("preferences")) return result;
    rt.clock += kActionTicks;
    rt.note("preferences opened");
    rt.insertedPane.reset();
    XTPaneInsertRec insert{};
    insert.size = sizeof insert;
    insert.tabControl = kPreferencesTabControl;
    rt.dispatch(XT_CB_PREFPANE_INSERT, &insert);
    if (!rt.insertedPane) {
        rt.note("preferences closed (no pane of the module)");
        return result;
    }
    const auto found = rt.paneHandlers.find(*rt.insertedPane);
    if (found == rt.paneHandlers.end()) {
        rt.violationMessage("xtwap", "registerPane",
                            "xtwap: pane " + std::to_string(*rt.insertedPane) + " inserted without a handler");
        rt.note("preferences closed");
        return result;
    }
    const XTWapHandler handler = found->second;
    result.shown = true;
    rt.pane = PaneState{};
    rt.pane.dialogRunning = true;

    const XTWapMessage resource = send(rt, handler, XT_WAP_RESOURCE_ID, 0, 0);
    result.resourceID = resource.value;
    rt.note("preferences: pane " + std::to_string(*rt.insertedPane) + " with dialog resource " +
            std::to_string(resource.value));
    send(rt, handler, XT_WAP_CONTROL_SETUP, 0, 1);
    send(rt, handler, XT_WAP_OPEN, 0, 1);

    bool ended = false;
    for (const std::int16_t item : run.toggleItems) {
        std::int32_t& value = rt.pane.controls[item];
        value = value == 1 ? 0 : 1;
        rt.note("preferences: item " + std::to_string(item) + " -> " + std::to_string(value));
        const XTWapMessage hit = send(rt, handler, XT_WAP_ITEM_HIT, item, 0);
        if (hit.endDialog != 0) {
            result.dialogResult = hit.value;
            ended = true;
            break;
        }
    }
    if (!ended) {
        if (run.hostOk) {
            rt.note("preferences: host OK");
            send(rt, handler, XT_WAP_APPLY, 0, 0);
            result.dialogResult = 1;
        } else {
            const std::int16_t item = run.ok ? kPaneOK : kPaneCancel;
            rt.note(std::string("preferences: ") + (run.ok ? "OK" : "Cancel"));
            const XTWapMessage hit = send(rt, handler, XT_WAP_ITEM_HIT, item, 0);
            if (hit.endDialog != 0) {
                result.dialogResult = hit.value;
            } else {
                rt.note("preferences: the pane did not end the dialog; the host closes it");
            }
        }
    }
    for (const auto& [item, value] : rt.pane.controls) result.controls.emplace_back(item, value);
    rt.pane = PaneState{};
    rt.note("preferences closed -> " + std::to_string(result.dialogResult));
    rt.flushRedraw();
    return result;
}

}  // namespace hostsim

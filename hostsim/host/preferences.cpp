// The host's preferences dialog with the module's pane: the pane insertion
// callback (279), then the pane's handler with the host's messages in the
// host's order — resource id, control set-up, opening — then the user's
// clicks and the end by the pane's OK or Cancel or by the host's own OK.
//
// The pane is a modal dialog window (pane_dialog.h: the desktop's in the
// POSIX host, a real Win32 dialog in the Windows host), built by the host
// from the module's description of the id the module answers. The user acts
// in it through the desktop's agent; a run given as a list of clicks
// (PreferencesRun without byUser) is played by the host itself as posted
// steps, so it never waits for the agent. A pane whose description is
// missing is shown plainly: a check box per item the module set up, with OK
// and Cancel.
#include "hostsim/host/pane_dialog.h"
#include "hostsim/host/pane_run.h"
#include "hostsim/host/runtime.h"

namespace hostsim {

namespace {

constexpr std::int16_t kPaneOK = 1;
constexpr std::int16_t kPaneCancel = 2;

struct PaneRun {
    Runtime* rt = nullptr;
    XTWapHandler handler = nullptr;
    const PreferencesRun* run = nullptr;
    PreferencesResult* result = nullptr;
    PaneDescription description;
    bool described = false;
    std::size_t step = 0;
    bool ended = false;
};

// The dialog's events carry no context; one preferences dialog runs at a time.
PaneRun* gRun = nullptr;

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

// A pane without a description: its set-up items as check boxes, OK and Cancel.
PaneDescription plainPane(const PaneState& pane) {
    PaneDescription plain;
    plain.title = "Preferences";
    int top = 12;
    for (const auto& [item, value] : pane.controls) {
        if (item == kPaneOK || item == kPaneCancel) continue;
        PaneControl box;
        box.type = "cbox";
        box.id = item;
        box.text = "Item " + std::to_string(item);
        box.rect = {20, top, 200, 16};
        plain.controls.push_back(box);
        top += 24;
    }
    for (const std::int16_t item : {kPaneOK, kPaneCancel}) {
        PaneControl button;
        button.type = "push";
        button.id = item;
        button.text = item == kPaneOK ? "OK" : "Cancel";
        button.rect = {item == kPaneOK ? 60 : 142, top + 8, 75, 23};
        plain.controls.push_back(button);
    }
    plain.rect = {0, 0, 240, top + 40};
    return plain;
}

void syncValues(Runtime& rt) {
    for (auto& [item, value] : rt.pane.controls) {
        if (const std::optional<std::int32_t> shown = paneButtonValue(item)) value = *shown;
    }
}

void finish(PaneRun& run, std::int32_t value) {
    syncValues(*run.rt);
    run.result->dialogResult = value;
    run.ended = true;
    endPaneDialog(value);
}

void itemHit(PaneRun& run, std::int16_t item) {
    Runtime& rt = *run.rt;
    if (item == kPaneOK || item == kPaneCancel) {
        rt.note(std::string("preferences: ") + (item == kPaneOK ? "OK" : "Cancel"));
    } else {
        std::int32_t& value = rt.pane.controls[item];
        if (const std::optional<std::int32_t> shown = paneButtonValue(item)) value = *shown;
        rt.note("preferences: item " + std::to_string(item) + " -> " + std::to_string(value));
    }
    const XTWapMessage hit = send(rt, run.handler, XT_WAP_ITEM_HIT, item, 0);
    if (hit.endDialog != 0) finish(run, hit.value);
}

// Clicks the control as the user would; items the window lacks are hit
// without a window (a check box the host keeps for itself is toggled).
void click(PaneRun& run, std::int16_t item) {
    if (clickPaneButton(item)) return;
    if (item != kPaneOK && item != kPaneCancel) {
        std::int32_t& value = run.rt->pane.controls[item];
        value = value == 1 ? 0 : 1;
    }
    itemHit(run, item);
}

void playStep(PaneRun& run) {
    const PreferencesRun& plan = *run.run;
    Runtime& rt = *run.rt;
    if (run.step < plan.toggleItems.size()) {
        click(run, plan.toggleItems[run.step++]);
        if (!run.ended) postPaneStep();
        return;
    }
    if (plan.hostOk) {
        rt.note("preferences: host OK");
        send(rt, run.handler, XT_WAP_APPLY, 0, 0);
        finish(run, 1);
        return;
    }
    click(run, plan.ok ? kPaneOK : kPaneCancel);
    if (!run.ended) {
        rt.note("preferences: the pane did not end the dialog; the host closes it");
        finish(run, -1);
    }
}

void onPaneEvent(PaneEvent event, std::int16_t item) {
    PaneRun* run = gRun;
    if (run == nullptr) return;
    Runtime& rt = *run->rt;
    switch (event) {
        case PaneEvent::Opened:
            if (run->described) buildPaneControls(run->description);
            send(rt, run->handler, XT_WAP_CONTROL_SETUP, 0, 1);
            if (!run->described) buildPaneControls(plainPane(rt.pane));
            send(rt, run->handler, XT_WAP_OPEN, 0, 1);
            if (!run->run->byUser) postPaneStep();
            return;
        case PaneEvent::Clicked:
            if (run->ended) return;
            if (item == kPaneOK || item == kPaneCancel || rt.pane.controls.count(item) != 0) itemHit(*run, item);
            return;
        case PaneEvent::CloseBox:
            // The dialog's close box is the host's Cancel: nothing is applied.
            if (!run->ended) {
                rt.note("preferences: closed by the user");
                finish(*run, 0);
            }
            return;
        case PaneEvent::Step:
            if (!run->ended) playStep(*run);
            return;
    }
}

}  // namespace

PreferencesResult Simulator::openPreferences(const PreferencesRun& run) {
    Runtime& rt = runtime();
    PreferencesResult result;
    if (gRun != nullptr) return result;  // one preferences dialog at a time
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
    result.shown = true;
    rt.pane = PaneState{};
    rt.pane.dialogRunning = true;

    PaneRun pane;
    pane.rt = &rt;
    pane.handler = found->second;
    pane.run = &run;
    pane.result = &result;
    const XTWapMessage resource = send(rt, pane.handler, XT_WAP_RESOURCE_ID, 0, 0);
    result.resourceID = resource.value;
    rt.note("preferences: pane " + std::to_string(*rt.insertedPane) + " with dialog resource " +
            std::to_string(resource.value));
    if (const std::optional<std::string> text = paneDescriptionText(rt.module.file(), resource.value)) {
        pane.described = readPaneDescription(*text, pane.description);
    }
    if (!pane.described) {
        rt.note("preferences: no description " + paneDescriptionPlace(resource.value) +
                "; the pane's items are shown plainly");
    }

    gRun = &pane;
    runPaneDialog(onPaneEvent);
    gRun = nullptr;

    for (const auto& [item, value] : rt.pane.controls) result.controls.emplace_back(item, value);
    rt.pane = PaneState{};
    rt.note("preferences closed -> " + std::to_string(result.dialogResult));
    rt.flushRedraw();
    return result;
}

}  // namespace hostsim

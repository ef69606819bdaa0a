// The host's preferences dialog with the module's pane: the pane insertion
// callback (279), then the pane's handler with the host's messages in the
// host's order — resource id, control set-up, opening — then the user's
// clicks and the end by the pane's OK or Cancel or by the host's own OK.
//
// The pane is a real modal dialog window of the desktop, built by the host
// from the description Resources/<id>.xml of the module bundle (the id the
// module answers). The user acts in it through the desktop's agent; a run
// given as a list of clicks (PreferencesRun without byUser) is played by the
// host itself as posted steps, so it never waits for the agent. A pane whose
// description is missing is shown plainly: a check box per item the module
// set up, with OK and Cancel.
#include "hostsim/host/pane_run.h"
#include "hostsim/host/pane_window.h"
#include "hostsim/host/runtime.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace hostsim {

namespace {

namespace lp = lumbrel::platform;

constexpr std::int16_t kPaneOK = 1;
constexpr std::int16_t kPaneCancel = 2;
// The host's own message to itself: play the next planned step.
constexpr auto kPlanStep = static_cast<lp::Message>(static_cast<std::uint32_t>(lp::Message::User) + 0x50);
constexpr std::size_t kMaxDescriptionBytes = 1 << 20;

lp::WindowRef gPaneWindow = nullptr;

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

// The dialog procedure has no context argument; one preferences dialog runs at a time.
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

lp::WindowRef buttonOf(std::int16_t item) {
    if (gPaneWindow == nullptr) return nullptr;
    const lp::WindowRef control = lp::findChild(gPaneWindow, item);
    return control != nullptr && lp::className(control) == lp::kButtonClass ? control : nullptr;
}

lp::WindowRef editOf(std::int16_t item) {
    if (gPaneWindow == nullptr) return nullptr;
    const lp::WindowRef control = lp::findChild(gPaneWindow, item);
    return control != nullptr && lp::className(control) == lp::kEditClass ? control : nullptr;
}

std::optional<std::string> readDescription(const std::string& moduleFile, std::int32_t resourceID) {
    const std::filesystem::path path =
        std::filesystem::path(moduleFile).parent_path() / "Resources" / (std::to_string(resourceID) + ".xml");
    std::FILE* file = std::fopen(path.string().c_str(), "rb");
    if (file == nullptr) return std::nullopt;
    std::string text;
    char buffer[8192];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0 && text.size() <= kMaxDescriptionBytes) {
        text.append(buffer, got);
    }
    std::fclose(file);
    if (text.size() > kMaxDescriptionBytes) return std::nullopt;
    return text;
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

void finish(PaneRun& run, lp::WindowRef dialog, std::int32_t value) {
    syncValues(*run.rt);
    run.result->dialogResult = value;
    run.ended = true;
    lp::endDialog(dialog, value);
}

void itemHit(PaneRun& run, lp::WindowRef dialog, std::int16_t item) {
    Runtime& rt = *run.rt;
    if (item == kPaneOK || item == kPaneCancel) {
        rt.note(std::string("preferences: ") + (item == kPaneOK ? "OK" : "Cancel"));
    } else {
        std::int32_t& value = rt.pane.controls[item];
        if (const std::optional<std::int32_t> shown = paneButtonValue(item)) value = *shown;
        rt.note("preferences: item " + std::to_string(item) + " -> " + std::to_string(value));
    }
    const XTWapMessage hit = send(rt, run.handler, XT_WAP_ITEM_HIT, item, 0);
    if (hit.endDialog != 0) finish(run, dialog, hit.value);
}

// Clicks the control as the user would; items the window lacks are hit
// without a window (a check box the host keeps for itself is toggled).
void click(PaneRun& run, lp::WindowRef dialog, std::int16_t item) {
    if (const lp::WindowRef control = buttonOf(item);
        control != nullptr && lp::isWindowVisible(control) && lp::isWindowEnabled(control)) {
        const lp::WindowRect rect = lp::windowRect(control);
        const auto x = static_cast<std::uint32_t>(std::max(0, rect.width / 2)) & 0xFFFF;
        const auto y = static_cast<std::uint32_t>(std::max(0, rect.height / 2)) & 0xFFFF;
        lp::sendMessage(control, lp::Message::LeftButtonDown, 0, static_cast<std::intptr_t>((y << 16) | x));
        return;
    }
    if (item != kPaneOK && item != kPaneCancel) {
        std::int32_t& value = run.rt->pane.controls[item];
        value = value == 1 ? 0 : 1;
    }
    itemHit(run, dialog, item);
}

void playStep(PaneRun& run, lp::WindowRef dialog) {
    const PreferencesRun& plan = *run.run;
    Runtime& rt = *run.rt;
    if (run.step < plan.toggleItems.size()) {
        click(run, dialog, plan.toggleItems[run.step++]);
        if (!run.ended) lp::postMessage(dialog, kPlanStep);
        return;
    }
    if (plan.hostOk) {
        rt.note("preferences: host OK");
        send(rt, run.handler, XT_WAP_APPLY, 0, 0);
        finish(run, dialog, 1);
        return;
    }
    click(run, dialog, plan.ok ? kPaneOK : kPaneCancel);
    if (!run.ended) {
        rt.note("preferences: the pane did not end the dialog; the host closes it");
        finish(run, dialog, -1);
    }
}

std::intptr_t paneProc(lp::WindowRef dialog, lp::Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    PaneRun* run = gRun;
    if (run == nullptr) return lp::defWindowProc(dialog, message, wParam, lParam);
    Runtime& rt = *run->rt;
    switch (message) {
        case lp::Message::InitDialog: {
            gPaneWindow = dialog;
            if (run->described) buildPaneWindow(dialog, run->description);
            send(rt, run->handler, XT_WAP_CONTROL_SETUP, 0, 1);
            if (!run->described) buildPaneWindow(dialog, plainPane(rt.pane));
            send(rt, run->handler, XT_WAP_OPEN, 0, 1);
            if (!run->run->byUser) lp::postMessage(dialog, kPlanStep);
            return 1;
        }
        case lp::Message::Command: {
            if (run->ended || lp::commandNotification(wParam) != lp::Notification::Clicked) return 0;
            const int id = lp::commandId(wParam);
            if (id == kPaneOK || id == kPaneCancel || rt.pane.controls.count(static_cast<std::int16_t>(id)) != 0) {
                itemHit(*run, dialog, static_cast<std::int16_t>(id));
            }
            return 0;
        }
        case lp::Message::Close:
            // The dialog's close box is the host's Cancel: nothing is applied.
            if (!run->ended) {
                rt.note("preferences: closed by the user");
                finish(*run, dialog, 0);
            }
            return 0;
        default:
            if (message == kPlanStep) {
                if (!run->ended) playStep(*run, dialog);
                return 0;
            }
            return lp::defWindowProc(dialog, message, wParam, lParam);
    }
}

}  // namespace

lp::WindowRef paneWindow() noexcept { return gPaneWindow; }

std::optional<std::int32_t> paneButtonValue(std::int16_t item) {
    if (const lp::WindowRef field = editOf(item)) {
        // A number field: its text as a whole number, 0 when it is none.
        int value = 0;
        return std::sscanf(lp::windowText(field).c_str(), "%d", &value) == 1 ? value : 0;
    }
    const lp::WindowRef control = buttonOf(item);
    if (control == nullptr) return std::nullopt;
    return lp::controlValue(control);
}

bool setPaneButtonValue(std::int16_t item, std::int32_t value) {
    if (const lp::WindowRef field = editOf(item)) {
        lp::setWindowText(field, std::to_string(value));
        return true;
    }
    const lp::WindowRef control = buttonOf(item);
    if (control == nullptr) return false;
    // A check box shows on or off: any value above 1 shows it on.
    lp::setControlValue(control, std::clamp(value, 0, 1));
    return true;
}

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
    if (const std::optional<std::string> text = readDescription(rt.module.file(), resource.value)) {
        pane.described = readPaneDescription(*text, pane.description);
    }
    if (!pane.described) {
        rt.note("preferences: no description Resources/" + std::to_string(resource.value) +
                ".xml in the module bundle; the pane's items are shown plainly");
    }

    gRun = &pane;
    lp::runModalDialog(paneProc, 0);
    gRun = nullptr;
    gPaneWindow = nullptr;

    for (const auto& [item, value] : rt.pane.controls) result.controls.emplace_back(item, value);
    rt.pane = PaneState{};
    rt.note("preferences closed -> " + std::to_string(result.dialogResult));
    rt.flushRedraw();
    return result;
}

}  // namespace hostsim

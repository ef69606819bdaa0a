// The POSIX host's preferences dialog: a modal dialog of the desktop with the
// controls of the bundle's description, answered by the desktop's agent.
#include "hostsim/host/pane_dialog.h"
#include "hostsim/host/pane_run.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace hostsim {

namespace {

namespace lp = lumbrel::platform;

// The host's own message to itself: play the next planned step.
constexpr auto kPlanStep = static_cast<lp::Message>(static_cast<std::uint32_t>(lp::Message::User) + 0x50);
constexpr std::size_t kMaxDescriptionBytes = 1 << 20;

lp::WindowRef gPaneWindow = nullptr;
PaneEventHandler gHandler = nullptr;

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

std::intptr_t paneProc(lp::WindowRef dialog, lp::Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (gHandler == nullptr) return lp::defWindowProc(dialog, message, wParam, lParam);
    switch (message) {
        case lp::Message::InitDialog:
            gPaneWindow = dialog;
            gHandler(PaneEvent::Opened, 0);
            return 1;
        case lp::Message::Command:
            if (lp::commandNotification(wParam) == lp::Notification::Clicked) {
                gHandler(PaneEvent::Clicked, static_cast<std::int16_t>(lp::commandId(wParam)));
            }
            return 0;
        case lp::Message::Close:
            gHandler(PaneEvent::CloseBox, 0);
            return 0;
        default:
            if (message == kPlanStep) {
                gHandler(PaneEvent::Step, 0);
                return 0;
            }
            return lp::defWindowProc(dialog, message, wParam, lParam);
    }
}

}  // namespace

void runPaneDialog(PaneEventHandler handler) {
    gHandler = handler;
    lp::runModalDialog(paneProc, 0);
    gHandler = nullptr;
    gPaneWindow = nullptr;
}

int buildPaneControls(const PaneDescription& description) {
    return gPaneWindow != nullptr ? buildPaneWindow(gPaneWindow, description) : 0;
}

void postPaneStep() {
    if (gPaneWindow != nullptr) lp::postMessage(gPaneWindow, kPlanStep);
}

void endPaneDialog(std::int32_t result) {
    if (gPaneWindow != nullptr) lp::endDialog(gPaneWindow, result);
}

bool clickPaneButton(std::int16_t item) {
    const lp::WindowRef control = buttonOf(item);
    if (control == nullptr || !lp::isWindowVisible(control) || !lp::isWindowEnabled(control)) return false;
    const lp::WindowRect rect = lp::windowRect(control);
    const auto x = static_cast<std::uint32_t>(std::max(0, rect.width / 2)) & 0xFFFF;
    const auto y = static_cast<std::uint32_t>(std::max(0, rect.height / 2)) & 0xFFFF;
    lp::sendMessage(control, lp::Message::LeftButtonDown, 0, static_cast<std::intptr_t>((y << 16) | x));
    return true;
}

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

std::optional<std::string> paneDescriptionText(const std::string& moduleFile, std::int32_t resourceID) {
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

std::string paneDescriptionPlace(std::int32_t resourceID) {
    return "Resources/" + std::to_string(resourceID) + ".xml in the module bundle";
}

}  // namespace hostsim

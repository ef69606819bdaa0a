// A small dialog for the window-manager tests: its procedure builds a few
// standard controls on InitDialog, logs every command and notification it
// gets, and ends on OK and Cancel as the module's dialogs do.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/desktop.h"
#include "desktop_fixture.h"
#include "platform/window_system.h"

namespace lumbrel::test {

namespace dialog_ids {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kCheck = 3;
inline constexpr int kEdit = 4;
inline constexpr int kRadioA = 5;
inline constexpr int kRadioB = 6;
inline constexpr int kRadioC = 7;  // starts a second group
inline constexpr int kPopup = 8;
inline constexpr int kList = 9;
inline constexpr int kTabs = 10;
inline constexpr int kDisabled = 11;
inline constexpr int kHidden = 12;
inline constexpr int kLabel = 13;
inline constexpr int kProgress = 14;
inline constexpr int kPassword = 15;
}  // namespace dialog_ids

struct DialogScript {
    std::string title = "Test Dialog";
    // Extra work on InitDialog (timers, nested state); may end the dialog.
    std::function<void(platform::WindowRef)> onInit;
    // Called for every command before the default handling; true consumes it.
    std::function<bool(platform::WindowRef, int id, platform::Notification)> onCommand;
    std::function<void(platform::WindowRef, std::uintptr_t)> onTimer;
    bool handleClose = false;  // Close ends the dialog with 2 itself (else the default: Cancel command)
};

// The log of what the dialog procedure received: "command 1 clicked", "notify 10 -551", "timer 1", "close",
// "context 9 at 30,20" (the clicked control's id and client point).
std::vector<std::string>& dialogLog();
// Runs the test dialog modally with `script` and answers runModalDialog's result.
std::intptr_t runTestDialog(const DialogScript& script);
// The script of the dialog whose InitDialog runs now (nested dialogs stack).
std::intptr_t LUMBREL_CALLBACK testDialogProc(platform::WindowRef dialog, platform::Message message, std::uintptr_t wParam,
                             std::intptr_t lParam);

class DialogTest : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        dialogLog().clear();
        agent = std::make_shared<desktop::ScriptedAgent>();
        desk().setAgent(agent);
    }

    std::vector<std::string> dialogLines() const {
        return desktop::Desktop::instance().transcript().linesOf(desktop::EntryKind::Dialog);
    }

    std::shared_ptr<desktop::ScriptedAgent> agent;
};

}  // namespace lumbrel::test

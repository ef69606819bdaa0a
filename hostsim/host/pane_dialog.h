// The window of the host's preferences dialog, as each host makes it: a
// modal dialog of the desktop in the POSIX host (posix/pane_dialog_posix.cpp),
// a real Win32 dialog in the Windows host (win32/pane_dialog_win32.cpp),
// which the Windows host's user answers as any other real dialog. The
// preferences run (preferences.cpp) drives it through these calls alone.
#pragma once

#include "hostsim/host/pane_window.h"

#include <cstdint>
#include <optional>
#include <string>

namespace hostsim {

enum class PaneEvent {
    Opened,    // the window exists, without controls yet
    Clicked,   // a button `item` was clicked (a check box already toggled)
    CloseBox,  // the window's close box
    Step,      // the host's own posted step (postPaneStep)
};
using PaneEventHandler = void (*)(PaneEvent event, std::int16_t item);

// Runs the dialog modally until endPaneDialog; one at a time.
void runPaneDialog(PaneEventHandler handler);
// Makes the controls of the description in the running dialog, titles and
// sizes it; answers how many were made.
int buildPaneControls(const PaneDescription& description);
void postPaneStep();
void endPaneDialog(std::int32_t result);
// Clicks the button `item` as a user would; false when the window shows no
// such visible, enabled button.
bool clickPaneButton(std::int16_t item);

// The description of the pane `resourceID` of the module file: the bundle's
// Resources/<id>.xml in the POSIX host, the module's resource <id> of type
// "XML" in the Windows host. Nullopt when there is none or it is too large.
std::optional<std::string> paneDescriptionText(const std::string& moduleFile, std::int32_t resourceID);
// Where paneDescriptionText looks, for the transcript.
std::string paneDescriptionPlace(std::int32_t resourceID);

}  // namespace hostsim

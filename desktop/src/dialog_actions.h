// Carrying out a user's action in a dialog, as the modal loop does for the agent.
#pragma once

#include <string>

#include "desktop/agent.h"
#include "windows_state.h"

namespace desktop::windows {

struct ActionOutcome {
    bool refused = false;
    std::string line;  // what the transcript says after `dialog "Title": `
};

ActionOutcome performAction(WindowRef dialog, const DialogAction& action);
// A key pressed in the dialog: to the focused control, or the dialog manager's
// part (focus moves, the default button, closing) when the control does not
// ask for every key. `text` holds the characters of DialogKey::Character.
void pressKey(WindowRef dialog, DialogKey key, const std::string& text);

}  // namespace desktop::windows

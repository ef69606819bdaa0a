// What a module's modal dialogs gave EndDialog. The value lives inside the
// dialog's own modal loop and goes back to the module alone; the host sees
// it by routing the module's import of USER32's EndDialog through a recorder,
// which keeps the value and calls the system's EndDialog with the same
// arguments, so the dialog ends exactly as it would have.
#pragma once

#include "desktop/files/win32/windows_api.h"

#include <optional>

namespace hostsim::win32 {

// Routes `module`'s EndDialog import through the recorder. False when the
// module does not import it (its dialogs then end unseen, as "?").
bool watchDialogResults(HMODULE module);

// EndDialog for the host's own ends of a dialog, recorded as the module's are.
BOOL endDialogRecorded(HWND dialog, INT_PTR result);

// The result of the last successful EndDialog for `dialog` (a later call
// replaces an earlier one, as EndDialog's own result does), forgotten once
// taken; nothing when no watched call ended it.
std::optional<INT_PTR> takeDialogResult(HWND dialog);

}  // namespace hostsim::win32

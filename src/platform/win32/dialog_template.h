// A dialog template of the module's resources, by name.
#pragma once

#include "platform/win32/windows_api.h"

namespace lumbrel::platform::win32 {

// Null when the module holds no dialog of that name.
const DLGTEMPLATE* findDialogTemplate(const wchar_t* name) noexcept;
// Where a dialog goes: centred across the work area, a quarter of the free
// height from its top.
void placeOnScreen(HWND dialog) noexcept;
// The window a new dialog is owned by (and disables while modal).
HWND dialogOwner() noexcept;

}  // namespace lumbrel::platform::win32

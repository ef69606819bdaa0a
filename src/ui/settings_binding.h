// Binding of dialog controls to keys of the settings file.
//
// A control built with a `pref` element carries the key in its text
// property "HAVSpref" and, with `dval`, a default in "HAVSdval". Loading
// reads each bound key of the section (the default when the key is missing):
// a control of kind cbox (check box, radio button, group box) is set to the
// value read as a decimal number (text that is no number reads as 0), an
// edit field (utxt) receives the text; other kinds are left alone. Saving
// writes the check state of each bound cbox as a number and the text of each
// bound edit field, then writes the settings file.
#pragma once

#include "platform/window_system.h"
#include "settings/settings_store.h"

namespace lumbrel {

// The longest value a bound control reads; longer values are cut here.
inline constexpr std::size_t kMaxBoundValue = 64 * 1024;

void loadDialogValues(platform::WindowRef dialog, CMySettings* settings, const char* section);
void saveDialogValues(platform::WindowRef dialog, CMySettings* settings, const char* section);

}  // namespace lumbrel

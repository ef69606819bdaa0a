// What kind of control a window is, and the walk over a dialog's windows.
//
// The kind is a four-character code told by the window's class and style, so
// that code holding only a window handle can read and write it correctly:
//   "Static" stxt; "Edit" utxt; "Button" push for push and default push
//   buttons, cbox for every other button type (check boxes, radio buttons,
//   group boxes); "ComboBox" popb for a drop-down list, comb otherwise;
//   "ListBox" lbox; "SysTabControl32" tabs; "msctls_progress32" prgb;
//   "Separator" sepa; "RadioGroup" radg; "UserPane" upan, or the pane's own
//   kind when its value property "HAVVtype" holds one.
// Any other window (a dialog shell, a font menu) has kind 0.
#pragma once

#include <cstdint>

#include "platform/window_system.h"

namespace lumbrel {

std::uint32_t controlKind(platform::WindowRef window);

using DialogWalkProc = bool (*)(platform::WindowRef window, std::uint32_t kind, std::intptr_t value);

// Calls `proc` for `window` and then for every descendant, depth first in
// creation order, with its kind and the caller's value. A false answer stops
// the walk; the result is false then, true when every window was visited.
// The walk keeps no stack, so any nesting depth is walked.
bool walkDialog(platform::WindowRef window, DialogWalkProc proc, std::intptr_t value);

}  // namespace lumbrel

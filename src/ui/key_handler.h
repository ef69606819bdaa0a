// The keyboard behaviour of the controls a dialog description builds.
//
// The builder replaces the window procedure of push buttons, check boxes,
// radio buttons, group boxes, edit fields, list boxes and tab controls with
// keyHandlerProc and keeps the replaced one in the value property
// "HAVVwprc". The handler:
// - answers kWantAllKeys to GetDialogCode, so every key reaches the control;
// - on KeyDown Tab sends NextDialogControl to the dialog (the top-level
//   window), wParam 0, or 1 while a Shift key is held: the Shift state is read
//   from the live key map (platform/keyboard.h), as the Windows build reads
//   GetKeyState at the time of the key;
// - on KeyDown Return sends Command (id 1, Clicked, lParam 0: from the
//   keyboard) to the dialog, except in a multi-line edit field, where the
//   key goes on to the field;
// - on KeyDown Escape sends Close to the dialog;
// - swallows the Char messages of the keys it took, so that no field types them;
// - hands Command, DrawItem and Notify messages that come from its own child
//   windows on to the dialog (a group box or tab control holding controls
//   would otherwise lose their notifications);
// - passes everything else to the kept procedure.
#pragma once

#include <cstdint>

#include "platform/window_system.h"

namespace lumbrel {

std::intptr_t LUMBREL_CALLBACK keyHandlerProc(platform::WindowRef window, platform::Message message, std::uintptr_t wParam,
                             std::intptr_t lParam);

// Puts the key handler on a control, keeping its procedure. Does nothing for
// a control that has it already.
void installKeyHandler(platform::WindowRef control) noexcept;

}  // namespace lumbrel

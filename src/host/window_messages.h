// The event filter's Windows form: a Windows host hands callback 10 one
// window message at a time (XTWinEventRec) instead of a classic event.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// What a message asks of the module.
enum class MessageAction { Pass, Idle, MouseDown, CopyName, Rename };

// Idle for the null message and the timer tick; the mouse-down when `edit`
// (the preference "Edit") is on; for a key-down with exactly Control (mouse
// buttons aside) the copy-name shortcut when the key is `copyKey`'s, with
// exactly Control and Shift the rename shortcut on 'R'. Everything else
// passes. A `copyKey` of 0 (an empty "CopyPath") matches no key.
MessageAction classifyWindowsMessage(const XTWinEventRec& event, bool edit, char copyKey) noexcept;

// The virtual-key code of a key the settings name by its character: a
// letter key is its capital, other keys their character.
std::uintptr_t virtualKeyOf(char character) noexcept;

// Message times (milliseconds) as the ticks (1/60 s) the double-click test counts.
std::uint32_t ticksFromMilliseconds(std::uint32_t milliseconds) noexcept;

// Does what the message asks; a shortcut or click the module handled is
// swallowed (its message becomes XT_WM_NULL). A record shorter than
// XTWinEventRec is left alone.
void filterWindowsMessage(XTWinEventRec& event);

}  // namespace lumbrel

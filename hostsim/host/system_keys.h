// The modifier keys of a user action as the operating system's own keyboard
// state holds them, for a module that asks the system rather than the
// desktop stand-in (the Windows DLL reads GetKeyState). Nothing to do where
// the module asks the desktop.
#pragma once

#include <cstdint>

namespace hostsim {

// Sets (or with 0 releases) the modifier keys of the desktop's modifier bits
// in this thread's keyboard state.
void holdSystemModifiers(std::uint16_t modifiers);

}  // namespace hostsim

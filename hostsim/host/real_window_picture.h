// Pictures of real windows: the Windows host's dialogs are Win32 windows,
// which the desktop stand-in cannot draw; their picture is what the display
// shows of them.
#pragma once

#include <string>

namespace lumbrel::platform {
struct NativeWindow;
using WindowRef = NativeWindow*;
}  // namespace lumbrel::platform

namespace hostsim {

// Writes the window as the display shows it now to a PNG file. False (with
// `error`) for a path not ending in ".png", a window that is not a real one
// (always on POSIX, where every window is the stand-in's) or a failed write.
bool writeRealWindowPicture(lumbrel::platform::WindowRef window, const std::string& path, std::string& error);

}  // namespace hostsim

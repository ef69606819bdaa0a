// Which host this build of the simulator is. The Windows build is the
// Windows host: it speaks the Windows form of the host interface.
#pragma once

namespace hostsim {
#if defined(_WIN32)
inline constexpr bool kWindowsHost = true;
#else
inline constexpr bool kWindowsHost = false;
#endif
}  // namespace hostsim

// On POSIX every window is the desktop stand-in's: none is real.
#include "hostsim/host/real_window_picture.h"

namespace hostsim {

bool writeRealWindowPicture(lumbrel::platform::WindowRef, const std::string&, std::string& error) {
    error = "no real windows on this system";
    return false;
}

}  // namespace hostsim

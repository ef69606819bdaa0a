#include "hostsim/host/system_keys.h"

namespace hostsim {

// The POSIX module reads the keys from the desktop stand-in, which
// HeldModifiers sets already.
void holdSystemModifiers(std::uint16_t) {}

}  // namespace hostsim

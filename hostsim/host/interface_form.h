// The numbers of the host interface this host speaks: what it expects a
// module to state in its compatibility question, its set-up record and its
// registrations, and which of its commands are the output commands a module
// may watch. The Mac host (the POSIX build) and the Windows host differ.
#pragma once

#include "hostsim/host/host_flavour.h"

#include "xtapi.h"

#include <cstdint>

namespace hostsim {

struct InterfaceForm {
    std::int32_t compatApi;
    std::uint32_t compatHostVersion;
    std::int32_t setupApi;
    std::int32_t setupBuild;
    std::uint32_t setupHostVersion;
    std::int32_t registerKind;  // first number of every registration
};

inline constexpr InterfaceForm kMacInterface{XT_COMPAT_API,  XT_COMPAT_HOSTVERSION, XT_API_VERSION,
                                             XT_API_BUILD,   XT_API_HOSTVERSION,    XT_REGISTER_MAC};
inline constexpr InterfaceForm kWindowsInterface{XT_COMPAT_API_WIN, XT_COMPAT_HOSTVERSION_WIN, XT_API_VERSION_WIN,
                                                 XT_API_BUILD_WIN,  XT_API_HOSTVERSION_WIN,    XT_REGISTER_WIN};

inline constexpr const InterfaceForm& kHostInterface = kWindowsHost ? kWindowsInterface : kMacInterface;

}  // namespace hostsim

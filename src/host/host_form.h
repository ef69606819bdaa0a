// The two forms of the host interface the module speaks: the numbers it
// states at activation and start-up, how it gets the host's services beyond
// the named groups, what its event callback receives and which host commands
// run the output check. The build's form is chosen by the traits header.
#pragma once

#include <cstdint>

#include "platform/platform_traits.h"
#include "xtapi.h"

namespace lumbrel {

struct HostForm {
    std::int32_t compatApi;            // third argument of the compatibility question
    std::uint32_t compatHostVersion;   // its fourth
    std::int32_t setupApi;             // the set-up record
    std::int32_t setupBuild;
    std::uint32_t setupHostVersion;
    std::int32_t registerKind;         // first number of every registration
    bool interfaceTables;              // 'QLIU'... by version instead of the string group 'QSB\1'
    bool windowMessages;               // callback 10 gets an XTWinEventRec
    std::int16_t outputCommands[2];    // host commands that run the output check
};

inline constexpr HostForm kMacHostForm{
    XT_COMPAT_API, XT_COMPAT_HOSTVERSION, XT_API_VERSION, XT_API_BUILD, XT_API_HOSTVERSION, XT_REGISTER_MAC,
    false,         false,                 {XT_CMD_SAVE_CHECK, XT_CMD_SAVE_CHECK}};

inline constexpr HostForm kWindowsHostForm{
    XT_COMPAT_API_WIN, XT_COMPAT_HOSTVERSION_WIN, XT_API_VERSION_WIN, XT_API_BUILD_WIN, XT_API_HOSTVERSION_WIN,
    XT_REGISTER_WIN,   true,                      true,               {XT_CMD_SAVE_CHECK_WIN1, XT_CMD_SAVE_CHECK_WIN2}};

// The form of this build.
inline constexpr const HostForm& kHostForm =
    platform::Traits::kWindowsHostForm ? kWindowsHostForm : kMacHostForm;

constexpr bool isOutputCheckCommand(const HostForm& form, std::int16_t command) noexcept {
    return command == form.outputCommands[0] || command == form.outputCommands[1];
}

}  // namespace lumbrel

// The window of the preference pane while the host's preferences dialog runs,
// for the host's button service (xtxdctlbtn), which reads and writes the
// pane's check boxes in it.
#pragma once

#include "src/platform/window_system.h"

#include <cstdint>
#include <optional>

namespace hostsim {

// Null while no preferences dialog runs.
lumbrel::platform::WindowRef paneWindow() noexcept;

// The check state of the pane's control `item`; nullopt when the window has
// no button of that identifier (the host keeps such values itself).
std::optional<std::int32_t> paneButtonValue(std::int16_t item);
// Sets it; false when there is no such button.
bool setPaneButtonValue(std::int16_t item, std::int32_t value);

}  // namespace hostsim

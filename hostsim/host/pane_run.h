// The preference pane's controls while the host's preferences dialog runs,
// for the host's button service (xtxdctlbtn), which reads and writes the
// pane's check boxes and number fields in its window (pane_dialog.h).
#pragma once

#include <cstdint>
#include <optional>

namespace hostsim {

// The check state of the pane's control `item`; nullopt when the window has
// no button of that identifier (the host keeps such values itself).
std::optional<std::int32_t> paneButtonValue(std::int16_t item);
// Sets it; false when there is no such button.
bool setPaneButtonValue(std::int16_t item, std::int32_t value);

}  // namespace hostsim

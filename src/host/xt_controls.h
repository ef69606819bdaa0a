// Controls of the dialogs the host runs (the preference pane).
#pragma once

#include <cstdint>

namespace lumbrel {

// The value of a control of the host's current dialog (check boxes: 0 or 1).
std::int32_t xd_btn_getvalue(std::int16_t item);
void xd_btn_setvalue(std::int16_t item, std::int32_t value);

}  // namespace lumbrel

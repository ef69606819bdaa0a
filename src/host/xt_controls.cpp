#include "host/xt_controls.h"

#include "host/xt_groups.h"

namespace lumbrel {

std::int32_t xd_btn_getvalue(std::int16_t item) {
    return gXtButton.getValue(item);
}

void xd_btn_setvalue(std::int16_t item, std::int32_t value) {
    gXtButton.setValue(item, value);
}

}  // namespace lumbrel

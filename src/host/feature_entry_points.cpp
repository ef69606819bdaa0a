#include "host/feature_entry_points.h"

#include "drop/win_drop.h"
#include "platform/platform_traits.h"

namespace lumbrel {

void doDropIdle() {
    // The first-item drop is done whole inside the host's drop callback;
    // only the drop of all files keeps them until idle time.
    if constexpr (platform::Traits::kDropAtIdle) workOffDrop();
}

}  // namespace lumbrel

#include "host/feature_entry_points.h"

namespace lumbrel {

void doDropIdle() {
    // Nothing waits for idle time in this build: the drop is done whole
    // inside the host's drop callback (first item only). Only the Windows
    // form of the drop keeps dropped files until the next null event.
}

}  // namespace lumbrel

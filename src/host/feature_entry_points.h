// Where the event filter hands events to features that arrive later: the
// idle step of dropping. Each feature takes its entry point over into its
// own folder.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// The idle step of dropping, run on every null event.
void doDropIdle();

}  // namespace lumbrel

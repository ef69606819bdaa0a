// Swapping pictures between their low- and high-resolution files (the "Swap"
// menu command).
#pragma once

#include "xtapi.h"

namespace lumbrel {

// `box` is the current box, or 0 when none is current.
void doSwap(XTBoxID box);

}  // namespace lumbrel

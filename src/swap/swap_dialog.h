// The swap dialog ("SWAP"): the two extension lists (items 5 and 6), "In
// same folder" (7), "Within folder "layouts"" (8), "Selected objects only"
// (9, unchecked at each start and enabled only when a box is current), and
// the buttons "Lo --> Hi" (4), "Hi --> Lo" (3) and Cancel (2). Items 5 to 8
// are bound to section "Swapping": they start from the settings, and either
// direction button saves them as typed before the run. The run's own lists
// read "," as ";".
#pragma once

#include "swap/swap_options.h"

namespace lumbrel {

// Fills options.direction (None on Cancel), the rules and selectedOnly.
void runSwapDialog(SwapOptions& options);

}  // namespace lumbrel

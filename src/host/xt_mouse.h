// Where the mouse is on the layout: spread and box under a global point.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// The spread under the global mouse point `where` in `window`, and through
// `box` the first box (chain order) whose bounds contain it, or 0.
//
// Every spread is taken to be as high as spread 1 and to lie below the one
// before, so a point below the last spread answers a spread number past the
// last one, with box 0. When `window` is no document window the answer is 1
// and `box` is left as it is. `point`, when given, gets the point itself in
// that spread's coordinates (whole points), or is left as it is with `box`.
std::int16_t XTGetMousePos(XTWindow window, XTPoint where, XTBoxID* box, XTFixedPoint* point = nullptr);

}  // namespace lumbrel

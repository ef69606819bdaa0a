// Walks over the boxes of the current document in the host's chain order
// (the spread's first box, then each next box until 0). A callback answers
// true to go on and false to stop. Callers pass spreads 1 to 2000 to mean
// all spreads; without a document nothing is visited.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

using XTEnumBoxProc = bool (*)(XTBoxID box, std::intptr_t data);

inline constexpr std::int16_t kFirstSpread = 1;
inline constexpr std::int16_t kAllSpreads = 2000;  // as last spread: up to the last one there is

// All boxes of one spread whose bounds meet `rect` (null: all). True when
// the walk ended, false when the callback stopped it.
bool xt_enumboxes(std::int16_t spread, XTEnumBoxProc callback, const XTFixedRect* rect, std::intptr_t data);

// The spreads max(first, 1) to min(last, number of spreads) in turn. A false
// answer ends only the walk of the current spread; the next spread is walked
// all the same.
void xt_enumboxes(std::int16_t first, std::int16_t last, XTEnumBoxProc callback, const XTFixedRect* rect,
                  std::intptr_t data);

// The picture boxes of one spread meeting `rect`; spread 0 is the spread of
// the current page. 1 when the walk ended, 0 when the callback stopped it.
std::int16_t xt_enumpictboxes(std::int16_t spread, XTEnumBoxProc callback, const XTFixedRect* rect,
                              std::intptr_t data);

// The picture boxes of the spread range; unlike xt_enumboxes the walk ends
// at the first spread whose walk was stopped. 1 when it ran to its end.
std::int16_t xt_enumpictboxes(std::int16_t first, std::int16_t last, XTEnumBoxProc callback,
                              const XTFixedRect* rect, std::intptr_t data);

// The picture members of a group box, or the box itself when it is a
// picture box. 1 when the walk ended, 0 when the callback stopped it.
std::int16_t xt_enumpictboxes(XTBoxID box, XTEnumBoxProc callback, std::intptr_t data);

}  // namespace lumbrel

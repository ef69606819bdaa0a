// Boxes of the current document through plain functions on box ids.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// The current box; 0 when no document is open or no box is current.
XTBoxID XTGetCurBox();

// The first box of a spread in chain order, and the box after `box`; 0 ends
// the chain and is the answer without a document.
XTBoxID firstbox(std::int16_t spread);
XTBoxID nextbox(XTBoxID box);

// Yes/no questions about a box; false for box 0 and without a document.
bool xt_ispictbox(XTBoxID box);
bool xt_isgroupbox(XTBoxID box);

// The box's bounds in spread coordinates; false (bounds untouched) when the
// host has none.
bool xt_getboxbounds(XTBoxID box, XTFixedRect* bounds);

// True when no rectangle is given, or when the box's bounds and `rect` meet.
bool boxinrect(XTBoxID box, const XTFixedRect* rect);

// The member ids of a group box as XTBoxID values in a host handle, their
// number through `count`; 0 (count 0) when the box is no group. The caller
// disposes the handle with xt_disposehandle.
XTHandle boxesingroup(XTBoxID box, std::int32_t* count);
void xt_disposehandle(XTHandle handle);

// The first box of the spread, in chain order, whose bounds contain the
// point (spread coordinates); 0 when none does.
XTBoxID whichBox(std::int16_t spread, XTFixedPoint point);

}  // namespace lumbrel

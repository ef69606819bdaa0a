// A double-click on a picture box with the content tool opens the picture's
// dialog: the PDF page dialog for PDF files, the edit dialog for the rest.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// Two mouse-downs at most this many ticks apart make a double-click.
inline constexpr std::uint32_t kDoubleClickTicks = 23;

// Every mouse-down while the preference "Edit" is on. A double-click on the
// current picture box, in the current document's window with the content
// tool, opens the box's dialog and turns the event into a null event so the
// host ignores the click.
void doMouseDown(XTEventRec* event);

// Opens the PDF dialog when the box's picture path ends in ".pdf" (any
// case), the edit dialog otherwise.
void doDoubleClick(XTBoxID box);

}  // namespace lumbrel

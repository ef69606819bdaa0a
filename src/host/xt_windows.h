// The host's windows and tools as the double-click on a picture needs them:
// the current document's window, the frontmost window and the current tool.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// The current document's window; 0 when no document is open.
XTWindow XTGetDocWindow();

// The host's frontmost window.
XTWindow XTGetCurWindow();

// The host's current tool (XT_TOOL_...).
std::int16_t xt_currenttool();

}  // namespace lumbrel

// The document view under a drag: which view and document, the view's
// current page, local coordinates and scales, and the pasteboard of the drag
// in progress.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// The layout view shown in a window, 0 when none.
XTViewRef xt_viewofwindow(XTWindow window);
// The document a view shows, -1 when none.
XTDocID xt_viewdoc(XTViewRef view);
// The view's current page, 0 when none.
std::int16_t xt_viewcurpage(XTViewRef view);

// Turns a global screen point into the window's local pixels, relative to
// the origin last set by setsprdorigin.
XTPoint xt_globaltolocal(XTWindow window, XTPoint global);

// The document's scale factor (16.16, 1.0 normally); 0 without a document.
Fixed xt_docscalefactor();

// The height in pixels (at 100 %) of the spread's bounds on screen; 0 when
// the host has none or without a document.
std::int32_t xt_spreadscreenheight(std::int16_t spread);

// The platform's pasteboard of the drag in progress as the data-exchange
// group hands it over; 0 outside a drag and when the host has no such group.
std::intptr_t xt_currentdrag();

}  // namespace lumbrel

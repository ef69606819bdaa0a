#include "editing/double_click.h"

#include "editing/edit_dialog.h"
#include "host/xt_boxes.h"
#include "host/xt_mouse.h"
#include "host/xt_pictures.h"
#include "host/xt_windows.h"
#include "pdf/pdf_dialog.h"
#include "util/files_paths.h"
#include "util/bounded.h"

namespace lumbrel {

namespace {
// Module state: the time of the last mouse-down that reached the test,
// kept from one event to the next.
std::uint32_t gPreviousClickTicks = 0;
}  // namespace

void doMouseDown(XTEventRec* event) {
    if (event == nullptr) return;
    const XTWindow window = XTGetDocWindow();
    if (window == 0 || window != XTGetCurWindow()) return;

    const std::uint32_t when = event->when;
    const XTBoxID box = XTGetCurBox();
    // Unsigned: a tick counter that wrapped still gives the true distance.
    if (xt_ispictbox(box) && xt_currenttool() == XT_TOOL_CONTENT && when - gPreviousClickTicks <= kDoubleClickTicks) {
        XTBoxID under = 0;
        XTGetMousePos(window, event->where, &under);
        if (under == box) {
            doDoubleClick(box);
            event->what = XT_EVT_NULL;
        }
    }
    gPreviousClickTicks = when;
}

void doDoubleClick(XTBoxID box) {
    char path[kPathSize] = {};
    XTGetBoxPath(box, path, sizeof path);
    if (pathEndsWith(path, ".pdf")) {
        doPDFImport(box, path);
    } else {
        runEditDialog(box, path);
    }
}

}  // namespace lumbrel

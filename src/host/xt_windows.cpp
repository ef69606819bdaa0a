#include "host/xt_windows.h"

#include "host/xt_documents.h"
#include "host/xt_groups.h"

namespace lumbrel {

XTWindow XTGetDocWindow() {
    if (!hasCurrentDocument()) return 0;
    return gXtDoc.docWindow();
}

XTWindow XTGetCurWindow() {
    return gXtWindow.curWindow();
}

std::int16_t xt_currenttool() {
    return gXtSystem.currentTool();
}

}  // namespace lumbrel

// Dragging items from another application onto the front document's view:
// the module's drag handlers for layout views, with the drag's pasteboard
// in the desktop and reachable through the data-exchange group.
#include "hostsim/host/runtime.h"

#include "desktop/desktop.h"

#include <algorithm>

namespace hostsim {

namespace {

std::int32_t callHandler(Runtime& rt, XTDragProc proc, const XTDragInfo& info) {
    if (proc == nullptr) return 0;
    return rt.inModule(kLabelDragHandler, [&] { return proc(&info); });
}

// Entered, within and, when accepted, the drop, at a global screen point;
// `where` names the point in the transcript.
bool dragTo(Runtime& rt, std::vector<desktop::PasteboardItem> items, ScreenPoint screen, const std::string& where,
            std::int32_t dropEffect, std::uint16_t modifiers) {
    const XTDocID doc = rt.currentID();
    rt.clock += kActionTicks;
    rt.mouse = XTPoint{static_cast<std::int16_t>(std::clamp(screen.v, -32768, 32767)),
                       static_cast<std::int16_t>(std::clamp(screen.h, -32768, 32767))};
    rt.note("drag " + std::to_string(items.size()) + " item(s) to " + where);

    const auto found = rt.dragHandlers.find(XT_VIEW_LAYOUT);
    if (found == rt.dragHandlers.end()) {
        rt.note("drag refused: no handler for layout views");
        return false;
    }
    const XTDragHandlers handlers = found->second;
    desktop::Desktop& desk = desktop::Desktop::instance();
    rt.currentDrag = desk.beginDrag(std::move(items));
    XTDragInfo info{};
    info.view = Runtime::viewOf(doc);
    info.window = Runtime::windowOf(doc);
    info.where = rt.mouse;
    info.dropEffect = dropEffect;
    info.modifiers = modifiers;

    const bool accepted = callHandler(rt, handlers.entered, info) == 1;
    callHandler(rt, handlers.within, info);
    bool dropped = false;
    if (accepted) {
        dropped = callHandler(rt, handlers.drop, info) == 1;
        rt.note(dropped ? "drop accepted" : "drop refused by the module");
    } else {
        callHandler(rt, handlers.left, info);
        rt.note("drag refused by the module");
    }
    desk.endDrag();
    rt.currentDrag = 0;
    rt.flushRedraw();
    return dropped;
}

}  // namespace

bool Simulator::drop(std::vector<desktop::PasteboardItem> items, SpreadPoint point, std::int32_t dropEffect,
                     std::uint16_t modifiers) {
    Runtime& rt = runtime();
    if (!rt.beginAction("drag")) return false;
    if (rt.currentID() < 0) {
        rt.note("drag: no document window to drop on");
        return false;
    }
    const std::string where =
        "spread " + std::to_string(point.spread) + " point " + pointsText(point.h) + "," + pointsText(point.v);
    return dragTo(rt, std::move(items), toScreen(point), where, dropEffect, modifiers);
}

bool Simulator::drop(std::vector<desktop::PasteboardItem> items, ScreenPoint point, std::int32_t dropEffect,
                     std::uint16_t modifiers) {
    Runtime& rt = runtime();
    if (!rt.beginAction("drag")) return false;
    if (rt.currentID() < 0) {
        rt.note("drag: no document window to drop on");
        return false;
    }
    const std::string where = "pixel " + std::to_string(point.h) + "," + std::to_string(point.v);
    return dragTo(rt, std::move(items), point, where, dropEffect, modifiers);
}

}  // namespace hostsim

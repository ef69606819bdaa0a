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

}  // namespace

bool Simulator::drop(std::vector<desktop::PasteboardItem> items, SpreadPoint point, std::int32_t dropEffect,
                     std::uint16_t modifiers) {
    Runtime& rt = runtime();
    if (!rt.beginAction("drag")) return false;
    const XTDocID doc = rt.currentID();
    if (doc < 0) {
        rt.note("drag: no document window to drop on");
        return false;
    }
    rt.clock += kActionTicks;
    const ScreenPoint screen = toScreen(point);
    rt.mouse = XTPoint{static_cast<std::int16_t>(std::clamp(screen.v, -32768, 32767)),
                       static_cast<std::int16_t>(std::clamp(screen.h, -32768, 32767))};
    const std::size_t count = items.size();
    rt.note("drag " + std::to_string(count) + " item(s) to spread " + std::to_string(point.spread) + " (" +
            pointsText(point.v) + ", " + pointsText(point.h) + ")");

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

}  // namespace hostsim

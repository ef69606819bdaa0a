// Dragging items from another application onto the front document's view.
// The Mac form: the module's drag handlers for layout views, with the drag's
// pasteboard in the desktop and reachable through the data-exchange group.
// The Windows form: callbacks 531, 532 and 534 with the drag's dropped-file
// list, and the host's idle step after a drop, in which the module places
// what was dropped.
#include "hostsim/host/drop_files.h"
#include "hostsim/host/host_flavour.h"
#include "hostsim/host/runtime.h"

#include "desktop/desktop.h"
#include "desktop/file_url.h"

#include <algorithm>
#include <cctype>

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

// The paths of the file items in Windows form ("/C:/x/a.tif" is C:\x\a.tif).
std::vector<std::string> droppedPaths(const std::vector<desktop::PasteboardItem>& items) {
    std::vector<std::string> paths;
    for (const desktop::PasteboardItem& item : items) {
        const desktop::Flavor* url = item.find(desktop::kFileUrlFlavor);
        std::string path;
        if (url == nullptr || !desktop::pathFromFileUrl(url->data, path)) continue;
        const bool drive = path.size() >= 3 && path[0] == '/' && std::isalpha(static_cast<unsigned char>(path[1])) != 0 &&
                           path[2] == ':';
        if (drive) path.erase(0, 1);
        std::replace(path.begin(), path.end(), '/', '\\');
        paths.push_back(std::move(path));
    }
    return paths;
}

// The system's key flags of a drag: the left button, Shift, Control.
std::uint32_t dragKeyState(std::uint16_t modifiers) {
    std::uint32_t state = 0x0001;
    if ((modifiers & (desktop::kModShift | desktop::kModRightShift)) != 0) state |= 0x0004;
    if ((modifiers & desktop::kModControl) != 0) state |= 0x0008;
    return state;
}

// Entered, over and, when both took it, the drop; the drag's file list
// lives for these calls.
bool windowsDragTo(Runtime& rt, const std::vector<desktop::PasteboardItem>& items, ScreenPoint screen,
                   const std::string& where, std::uint16_t modifiers) {
    const XTDocID doc = rt.currentID();
    rt.clock += kActionTicks;
    rt.mouse = XTPoint{static_cast<std::int16_t>(std::clamp(screen.v, -32768, 32767)),
                       static_cast<std::int16_t>(std::clamp(screen.h, -32768, 32767))};
    rt.note("drag " + std::to_string(items.size()) + " item(s) to " + where);
    if (!rt.registered(XT_CB_WINDRAG_ENTERED)) {
        rt.note("drag refused: no drag callbacks");
        return false;
    }
    const std::vector<std::string> paths = droppedPaths(items);
    const std::intptr_t list = paths.empty() ? 0 : makeDropFileList(paths);
    XTWinDragRec record{};
    record.size = sizeof record;
    record.window = Runtime::windowOf(doc);
    record.where = rt.mouse;
    record.keyState = dragKeyState(modifiers);
    record.fileList = list;
    const auto taken = [&](std::int32_t code) {
        record.accept = 0;
        rt.dispatch(code, &record);
        return record.accept == 1;
    };
    bool dropped = false;
    if (taken(XT_CB_WINDRAG_ENTERED) && taken(XT_CB_WINDRAG_OVER)) {
        dropped = taken(XT_CB_WINDRAG_DROP);
        rt.note(dropped ? "drop accepted" : "drop refused by the module");
    } else {
        rt.note("drag refused by the module");
    }
    freeDropFileList(list);
    rt.flushRedraw();
    return dropped;
}

bool dropAt(Simulator& sim, Runtime& rt, std::vector<desktop::PasteboardItem> items, ScreenPoint point,
            const std::string& where, std::int32_t dropEffect, std::uint16_t modifiers) {
    if constexpr (kWindowsHost) {
        static_cast<void>(dropEffect);
        const bool dropped = windowsDragTo(rt, items, point, where, modifiers);
        // The module places dropped files at idle time, which follows at once.
        if (dropped) sim.idle(1);
        return dropped;
    } else {
        return dragTo(rt, std::move(items), point, where, dropEffect, modifiers);
    }
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
    return dropAt(*this, rt, std::move(items), toScreen(point), where, dropEffect, modifiers);
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
    return dropAt(*this, rt, std::move(items), point, where, dropEffect, modifiers);
}

}  // namespace hostsim

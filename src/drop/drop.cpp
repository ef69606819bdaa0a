#include "drop/drop.h"

#include <algorithm>

#include "drop/folder_sync.h"
#include "drop/my_pasteboard.h"
#include "host/message_box.h"
#include "host/xt_box_content.h"
#include "host/xt_views.h"
#include "host/xt_wrappers.h"
#include "platform/pasteboard.h"
#include "platform/platform_traits.h"
#include "platform/processes.h"
#include "settings/localised_strings.h"
#include "settings/preferences.h"
#include "util/bounded.h"
#include "util/files_paths.h"
#include "util/log.h"

namespace lumbrel {

namespace {

constexpr std::int64_t kFixedOne = 0x10000;
constexpr std::int32_t kNewBoxSize = 100;  // points

// Whole points as 16.16, held within the range of a point coordinate.
Fixed toFixed(std::int64_t points) noexcept {
    return static_cast<Fixed>(std::clamp<std::int64_t>(points, INT16_MIN, INT16_MAX) * kFixedOne);
}

Fixed addFixed(Fixed value, std::int64_t delta) noexcept {
    return static_cast<Fixed>(std::clamp<std::int64_t>(std::int64_t{value} + delta, INT32_MIN, INT32_MAX));
}

// The path of the drag's first item; false when there is no drag, no such
// item or no file behind it.
bool firstDraggedPath(char* path, std::size_t size) {
    const std::intptr_t drag = xt_currentdrag();
    if (drag == 0) return false;
    const MyPasteboard pasteboard(static_cast<platform::DragRef>(static_cast<std::uintptr_t>(drag)));
    return pasteboard.getPath(1, path, size);
}

// False when no spread can take the file: the view's page has none, the
// host tells no usable spread height, or the point lies above the first
// spread or below the last.
bool dropFile(const XTDragInfo& info, const char* path) {
    const std::int16_t spread = getSpreadFromDrop(info.view);
    if (spread < 1) return false;
    setsprdorigin(spread);
    const XTPoint local = xt_globaltolocal(info.window, info.where);
    const std::optional<DropPlace> place =
        placeDrop(spread, local, dropZoom(xtget_docscale(), xt_docscalefactor()), xt_spreadscreenheight(1));
    if (!place || place->spread < 1 || place->spread > numsprds()) return false;

    const auto target = static_cast<std::int16_t>(place->spread);
    const XTFixedPoint point{toFixed(place->v), toFixed(place->h)};
    const XTBoxID box = whichBox(target, point);
    if (xt_ispictbox(box)) {
        XTLoadBox(box, path);
        return true;
    }
    installBox(xt_viewdoc(info.view), target, point.h, point.v, path);
    return true;
}

}  // namespace

std::int32_t dragEntered(const XTDragInfo* info) {
    const std::int32_t effect = info != nullptr ? info->dropEffect : 0;
    const int modifiers = info != nullptr ? info->modifiers : 0;
    dprintf("dragEnter: dropEffect: %d, modifiers: %d%s", effect, modifiers, platform::Traits::kLineEnd);
    if (!getDragAndDrop() || (effect & XT_DROP_EFFECT_COPY) == 0) return 0;
    return firstDraggedPath(nullptr, 0) ? 1 : 0;
}

std::int32_t dragDropped(const XTDragInfo* info) {
    dprintf("dragAccept%s", platform::Traits::kLineEnd);
    platform::bringApplicationToFront(platform::kCreatorThisHost, nullptr);
    char path[kPathSize];
    if (info == nullptr || !firstDraggedPath(path, sizeof path)) return 0;
    return dropPath(*info, path) ? 1 : 0;
}

bool dropPath(const XTDragInfo& info, const char* path) {
    if (path == nullptr) return false;
    if (!fileExists(path)) {
        // The path goes in as an argument: a "%" in a file name is text.
        setMsg2("%s", path);
        msgBox("fileNotFound");
        return true;
    }
    if (isFolder(path)) {
        setMsg2("%s", path);
        if (msgBoxYesNo("dropFolder") == kAnswerDefault) dropFolder(path);
        return true;
    }
    return dropFile(info, path);
}

std::int16_t getSpreadFromDrop(XTViewRef view) {
    return xt_pg2sprd(xt_viewcurpage(view));
}

std::int64_t dropZoom(Fixed viewScale, Fixed docScaleFactor) noexcept {
    return std::int64_t{viewScale} * docScaleFactor / kFixedOne;
}

std::optional<DropPlace> placeDrop(std::int16_t spread, XTPoint local, std::int64_t zoom,
                                   std::int32_t spreadHeight) noexcept {
    if (spreadHeight <= 0) return std::nullopt;
    std::int64_t v = local.v;
    std::int64_t h = local.h;
    if (zoom > 0) {
        v = v * kFixedOne / zoom;
        h = h * kFixedOne / zoom;
    }
    std::int64_t spreads = v / spreadHeight;
    if (v < 0) --spreads;
    v -= spreads * spreadHeight;
    const std::int64_t target = spread + spreads;
    DropPlace place;
    place.spread = static_cast<std::int32_t>(std::clamp<std::int64_t>(target, INT16_MIN, INT16_MAX));
    place.v = static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT16_MIN, INT16_MAX));
    place.h = static_cast<std::int32_t>(std::clamp<std::int64_t>(h, INT16_MIN, INT16_MAX));
    return place;
}

XTBoxID installBox(XTDocID doc, std::int16_t spread, Fixed horizontal, Fixed vertical, const char* path) {
    const XTHandle record = xt_newboxrecord(doc, XT_BOX_PICTURE, XT_SHAPE_RECT);
    if (record == 0) return 0;
    const std::int64_t size = std::int64_t{kNewBoxSize} * kFixedOne;
    xt_setrecordbounds(record, XTFixedRect{vertical, horizontal, addFixed(vertical, size), addFixed(horizontal, size)});
    const XTBoxID box = xt_installbox(doc, spread, record);
    if (box == 0) {
        xt_disposeboxrecord(record);
        return 0;
    }
    const XTError error = XTLoadBox(box, path);
    if (error != XT_NOERR) {
        xt_showerror(error);
    } else {
        xt_fitpicture(box, XT_FIT_PROPORTIONAL, 0);
    }
    xt_disposeboxrecord(record);
    return box;
}

}  // namespace lumbrel

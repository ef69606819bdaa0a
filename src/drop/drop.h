// Image files dropped onto a layout view (the first-item form of the drop:
// everything happens inside the host's drop callback). A file dropped on a
// picture box replaces its picture; dropped anywhere else it becomes a new
// 100 x 100 point picture box with its top-left corner at the drop point. A
// dropped folder offers to synchronise the document's pictures with it.
#pragma once

#include <cstdint>
#include <optional>

#include "xtapi.h"

namespace lumbrel {

// The drag handlers of layout views; 1 accepts, 0 refuses.
// Entered: accepts when "DragAndDrop" is on, the drop effect has the copy
// flag and the first dragged item yields a file path.
std::int32_t dragEntered(const XTDragInfo* info);
// Drop: works on the first dragged item only. 1 when it had a path and the
// drop was taken; 0 also for a file the module cannot place (no spread to be
// told under the point), so that nothing is made in the wrong place.
std::int32_t dragDropped(const XTDragInfo* info);

// The drop of one path at the drag's point: a missing file is reported, a
// folder asks whether to synchronise with it, a file is placed. False when a
// file could not be placed (nothing was made).
bool dropPath(const XTDragInfo& info, const char* path);

// The spread of the view's current page.
std::int16_t getSpreadFromDrop(XTViewRef view);

// Where a drop lands: a spread and a point on it in whole points.
struct DropPlace {
    std::int32_t spread = 0;
    std::int32_t v = 0;
    std::int32_t h = 0;
};

// The view's zoom: view scale times document scale factor, both 16.16.
std::int64_t dropZoom(Fixed viewScale, Fixed docScaleFactor) noexcept;

// A point in local pixels relative to `spread`'s origin, divided by the zoom
// when it is above 0 (fractions dropped), then moved onto the spread it lies
// on: spreads are taken to be stacked one below the other, each
// `spreadHeight` (spread 1's height on screen) high. Nothing when that
// height is 0 or less: then no spread can be told from the point.
std::optional<DropPlace> placeDrop(std::int16_t spread, XTPoint local, std::int64_t zoom,
                                   std::int32_t spreadHeight) noexcept;

// Makes a 100 x 100 point picture box whose top-left corner is (horizontal,
// vertical) on the spread, imports the file and fits it. A failed import is
// shown by the host's error display and the empty box stays. The new box, 0
// when none could be made.
XTBoxID installBox(XTDocID doc, std::int16_t spread, Fixed horizontal, Fixed vertical, const char* path);

}  // namespace lumbrel

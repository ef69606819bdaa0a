#include "drop/win_drop.h"

#include <cstring>
#include <string>
#include <utility>

#include "drop/dropped_items.h"
#include "drop/folder_sync.h"
#include "drop/my_pasteboard.h"
#include "editing/remap_images.h"
#include "filetypes/file_types.h"
#include "host/message_box.h"
#include "host/xt_box_content.h"
#include "host/xt_windows.h"
#include "host/xt_windrop.h"
#include "host/xt_wrappers.h"
#include "pdf/pdf_dialog.h"
#include "platform/platform_traits.h"
#include "settings/localised_strings.h"
#include "settings/preferences.h"
#include "util/bounded.h"
#include "util/files_paths.h"
#include "util/log.h"

namespace lumbrel {

namespace {

constexpr std::int64_t kFixedOne = 0x10000;
constexpr std::int32_t kFullScale = 100;  // percent

struct WinDropState {
    bool enteredAccepted = false;
    DroppedItemList items;
    XTWindow target = 0;
    XTPoint where{0, 0};
    XTBoxID pending = 0;
};

WinDropState& dropState() {
    static WinDropState state;
    return state;
}

XTWinDragRec* dragRecord(void* record) {
    auto* drag = static_cast<XTWinDragRec*>(record);
    if (drag == nullptr || drag->size < static_cast<std::int32_t>(sizeof(XTWinDragRec))) return nullptr;
    return drag;
}

platform::DragRef fileListOf(const XTWinDragRec& drag) {
    return static_cast<platform::DragRef>(static_cast<std::uintptr_t>(drag.fileList));
}

// The path of dropped file `index` (from 1), logged as read.
bool droppedPath(const MyPasteboard& files, int index, char* path, std::size_t size) {
    if (!files.getPath(index, path, size)) return false;
    dprintf("HDROP: path = %s%s", path, platform::Traits::kLineEnd);
    return true;
}

// A folder, or a file of "lay", "e" or one of the host's import filters.
bool acceptedFirstFile(const XTWinDragRec& drag) {
    if (drag.fileList == 0) return false;
    const MyPasteboard files(fileListOf(drag));
    char path[kPathSize];
    if (!droppedPath(files, 1, path, sizeof path)) return false;
    if (isFolder(path)) return true;
    return dropContentKind(path, xt_importextensions(XT_BOX_PICTURE), xt_importextensions(XT_BOX_TEXT)) != 0;
}

bool dropAllowed() {
    return getDragAndDrop() && !currentLayerLocked();
}

void storeIdentifier(XTBoxID box, const XTDroppedItem& item) {
    if (box == 0 || item.type != XT_DROPITEM_PARTNER) return;
    const std::size_t length = strnlen(item.spec.label, sizeof item.spec.label);
    if (length == 0) return;
    xt_setslugdata(box, XT_SLUG_PICTURE, XT_SLUG_IDENTIFIER, item.spec.label, static_cast<std::int32_t>(length));
}

Fixed addFixed(Fixed value, std::int64_t delta) noexcept {
    const std::int64_t sum = std::int64_t{value} + delta;
    return static_cast<Fixed>(sum > INT32_MAX ? INT32_MAX : (sum < INT32_MIN ? INT32_MIN : sum));
}

XTError importInto(XTBoxID box, std::int16_t kind, const char* path) {
    return kind == XT_BOX_PICTURE ? XTLoadBox(box, path) : xt_importtext(box, path);
}

// The file goes into the box under the point, which takes its kind. As
// with a picture dropped on a picture box anywhere, no result is shown.
void importIntoExisting(XTBoxID box, std::int16_t kind, const char* path) {
    if (kind != XT_BOX_PICTURE) {
        xt_importtext(box, path);
        return;
    }
    xt_slugnotice(box, XT_SLUG_PICTURE, XT_SLUG_IMAGENAME, 0);
    if (XTLoadBox(box, path) == XT_NOERR && getFitToBox() == 1) xt_fitpicture(box, XT_FIT_TO_BOX, 1);
}

// A new square box of the file's kind with its top-left corner at the
// point; the new box, 0 when none could be made.
XTBoxID importIntoNewBox(std::int16_t spread, XTFixedPoint at, std::int16_t kind, const char* path) {
    const XTDocID doc = XTGetCurDocID();
    const XTHandle record = xt_newboxrecord(doc, kind, XT_SHAPE_RECT);
    if (record == 0) return 0;
    const std::int64_t side = std::int64_t{newDropBoxSide(kind)} * kFixedOne;
    xt_setrecordbounds(record, XTFixedRect{at.v, at.h, addFixed(at.v, side), addFixed(at.h, side)});
    const std::int32_t scale = getScale();
    if (kind == XT_BOX_PICTURE && scale != kFullScale) {
        xt_setrecordpicturescale(record, dropPictureScale(scale), dropPictureScale(scale));
    }
    const XTBoxID box = xt_installbox(doc, spread, record);
    if (box == 0) {
        xt_disposeboxrecord(record);
        return 0;
    }
    const XTError error = importInto(box, kind, path);
    if (error != XT_NOERR) {
        xt_showerror(error);
    } else if (kind == XT_BOX_PICTURE) {
        xt_fitpicture(box, XT_FIT_PROPORTIONAL, 0);
        const FileTypeCode type = getFileType(path);
        const bool clip = getPrefs()->get(pref::kDefault, pref::kClip, 1) == 1;
        if (clip && (type == kTypeTIFF || type == kTypeJPEG)) xt_setupclipping(box);
    }
    xt_disposeboxrecord(record);
    return box;
}

void placeFile(WinDropState& state, const XTDroppedItem& item, XTPoint point, bool single,
               const std::string& pictures, const std::string& texts) {
    const char* path = item.spec.path;
    const std::int16_t kind = dropContentKind(path, pictures, texts);
    if (kind == 0) {
        dprintf("drop: no import filter for %s%s", path, platform::Traits::kLineEnd);
        return;
    }
    XTBoxID under = 0;
    XTFixedPoint at{0, 0};
    const std::int16_t spread = XTGetMousePos(state.target, point, &under, &at);
    if (single && under != 0 && xt_boxkind(under) == kind) {
        importIntoExisting(under, kind, path);
        storeIdentifier(under, item);
        return;
    }
    // Below the last spread there is nothing to put a box on.
    if (spread < 1 || spread > numsprds()) return;
    const XTBoxID box = importIntoNewBox(spread, at, kind, path);
    if (box == 0) return;
    storeIdentifier(box, item);
    state.pending = box;
}

void workOffItem(WinDropState& state, const XTDroppedItem& item, XTPoint point, bool single,
                 const std::string& pictures, const std::string& texts) {
    const char* path = item.spec.path;
    if (!fileExists(path)) {
        // The path goes in as an argument: a "%" in a file name is text.
        setMsg2("%s", path);
        msgBox("fileNotFound");
        return;
    }
    if (isRelinkListPath(path)) {
        remapImages(path);
    } else if (isFolder(path)) {
        dropFolder(path);
    } else {
        placeFile(state, item, point, single, pictures, texts);
    }
}

// The PDF dialog for the box the last placement made, when it shows a PDF.
void openPendingPdf(XTBoxID box) {
    char path[kPathSize];
    if (XTGetBoxPath(box, path, sizeof path) == 0 || !isPdfPath(path)) return;
    xt_selectwindow(XTGetDocWindow());
    setcurbox(box);
    doPDFImport(box, path);
}

}  // namespace

std::int32_t winDragEntered(void* record) {
    XTWinDragRec* drag = dragRecord(record);
    WinDropState& state = dropState();
    state.enteredAccepted = drag != nullptr && dropAllowed() && acceptedFirstFile(*drag);
    if (drag == nullptr) return 0;
    drag->accept = state.enteredAccepted ? 1 : 0;
    if (state.enteredAccepted) xt_dragaccepted(drag->window);
    return 0;
}

std::int32_t winDragOver(void* record) {
    XTWinDragRec* drag = dragRecord(record);
    if (drag != nullptr) drag->accept = dropState().enteredAccepted && dropAllowed() ? 1 : 0;
    return 0;
}

std::int32_t winDrop(void* record) {
    XTWinDragRec* drag = dragRecord(record);
    if (drag == nullptr) return 0;
    drag->accept = 0;
    if (drag->fileList == 0) return 0;
    const MyPasteboard files(fileListOf(*drag));
    const int count = files.count();
    if (count <= 0) return 0;

    DroppedItemList items;
    if (!items.reserve(static_cast<std::size_t>(count))) {
        dprintf("drop: no memory for %d files%s", count, platform::Traits::kLineEnd);
        return 0;
    }
    const std::size_t identifiersSize = drag->identifiersSize > 0 ? static_cast<std::size_t>(drag->identifiersSize) : 0;
    for (int n = 1; n <= count; ++n) {
        char path[kPathSize];
        XTFileSpec spec{};
        if (!droppedPath(files, n, path, sizeof path) || !xt_makefilespec(path, &spec)) continue;
        items.add(spec, identifierAt(drag->identifiers, identifiersSize, static_cast<std::size_t>(n - 1)));
    }
    if (items.empty()) return 0;

    WinDropState& state = dropState();
    state.items = std::move(items);
    state.target = drag->window;
    state.where = drag->where;
    xt_selectwindow(drag->window);
    drag->accept = 1;
    return 0;
}

void workOffDrop() {
    WinDropState& state = dropState();
    if (state.pending != 0) openPendingPdf(std::exchange(state.pending, 0));
    if (state.items.empty()) return;

    // Taken off first: what runs below (alerts, dialogs) may see another drop.
    DroppedItemList items = std::move(state.items);
    const bool single = items.size() == 1;
    const std::string pictures = xt_importextensions(XT_BOX_PICTURE);
    const std::string texts = xt_importextensions(XT_BOX_TEXT);
    for (std::size_t i = 0; i < items.size(); ++i) {
        workOffItem(state, items[i], cascadePoint(state.where, i), single, pictures, texts);
        if (!single) xt_deselectall();
    }
    items.clear();
    redrawDoc(0);
}

void resetWinDrop() noexcept {
    WinDropState& state = dropState();
    state.enteredAccepted = false;
    state.items.clear();
    state.target = 0;
    state.where = XTPoint{0, 0};
    state.pending = 0;
}

}  // namespace lumbrel

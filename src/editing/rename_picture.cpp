#include "editing/rename_picture.h"

#include <cstdint>
#include <cstring>

#include "host/key_state.h"
#include "host/xt_boxes.h"
#include "host/xt_documents.h"
#include "host/xt_enumerate.h"
#include "host/xt_pictures.h"
#include "platform/file_rename.h"
#include "platform/platform_traits.h"
#include "ui/controls.h"
#include "ui/dialog_functions.h"
#include "util/bounded.h"
#include "util/files_paths.h"
#include "util/log.h"
#include "util/my_array.h"
#include "util/plain_file_name.h"

namespace lumbrel {

namespace {

constexpr std::uint16_t kNameItem = 3;
constexpr std::int32_t kBoxListCapacity = 1000;

struct RenameRecord {
    char path[kPathSize] = {};
    // The typed name; a path buffer, so that a name too long to take is seen
    // whole and refused rather than cut.
    char name[kPathSize] = {};
    MyArray boxes{kBoxListCapacity, sizeof(XTBoxID)};
};

bool takeName(ControlRef, WindowPtr window, std::intptr_t user) {
    auto& record = *reinterpret_cast<RenameRecord*>(user);
    ControlRef field = getControl(window, kNameItem);
    char typed[kPathSize] = {};
    if (field != nullptr) getControlText(field, typed, sizeof typed);
    // A separator, "." or ".." would move the file out of its folder.
    if (!isPlainFileName(typed)) {
        beep();
        if (field != nullptr) {
            lumbrel::setFocus(field);
            lumbrel::setEditSelection(field, 0, -1);
        }
        return true;  // the dialog stays open
    }
    copyBounded(record.name, typed);
    return false;
}

bool startRenameDialog(WindowPtr window, std::intptr_t user) {
    auto& record = *reinterpret_cast<RenameRecord*>(user);
    ControlRef field = getControl(window, kNameItem);
    ControlRef ok = getControl(window, static_cast<unsigned long>(kItemOK));
    if (field == nullptr || ok == nullptr) return false;
    setControlText(field, record.name);
    lumbrel::setFocus(field);
    lumbrel::setEditSelection(field, 0, static_cast<std::int16_t>(renameSelectionLength(record.name)));
    setControlHandler(ok, takeName, user);
    return true;
}

bool collectSamePath(XTBoxID box, std::intptr_t data) {
    auto& record = *reinterpret_cast<RenameRecord*>(data);
    char path[kPathSize];
    if (XTGetBoxPath(box, path, sizeof path) != 0 && std::strcmp(path, record.path) == 0) {
        record.boxes.addElem(&box);
    }
    return true;
}

// The new path beside the old one; false when it does not fit a path buffer.
bool siblingPath(const char* path, const char* name, char (&out)[kPathSize]) {
    copyBounded(out, path);
    return getFolder(out) != nullptr && addPathComponent(out, name);
}

}  // namespace

std::size_t renameSelectionLength(const char* name) noexcept {
    if (name == nullptr) return 0;
    const char* dot = std::strrchr(name, '.');
    if (dot == nullptr || dot == name) return std::strlen(name);
    return static_cast<std::size_t>(dot - name);
}

std::int16_t renamePicture() {
    const XTBoxID box = XTGetCurBox();
    if (!xt_ispictbox(box)) return 0;
    RenameRecord record;
    XTGetBoxPath(box, record.path, sizeof record.path);
    if (checkImagePath(record.path) == 0) return 0;
    getFileName(record.path, record.name, true);
    if (doModalDialog("Rename", startRenameDialog, reinterpret_cast<std::intptr_t>(&record)) != kCmdOK) return 0;

    xt_enumpictboxes(kFirstSpread, kAllSpreads, collectSamePath, nullptr, reinterpret_cast<std::intptr_t>(&record));
    char newPath[kPathSize];
    const auto result = siblingPath(record.path, record.name, newPath)
                            ? platform::renameNoReplace(record.path, newPath)
                            : platform::RenameResult::Failed;
    dprintf("renamePicture: %s -> %s: %d%s", record.path, record.name, static_cast<int>(result),
            platform::Traits::kLineEnd);
    if (result == platform::RenameResult::Renamed) {
        copyBounded(record.path, newPath);
    } else {
        beep();
    }
    // After a refused rename this reloads the old file, as the user expects
    // to see the picture as it is on disk.
    for (std::int32_t i = 0; i < record.boxes.getCount(); ++i) {
        XTLoadBox(*static_cast<const XTBoxID*>(record.boxes.getElem(i)), record.path);
    }
    redrawDoc(0);
    return 0;
}

}  // namespace lumbrel

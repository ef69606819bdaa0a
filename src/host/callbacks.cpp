#include "host/callbacks.h"

#include "drop/my_pasteboard.h"
#include "editing/double_click.h"
#include "editing/rename_picture.h"
#include "host/feature_entry_points.h"
#include "host/output_checks.h"
#include "host/scripting.h"
#include "host/xt_boxes.h"
#include "host/xt_documents.h"
#include "host/xt_pictures.h"
#include "labels/labels.h"
#include "platform/pasteboard.h"
#include "platform/platform_traits.h"
#include "settings/localised_strings.h"
#include "settings/preferences.h"
#include "settings/resources.h"
#include "util/bounded.h"
#include "util/files_paths.h"
#include "util/log.h"
#include "xtapi.h"

namespace lumbrel {

namespace {

constexpr unsigned char kRenameCharacter = 'r';
constexpr std::uint16_t kCopyNameModifiers = XT_MOD_CONTROL;
constexpr std::uint16_t kRenameModifiers = XT_MOD_COMMAND | XT_MOD_SHIFT;

void filterKeyDown(XTEventRec& event) {
    const auto character = static_cast<unsigned char>(event.message & 0xFFU);
    const auto modifiers = static_cast<std::uint16_t>(event.modifiers & ~XT_MOD_BUTTON);
    const char copyKey = getCopyPathKey();

    // An empty "CopyPath" gives key 0, which no key press carries.
    if (copyKey != 0 && character == static_cast<unsigned char>(copyKey) && modifiers == kCopyNameModifiers) {
        if (copyPictureNameToClipboard()) event.what = XT_EVT_NULL;
        return;
    }
    if (character == kRenameCharacter && modifiers == kRenameModifiers) {
        event.what = static_cast<std::uint16_t>(renamePicture());
    }
}

}  // namespace

bool copyPictureNameToClipboard() {
    const XTBoxID box = XTGetCurBox();
    if (!xt_ispictbox(box)) return false;
    char path[kPathSize];
    XTGetBoxPath(box, path, sizeof path);
    char name[kPathSize];
    getFileName(path, name, true);

    MyPasteboard clipboard(platform::kClipboardPasteboardName);
    clipboard.clear();
    clipboard.addString(name);
    return true;
}

std::int32_t docOpenCallback(void* record) {
    static_cast<void>(record);
    dprintf("doOpen%s", platform::Traits::kLineEnd);
    return 0;
}

std::int32_t docSaveCallback(void* record) {
    static_cast<void>(record);
    if (isalib(XTGetCurDocID())) return 0;
    dprintf("doSave...%s", platform::Traits::kLineEnd);
    checkImages();
    return 0;
}

std::int32_t unusedCallback(void* record) {
    static_cast<void>(record);
    return 0;
}

std::int32_t shutdownCallback(void* record) {
    static_cast<void>(record);
    // The POSIX build has no interface description to release. The scripting
    // handler and the string table go, as the module may be unloaded after
    // this while the platform and the host live on.
    removeUIDHandler();
    cleanupMyStrings();
    return 0;
}

std::int32_t languageCallback(void* record) {
    const auto* language = static_cast<const XTLanguageRec*>(record);
    if (language == nullptr) return 0;
    setupLanguages(language->regionCode);
    setupMyStrings();
    return 0;
}

std::int32_t switchInCallback(void* record) {
    static_cast<void>(record);
    if (getPrefs()->shallReload()) loadPrefs();
    return 0;
}

std::int32_t eventFilterCallback(void* record) {
    // The POSIX build has no resource files to make current around the
    // filter; the module's resources are read from its bundle folder.
    auto* event = static_cast<XTEventRec*>(record);
    if (event == nullptr) return 0;
    switch (event->what) {
        case XT_EVT_NULL: doDropIdle(); break;
        case XT_EVT_MOUSEDOWN:
            if (getEdit()) doMouseDown(event);
            break;
        case XT_EVT_KEYDOWN: filterKeyDown(*event); break;
        default: break;
    }
    return 0;
}

std::int32_t jobStartCallback(void* record) {
    return doJobStart(static_cast<const XTPrintJobRec*>(record));
}

std::int32_t jobEndCallback(void* record) {
    return doJobEnd(static_cast<const XTPrintJobRec*>(record));
}

std::int32_t drawBoxCallback(void* record) {
    return drawBox(static_cast<const XTDrawBoxRec*>(record));
}

}  // namespace lumbrel

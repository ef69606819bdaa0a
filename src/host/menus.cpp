#include "host/menus.h"

#include "host/host_form.h"
#include "host/message_box.h"
#include "host/output_checks.h"
#include "host/xt_boxes.h"
#include "host/xt_documents.h"
#include "host/xt_groups.h"
#include "imagelist/image_list.h"
#include "labels/labels.h"
#include "settings/localised_strings.h"
#include "settings/preferences.h"
#include "swap/swap.h"
#include "util/bounded.h"

namespace lumbrel {

namespace {

ModuleMenuItems gItems;

}  // namespace

XTError XTAddMenuItem(XTMenuRef menu, XTCommandID* command, const char* key) {
    const XTCommandID id = gXtMenu.newCommandID();
    if (command != nullptr) *command = id;
    char title[kShortTextSize];
    getString(key, title);
    return gXtMenu.appendItem(menu, id, title);
}

void XTEnableMenuItem(XTCommandID command, bool enabled) {
    gXtMenu.enableItem(command, enabled ? 1 : 0);
}

void XTCheckMenuItem(XTCommandID command, bool checked) {
    gXtMenu.checkItem(command, checked ? 1 : 0);
}

std::int32_t menuSetupCallback(void* record) {
    const auto* setup = static_cast<const XTMenuSetupRec*>(record);
    if (setup == nullptr) return 0;
    gItems.viewMenu = setup->viewMenu;
    gItems.itemsMenu = setup->itemsMenu;
    XTAddMenuItem(gItems.viewMenu, &gItems.showPath, "kShowPath");
    XTAddMenuItem(gItems.itemsMenu, &gItems.imageList, "kImageList");
    XTAddMenuItem(gItems.itemsMenu, &gItems.swap, "swap");
    gItems.added = true;
    return 0;
}

std::int32_t menuUpdateCallback(void* record) {
    static_cast<void>(record);
    if (!gItems.added) return 0;
    // Only an open document matters; the selection does not.
    const bool enabled = XTGetCurDocID() >= 0;
    XTEnableMenuItem(gItems.showPath, enabled);
    XTEnableMenuItem(gItems.imageList, enabled);
    XTEnableMenuItem(gItems.swap, enabled);
    return 0;
}

std::int32_t commandCallback(void* record) {
    const auto* command = static_cast<const XTCommandRec*>(record);
    if (command == nullptr) return 0;
    const XTCommandID id = command->command;

    if (gItems.added) {
        if (id == gItems.showPath) {
            doShowPath(gItems.viewMenu, id);
            redrawDoc(0);
        } else if (id == gItems.imageList) {
            createImageList();
        } else if (id == gItems.swap) {
            doSwap(XTGetCurBox());
        }
    }

    // The host's output command: the output goes on whatever is answered here.
    if (isOutputCheckCommand(kHostForm, id)) {
        if (getSaveWarning() && xtget_dirtyflag() == XT_DIRTY_CHANGED) msgBox("kSaveWarn");
        checkImages();
    }
    return 0;
}

const ModuleMenuItems& moduleMenuItems() noexcept {
    return gItems;
}

void resetModuleMenuItems() noexcept {
    gItems = ModuleMenuItems{};
}

}  // namespace lumbrel

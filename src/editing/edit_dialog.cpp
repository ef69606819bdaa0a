#include "editing/edit_dialog.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "editing/open_documents.h"
#include "host/key_state.h"
#include "host/xt_documents.h"
#include "host/xt_picture_update.h"
#include "host/xt_pictures.h"
#include "platform/platform_traits.h"
#include "settings/preferences.h"
#include "ui/app_chooser.h"
#include "ui/my_dialog.h"
#include "util/bounded.h"
#include "util/files_paths.h"
#include "util/my_str.h"

namespace lumbrel {

namespace {

constexpr std::int16_t kItemDone = 1;
constexpr std::int16_t kItemShow = 3;
constexpr std::int16_t kItemUpdate = 4;
constexpr std::int16_t kItemOpenWith = 5;
constexpr std::int16_t kItemChoose = 6;
constexpr std::int16_t kItemStatus = 7;
constexpr std::int16_t kItemPath = 8;
constexpr std::int16_t kItemEdit = 9;

// Item 1 of the pop-up is the default application; stored ones follow.
constexpr std::int16_t kFirstStoredItem = 2;

struct EditPictureContext {
    XTBoxID box = 0;
    char path[kPathSize] = {};
};

MenuRef openWithMenu(CMyDialog& dialog) { return getMenu(dialog.getControl(kItemOpenWith)); }

bool addIfNew(CMyDialog& dialog, const char* application) {
    if (getMenuItemPos(openWithMenu(dialog), application) != 0) return false;
    addMenuItemText(openWithMenu(dialog), application);
    return true;
}

bool offerStoredApplication(const char* /*key*/, const char* value, std::intptr_t user) {
    auto& dialog = *reinterpret_cast<CMyDialog*>(user);
    // Applications that were moved or deleted are no longer offered.
    if (fileExists(value)) addIfNew(dialog, value);
    return true;
}

void showStatus(CMyDialog& dialog, XTBoxID box) {
    char status[kShortTextSize] = {};
    XTGetPictureStatus(box, status, sizeof status);
    dialog.setText(kItemStatus, "%s", status);
}

void prepare(CMyDialog& dialog, const EditPictureContext& context) {
    // The file's name as the title where the system shows such titles; a
    // box without a file keeps "Edit".
    if (platform::Traits::kEditTitleIsFileName && context.path[0] != '\0') {
        FileRef file;
        copyBounded(file.path, context.path);
        dialog.setTitle(&file);
    }
    dialog.setText(kItemPath, "%s", context.path);
    showStatus(dialog, context.box);
    if (const CMySettings* settings = getPrefs()) {
        settings->enumSection(pref::kOpenWith, offerStoredApplication, reinterpret_cast<std::intptr_t>(&dialog));
    }
}

// The list as it stands in the pop-up, renumbered from App2 on; the store
// is written only when the pop-up has items at all.
void saveApplications(CMyDialog& dialog) {
    CMySettings* settings = getPrefs();
    MenuRef menu = openWithMenu(dialog);
    const std::int16_t count = getMenuItemCnt(menu);
    if (settings == nullptr || count < 1) return;
    settings->remove(pref::kOpenWith);
    for (std::int16_t item = kFirstStoredItem; item <= count; ++item) {
        char application[kPathSize] = {};
        if (!getMenuItemText(menu, item, application, sizeof application)) continue;
        char key[16];
        std::snprintf(key, sizeof key, "App%d", item);
        settings->set(pref::kOpenWith, key, application);
    }
    settings->save();
}

void chooseApplication(CMyDialog& dialog) {
    char application[kPathSize] = {};
    if (!doGetAppPath(application, "keyChooseApp")) return;
    if (addIfNew(dialog, application)) {
        dialog.setValue(kItemOpenWith, getMenuItemCnt(openWithMenu(dialog)));
        saveApplications(dialog);
    } else {
        dialog.setValue(kItemOpenWith, getMenuItemPos(openWithMenu(dialog), application));
    }
}

// A choice made with Shift held removes that application from the list.
void openWithChanged(CMyDialog& dialog) {
    const std::int16_t chosen = dialog.getValue(kItemOpenWith);
    if (chosen < kFirstStoredItem || !shiftKeyPressed()) return;
    MenuRef menu = openWithMenu(dialog);
    std::vector<std::string> kept;
    const std::int16_t count = getMenuItemCnt(menu);
    for (std::int16_t item = static_cast<std::int16_t>(chosen + 1); item <= count; ++item) {
        char application[kPathSize] = {};
        if (getMenuItemText(menu, item, application, sizeof application)) kept.emplace_back(application);
    }
    deleteMenuItems(menu, chosen);
    for (const std::string& application : kept) addMenuItemText(menu, application.c_str());
    dialog.setValue(kItemOpenWith, 1);
}

void editInApplication(CMyDialog& dialog, const char* path) {
    const std::int16_t chosen = dialog.getValue(kItemOpenWith);
    char application[kPathSize] = {};
    if (chosen < kFirstStoredItem || !getMenuItemText(openWithMenu(dialog), chosen, application, sizeof application)) {
        openDoc(kCreatorFinder, path);
    } else {
        openDoc(application, path);
    }
}

bool handleItem(CMyDialog* dialog, std::int16_t item, std::intptr_t user) {
    auto& context = *reinterpret_cast<EditPictureContext*>(user);
    switch (item) {
        case kItemWillShow: prepare(*dialog, context); return true;
        case kItemOpenWith: openWithChanged(*dialog); return true;
        case kItemChoose: chooseApplication(*dialog); return true;
        case kItemDone:
            saveApplications(*dialog);
            return false;
        default: break;
    }
    if (item != kItemEdit && item != kItemShow && item != kItemUpdate) return false;
    if (!checkImagePath(context.path)) return true;
    if (item == kItemEdit) {
        editInApplication(*dialog, context.path);
    } else if (item == kItemShow) {
        selectDoc(context.path);
    } else {
        XTUpdatePicture(context.box);
        showStatus(*dialog, context.box);
    }
    return true;
}

}  // namespace

void runEditDialog(XTBoxID box, const char* path) {
    EditPictureContext context;
    context.box = box;
    copyBounded(context.path, path != nullptr ? path : "");
    CMyDialog dialog(nullptr, "EDIT", kItemDone, 0, 0);
    dialog.doModal(handleItem, reinterpret_cast<std::intptr_t>(&context));
}

}  // namespace lumbrel

#include "imagelist/image_list_dialog.h"

#include "imagelist/list_file_name.h"
#include "platform/alerts.h"
#include "platform/platform_traits.h"
#include "settings/preferences.h"
#include "ui/my_dialog.h"
#include "util/bounded.h"

namespace lumbrel {

namespace {

constexpr std::int16_t kItemFullPath = 3;
constexpr std::int16_t kItemType = 4;
constexpr std::int16_t kItemSize = 5;
constexpr std::int16_t kItemOpenWith = 6;
constexpr std::int16_t kItemSort = 7;
constexpr std::int16_t kItemFileName = 8;
constexpr std::int16_t kItemEffectiveResolution = 9;

// Typed text longer than any acceptable name is still read whole enough to be refused.
constexpr long kTypedNameSize = 1024;

struct CheckBinding {
    std::int16_t item;
    const char* key;
    std::int16_t ImageListOptions::*field;
};
constexpr CheckBinding kChecks[] = {
    {kItemFullPath, kKeyFullPath, &ImageListOptions::fullPath},
    {kItemType, kKeyType, &ImageListOptions::type},
    {kItemSize, kKeyImgSize, &ImageListOptions::imgSize},
    {kItemSort, kKeySort, &ImageListOptions::sort},
    {kItemEffectiveResolution, kKeyEffectiveResolution, &ImageListOptions::effectiveResolution},
};

std::int16_t storedValue(const char* key, std::int16_t fallback) {
    CMySettings* settings = getPrefs();
    if (settings == nullptr) return fallback;
    return static_cast<std::int16_t>(settings->get(kImgListSection, key, fallback));
}

void prepare(CMyDialog& dialog, ImageListOptions& options) {
    dialog.setText(kItemFileName, "%s", options.fileName);
    for (const CheckBinding& check : kChecks) {
        dialog.setValue(check.item, storedValue(check.key, options.*check.field) == 1 ? 1 : 0);
    }
    // The applications a creator code names; the description holds the first.
    if (platform::Traits::kOpenByCreator) {
        dialog.addMenuItem(kItemOpenWith, "BBEdit");
        dialog.addMenuItem(kItemOpenWith, "Microsoft Excel");
    }
    const std::int16_t items = platform::Traits::kOpenByCreator ? kOpenWithItems : 1;
    std::int16_t openWith = storedValue(kKeyOpenWith, options.openWith);
    if (openWith < 1 || openWith > items) openWith = 1;
    dialog.setValue(kItemOpenWith, openWith);
    dialog.setFocus(kItemFileName);
    dialog.selectText(kItemFileName, 0, INT16_MAX);
}

// OK: true keeps the dialog open.
bool refuseOrAccept(CMyDialog& dialog, ImageListOptions& options) {
    char typed[kTypedNameSize];
    dialog.getText(kItemFileName, typed, sizeof typed);
    if (!isPlainListFileName(typed)) {
        platform::beep();
        dialog.setFocus(kItemFileName);
        return true;
    }
    copyBounded(options.fileName, typed);
    for (const CheckBinding& check : kChecks) options.*check.field = dialog.getValue(check.item);
    options.openWith = dialog.getValue(kItemOpenWith);
    if (CMySettings* settings = getPrefs()) {
        for (const CheckBinding& check : kChecks) settings->set(kImgListSection, check.key, options.*check.field);
        settings->set(kImgListSection, kKeyOpenWith, options.openWith);
        settings->save();
    }
    return false;
}

bool handleItem(CMyDialog* dialog, std::int16_t item, std::intptr_t user) {
    auto& options = *reinterpret_cast<ImageListOptions*>(user);
    if (item == kItemWillShow) {
        prepare(*dialog, options);
        return true;
    }
    if (item == kItemOK) return refuseOrAccept(*dialog, options);
    return false;
}

}  // namespace

bool runImageListDialog(ImageListOptions& options) {
    CMyDialog dialog(nullptr, "IMGLIST", kItemOK, kItemCancel, 0);
    const long result = dialog.doModal(handleItem, reinterpret_cast<std::intptr_t>(&options));
    return result == kItemOK;
}

}  // namespace lumbrel

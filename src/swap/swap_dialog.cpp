#include "swap/swap_dialog.h"

#include <algorithm>

#include "settings/preferences.h"
#include "ui/my_dialog.h"
#include "ui/settings_binding.h"
#include "util/bounded.h"

namespace lumbrel {

namespace {

constexpr std::int16_t kItemHiToLo = 3;
constexpr std::int16_t kItemLoToHi = 4;
constexpr std::int16_t kItemLoRes = 5;
constexpr std::int16_t kItemHiRes = 6;
constexpr std::int16_t kItemSameFolder = 7;
constexpr std::int16_t kItemLayoutsFolder = 8;
constexpr std::int16_t kItemSelectedOnly = 9;

ExtensionList runList(CMyDialog& dialog, std::int16_t item) {
    char text[kShortTextSize] = {};
    dialog.getText(item, text, sizeof text);
    std::replace(text, text + sizeof text, ',', ';');
    return parseExtensionList(text);
}

void start(CMyDialog& dialog, const SwapOptions& options) {
    loadDialogValues(dialog.window(), getPrefs(), kSwappingSection);
    dialog.setValue(kItemSelectedOnly, 0);
    dialog.enable(kItemSelectedOnly, options.hasCurrentBox);
    dialog.setFocus(kItemLoRes);
    dialog.selectText(kItemLoRes, 0, INT16_MAX);
}

void takeRun(CMyDialog& dialog, SwapOptions& options, std::int16_t item) {
    if (CMySettings* settings = getPrefs()) saveDialogValues(dialog.window(), settings, kSwappingSection);
    options.rules.loRes = runList(dialog, kItemLoRes);
    options.rules.hiRes = runList(dialog, kItemHiRes);
    options.rules.sameFolder = dialog.getValue(kItemSameFolder) == 1;
    options.rules.layoutsFolder = dialog.getValue(kItemLayoutsFolder) == 1;
    options.selectedOnly = dialog.getValue(kItemSelectedOnly) == 1;
    options.direction = item == kItemHiToLo ? SwapDirection::HiToLo : SwapDirection::LoToHi;
    dialog.endDialog(item);
}

bool handleItem(CMyDialog* dialog, std::int16_t item, std::intptr_t user) {
    auto& options = *reinterpret_cast<SwapOptions*>(user);
    switch (item) {
        case kItemWillShow:
            start(*dialog, options);
            return true;
        case kItemHiToLo:
        case kItemLoToHi:
            takeRun(*dialog, options, item);
            return true;
        default:
            return false;
    }
}

}  // namespace

void runSwapDialog(SwapOptions& options) {
    options.direction = SwapDirection::None;
    CMyDialog dialog(nullptr, "SWAP", 0, kItemCancel, 0);
    dialog.doModal(handleItem, reinterpret_cast<std::intptr_t>(&options));
}

}  // namespace lumbrel

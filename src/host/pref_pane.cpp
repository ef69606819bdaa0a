#include "host/pref_pane.h"

#include "host/xt_controls.h"
#include "host/xt_groups.h"
#include "platform/platform_traits.h"
#include "settings/preferences.h"
#include "settings/resources.h"

namespace lumbrel {

namespace {

std::int16_t gDialogID = 0;

constexpr std::int32_t kHostControlSetup = 2;  // the host's own set-up of each control
constexpr std::int32_t kStandardButton = 1;
constexpr bool kFolderOptions = platform::Traits::kPaneHasFolderOptions;

// The pane without the folder options (the Windows form) has neither the two
// check boxes nor the host's set-up of its OK and Cancel: the host's set-up
// starts at its first check box there.
bool hostSetsUp(std::int16_t item) noexcept {
    if (kFolderOptions) return true;
    return item != pane::kOK && item != pane::kCancel && item != pane::kShowPDFOptions && item != pane::kSubfolders;
}

void fillControls() {
    const PrefSwitches switches = currentPrefSwitches();
    xd_btn_setvalue(pane::kDragAndDrop, switches.dragAndDrop ? 1 : 0);
    xd_btn_setvalue(pane::kEdit, switches.edit ? 1 : 0);
    xd_btn_setvalue(pane::kRGBWarning, switches.rgbWarning ? 1 : 0);
    xd_btn_setvalue(pane::kEPSWarning, switches.iccWarning ? 1 : 0);
    xd_btn_setvalue(pane::kJPGWarning, switches.jpgWarning ? 1 : 0);
    xd_btn_setvalue(pane::kLogging, switches.logLevel);
    if (kFolderOptions) {
        xd_btn_setvalue(pane::kShowPDFOptions, switches.showPDFOptions);
        xd_btn_setvalue(pane::kSubfolders, switches.searchSubfolders);
    }
    xd_btn_setvalue(pane::kWarnEffectivePpi, switches.warnEffectivePpi ? 1 : 0);
    xd_btn_setvalue(pane::kMinEffectivePpi, switches.minEffectivePpi);
    xd_btn_setvalue(pane::kCheckSummary, switches.checkSummary ? 1 : 0);
    xd_btn_setvalue(pane::kSyncReport, switches.syncReport ? 1 : 0);
    xd_btn_setvalue(pane::kStatusColours, switches.statusColours ? 1 : 0);
}

std::int16_t toLogLevel(std::int32_t value) noexcept {
    if (value > INT16_MAX) return INT16_MAX;
    if (value < INT16_MIN) return INT16_MIN;
    return static_cast<std::int16_t>(value);
}

void applyControls() {
    PrefSwitches switches;
    switches.dragAndDrop = xd_btn_getvalue(pane::kDragAndDrop) == 1;
    switches.edit = xd_btn_getvalue(pane::kEdit) == 1;
    switches.rgbWarning = xd_btn_getvalue(pane::kRGBWarning) == 1;
    switches.iccWarning = xd_btn_getvalue(pane::kEPSWarning) == 1;
    switches.jpgWarning = xd_btn_getvalue(pane::kJPGWarning) == 1;
    switches.logLevel = toLogLevel(xd_btn_getvalue(pane::kLogging));
    switches.checkSummary = xd_btn_getvalue(pane::kCheckSummary) == 1;
    switches.syncReport = xd_btn_getvalue(pane::kSyncReport) == 1;
    // Only the pane that shows the two folder options writes them; the
    // other leaves the settings file's values as they are.
    switches.hasFolderOptions = kFolderOptions;
    if (kFolderOptions) {
        switches.showPDFOptions = xd_btn_getvalue(pane::kShowPDFOptions);
        switches.searchSubfolders = xd_btn_getvalue(pane::kSubfolders);
    }
    switches.warnEffectivePpi = xd_btn_getvalue(pane::kWarnEffectivePpi) == 1;
    switches.minEffectivePpi = xd_btn_getvalue(pane::kMinEffectivePpi);
    switches.statusColours = xd_btn_getvalue(pane::kStatusColours) == 1;
    applyPrefSwitches(switches);
}

std::int32_t paneInsertCallback(void* record) {
    const auto* insert = static_cast<const XTPaneInsertRec*>(record);
    if (insert == nullptr || !hostGroupsBound()) return 0;
    gXtWap.insertPane(insert->tabControl, gDialogID);
    gXtWap.registerPane(gDialogID, prefPaneHandler);
    return 0;
}

}  // namespace

void allocPrefDlgWAP() {
    if (!hostGroupsBound()) return;
    gDialogID = gXtWap.allocDialogID();
}

std::int16_t prefDialogID() noexcept {
    return gDialogID;
}

bool registerPrefDlgWAP() {
    return registerHostCallback(XT_CB_PREFPANE_INSERT, paneInsertCallback, kRegisterKind, XT_REGISTRATION_VALUE, 0);
}

std::int32_t prefPaneHandler(XTWapMessage* message) {
    if (message == nullptr) return 0;
    switch (message->kind) {
        case XT_WAP_RESOURCE_ID:
            message->value = getLangID(pane::kResourceID);
            message->handled = 1;
            break;
        case XT_WAP_CONTROL_SETUP:
            if (message->mode == 1) {
                for (const std::int16_t item : pane::kValueItems) {
                    if (hostSetsUp(item)) gXtButton.setup(item, kHostControlSetup);
                }
            }
            message->handled = 1;
            break;
        case XT_WAP_OPEN:
            fillControls();
            if (message->mode == 1 && gXtWap.setupStandardButton != nullptr) {
                gXtWap.setupStandardButton(pane::kOK, kStandardButton);
                gXtWap.setupStandardButton(pane::kCancel, kStandardButton);
            }
            message->handled = 1;
            break;
        case XT_WAP_ITEM_HIT:
            // Check boxes are left to the host, which toggles them.
            if (message->item == pane::kOK) {
                applyControls();
                message->value = 1;
                message->endDialog = 1;
                message->handled = 1;
            } else if (message->item == pane::kCancel) {
                message->value = 0;
                message->endDialog = 1;
                message->handled = 1;
            }
            break;
        case XT_WAP_APPLY:
            applyControls();
            message->handled = 1;
            break;
        default:
            message->handled = 0;
            break;
    }
    return 0;
}

}  // namespace lumbrel

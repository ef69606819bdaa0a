#include "host/startup.h"

#include "host/callbacks.h"
#include "host/drop_registration.h"
#include "host/menus.h"
#include "host/module_path.h"
#include "host/pref_pane.h"
#include "host/scripting.h"
#include "host/xt_groups.h"
#include "labels/label_state.h"
#include "platform/platform_traits.h"
#include "settings/preferences.h"
#include "ui/own_window_classes.h"
#include "util/log.h"

namespace lumbrel {

namespace {

constexpr std::uint32_t kAcceptedAnswer = 1;

// Every callback goes with (kind, 200, 0) except the event filter, which the
// host is told to call with 10 as its second number.
const CallbackRegistration kCallbacks[kCallbackCount] = {
    {XT_CB_MENUSETUP, menuSetupCallback, kRegisterKind, XT_REGISTRATION_VALUE, 0},
    {XT_CB_MENUUPDATE, menuUpdateCallback, kRegisterKind, XT_REGISTRATION_VALUE, 0},
    {XT_CB_COMMAND, commandCallback, kRegisterKind, XT_REGISTRATION_VALUE, 0},
    {XT_CB_IDLE_UNUSED, unusedCallback, kRegisterKind, XT_REGISTRATION_VALUE, 0},
    {XT_CB_DOCOPEN, docOpenCallback, kRegisterKind, XT_REGISTRATION_VALUE, 0},
    {XT_CB_DOCSAVE, docSaveCallback, kRegisterKind, XT_REGISTRATION_VALUE, 0},
    {XT_CB_PRINTJOB_START, jobStartCallback, kRegisterKind, XT_REGISTRATION_VALUE, 0},
    {XT_CB_PRINTJOB_END, jobEndCallback, kRegisterKind, XT_REGISTRATION_VALUE, 0},
    {XT_CB_DRAWBOX, drawBoxCallback, kRegisterKind, XT_REGISTRATION_VALUE, 0},
    {XT_CB_SHUTDOWN, shutdownCallback, kRegisterKind, XT_REGISTRATION_VALUE, 0},
    {XT_CB_EVENT, eventFilterCallback, kRegisterKind, XT_EVENT_REGISTRATION, 0},
    {XT_CB_LANGUAGE, languageCallback, kRegisterKind, XT_REGISTRATION_VALUE, 0},
    {XT_CB_SWITCHIN, switchInCallback, kRegisterKind, XT_REGISTRATION_VALUE, 0},
};

}  // namespace

std::span<const CallbackRegistration, kCallbackCount> callbackTable() noexcept {
    return kCallbacks;
}

std::int32_t activateModule(XTActivationRec* record, const HostForm& form) {
    if (record == nullptr || record->compatibility == nullptr) return XT_REFUSE;
    const std::uint32_t answer = record->compatibility(XT_MODULE_CODE, 0, form.compatApi, form.compatHostVersion, 0);
    if ((answer & 0xFFU) != kAcceptedAnswer) return XT_REFUSE;

    gXtRefNum = record->xtRefNum;
    if (record->setRegistrationValue != nullptr) record->setRegistrationValue(XT_REGISTRATION_VALUE);
    if (record->registerStartup != nullptr)
        record->registerStartup(startupCallback, form.registerKind, XT_REGISTRATION_VALUE, 0);
    if (record->registerPaneAlloc != nullptr)
        record->registerPaneAlloc(paneAllocCallback, form.registerKind, XT_REGISTRATION_VALUE, 0);
    return XT_NOERR;
}

std::int32_t paneAllocCallback(void* record) {
    static_cast<void>(record);
    allocPrefDlgWAP();
    return 0;
}

std::int32_t startupCallback(void* record) {
    const auto* callbacks = static_cast<const XTCallbackRec*>(record);
    if (bindHostGroups(callbacks) != XT_NOERR) return XT_REFUSE;

    setupXTPath(kBundleIdentifier);
    gXPressVersion = gXtSystem.hostVersion();
    loadPrefs();  // also switches the log on or off
    setupDrawLabel();
    setupUIDHandler();

    dprintf("%s####\tLumbrel %s: ", platform::Traits::kLineEnd, platform::Traits::kVersion);
    dumpTime("");

    setupDialogs();  // the dialog descriptions themselves are read when a dialog is made

    detectOptionalModules();
    for (const CallbackRegistration& row : kCallbacks) registerHostCallback(row.code, row.proc, row.a, row.b, row.c);
    registerDropCallbacks();
    registerPrefDlgWAP();
    return XT_NOERR;
}

}  // namespace lumbrel

// The fake module: see fake_module.h.
#include "fake_module.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

FakeTables gTables{};
std::vector<FakeHook> gHooks;         // by code + kHookBias
std::vector<std::int32_t> gCalls;
constexpr std::int32_t kHookBias = 8;
constexpr std::int32_t kMaxCode = 2048;

FakeHook hookFor(std::int32_t code) {
    const std::int32_t index = code + kHookBias;
    if (index < 0 || static_cast<std::size_t>(index) >= gHooks.size()) return nullptr;
    return gHooks[static_cast<std::size_t>(index)];
}

std::int32_t runHook(std::int32_t code, void* record) {
    FakeHook hook = hookFor(code);
    return hook != nullptr ? hook(record) : 0;
}

template <typename Table>
bool bind(const XTSetupRec* setup, const char* name, Table& table) {
    table.size = sizeof(Table);
    return gTables.callbacks->bindGroup(setup, name, &table, sizeof(Table)) == 0;
}

template <typename Table>
bool acquire(OSType id, const Table*& out) {
    const void* table = nullptr;
    if (gTables.callbacks->acquireGroup(id, &table) != 0) return false;
    out = static_cast<const Table*>(table);
    return true;
}

template <typename Table>
void lookup(OSType module, const Table*& out) {
    std::int32_t code = 0;
    OSType group = 0;
    if (gTables.callbacks->lookupModule(module, &code, &group) == 0) acquire(group, out);
}

std::int32_t paneHandler(XTWapMessage* message) {
    if (message->kind == XT_WAP_RESOURCE_ID) {
        message->value = 142;
        message->handled = 1;
    }
    if (message->kind == XT_WAP_ITEM_HIT && (message->item == 1 || message->item == 2)) {
        message->value = message->item == 1 ? 1 : 0;
        message->endDialog = 1;
        message->handled = 1;
    }
    return runHook(FAKE_HOOK_PANE, message);
}

std::int32_t dragEntered(const XTDragInfo* info) {
    FakeHook hook = hookFor(FAKE_HOOK_DRAG_ENTERED);
    return hook != nullptr ? hook(const_cast<XTDragInfo*>(info)) : 1;
}
std::int32_t dragWithin(const XTDragInfo*) { return 1; }
std::int32_t dragLeft(const XTDragInfo*) { return 0; }
std::int32_t dragDrop(const XTDragInfo* info) {
    FakeHook hook = hookFor(FAKE_HOOK_DROP);
    return hook != nullptr ? hook(const_cast<XTDragInfo*>(info)) : 1;
}

// The module's own part of each callback.
void ownHandling(std::int32_t code, void* record) {
    switch (code) {
        case XT_CB_MENUSETUP: {
            const auto* menus = static_cast<const XTMenuSetupRec*>(record);
            gTables.viewMenu = menus->viewMenu;
            gTables.itemsMenu = menus->itemsMenu;
            gTables.viewItem = gTables.menu.newCommandID();
            gTables.menu.appendItem(menus->viewMenu, gTables.viewItem, "Fake View Item");
            gTables.utilitiesItem = gTables.menu.newCommandID();
            gTables.menu.appendItem(menus->itemsMenu, gTables.utilitiesItem, "Fake Tool\xE2\x80\xA6");
            break;
        }
        case XT_CB_MENUUPDATE: {
            const std::uint8_t on = gTables.doc.curDocID() >= 0 ? 1 : 0;
            gTables.menu.enableItem(gTables.viewItem, on);
            gTables.menu.enableItem(gTables.utilitiesItem, on);
            break;
        }
        case XT_CB_DRAGVIEW: {
            const auto* view = static_cast<const XTDragViewRec*>(record);
            if (view->viewKind == XT_VIEW_LAYOUT) {
                static const XTDragHandlers handlers{dragEntered, dragWithin, dragLeft, dragDrop};
                gTables.drag.registerDragHandlers(XT_VIEW_LAYOUT, &handlers);
            }
            break;
        }
        case XT_CB_PREFPANE_INSERT: {
            const auto* insert = static_cast<const XTPaneInsertRec*>(record);
            gTables.wap.insertPane(insert->tabControl, gTables.dialogID);
            gTables.wap.registerPane(gTables.dialogID, paneHandler);
            break;
        }
        default: break;
    }
}

template <std::int32_t Code>
std::int32_t callback(void* record) {
    gCalls.push_back(Code);
    ownHandling(Code, record);
    return runHook(Code, record);
}

std::int32_t paneAlloc(void*) {
    gTables.dialogID = gTables.wap.allocDialogID();
    return 0;
}

std::int32_t startup(void* record) {
    gTables.callbacks = static_cast<const XTCallbackRec*>(record);
    if (const std::int32_t early = runHook(FAKE_HOOK_BEFORE_BIND, record)) return early;
    XTSetupRec setup{};
    gTables.callbacks->initSetup(&setup, XT_API_VERSION, XT_API_BUILD, XT_API_HOSTVERSION);
    const bool bound = bind(&setup, "xtdoc", gTables.doc) && bind(&setup, "xtdocdisplay", gTables.display) &&
                       bind(&setup, "xtwindow", gTables.window) && bind(&setup, "xtbox", gTables.box) &&
                       bind(&setup, "xtgroup", gTables.group) && bind(&setup, "xtfixedrect", gTables.fixedRect) &&
                       bind(&setup, "xtxtbox", gTables.boxRecord) && bind(&setup, "xtpicture", gTables.picture) &&
                       bind(&setup, "xtxio", gTables.import) && bind(&setup, "xtpage", gTables.page) &&
                       bind(&setup, "xtspread", gTables.spread) && bind(&setup, "xtmaster", gTables.master) &&
                       bind(&setup, "xtmenu", gTables.menu) && bind(&setup, "xtprint", gTables.print) &&
                       bind(&setup, "xtutility", gTables.utility) && bind(&setup, "xterror", gTables.error) &&
                       bind(&setup, "xtmemory", gTables.memory) && bind(&setup, "xtsystem", gTables.system) &&
                       bind(&setup, "xtproject", gTables.project) && bind(&setup, "xtslug", gTables.slug) &&
                       bind(&setup, "xtfont", gTables.font) && bind(&setup, "xtdraw", gTables.draw) &&
                       bind(&setup, "xtwap", gTables.wap) && bind(&setup, "xtxdctlbtn", gTables.button) &&
                       bind(&setup, "xtxqd", gTables.drag) && bind(&setup, "xtfile", gTables.file) &&
                       acquire(XT_GROUP_STRING, gTables.strings);
    if (!bound) return XT_REFUSE;
    lookup(XT_MODULE_PDF, gTables.pdf);
    lookup(XT_MODULE_LAYERS, gTables.layers);
    acquire(XT_GROUP_DATAEXCHANGE, gTables.dataExchange);
    const std::int32_t hooked = runHook(FAKE_HOOK_STARTUP, record);
    if (hooked != 0) return hooked;

    const XTCallbackRec& cb = *gTables.callbacks;
    const std::int32_t r = XT_REGISTER_MAC, v = XT_REGISTRATION_VALUE;
    cb.registerCallback(XT_CB_MENUSETUP, callback<XT_CB_MENUSETUP>, r, v, 0);
    cb.registerCallback(XT_CB_MENUUPDATE, callback<XT_CB_MENUUPDATE>, r, v, 0);
    cb.registerCallback(XT_CB_COMMAND, callback<XT_CB_COMMAND>, r, v, 0);
    cb.registerCallback(XT_CB_DOCOPEN, callback<XT_CB_DOCOPEN>, r, v, 0);
    cb.registerCallback(XT_CB_DOCSAVE, callback<XT_CB_DOCSAVE>, r, v, 0);
    cb.registerCallback(XT_CB_PRINTJOB_START, callback<XT_CB_PRINTJOB_START>, r, v, 0);
    cb.registerCallback(XT_CB_PRINTJOB_END, callback<XT_CB_PRINTJOB_END>, r, v, 0);
    cb.registerCallback(XT_CB_DRAWBOX, callback<XT_CB_DRAWBOX>, r, v, 0);
    cb.registerCallback(XT_CB_SHUTDOWN, callback<XT_CB_SHUTDOWN>, r, v, 0);
    cb.registerCallback(XT_CB_EVENT, callback<XT_CB_EVENT>, r, XT_EVENT_REGISTRATION, 0);
    cb.registerCallback(XT_CB_LANGUAGE, callback<XT_CB_LANGUAGE>, r, v, 0);
    cb.registerCallback(XT_CB_SWITCHIN, callback<XT_CB_SWITCHIN>, r, v, 0);
    cb.registerCallback(XT_CB_DRAGVIEW, callback<XT_CB_DRAGVIEW>, r, v, 0);
    cb.registerCallback(XT_CB_PREFPANE_INSERT, callback<XT_CB_PREFPANE_INSERT>, r, v, 0);
    return 0;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) std::int32_t XTActivateCallback(XTActivationRec* record) {
    const std::uint32_t answer = record->compatibility(XT_MODULE_CODE, 0, XT_COMPAT_API, XT_COMPAT_HOSTVERSION, 0);
    if ((answer & 0xFFU) != 1) return XT_REFUSE;
    record->setRegistrationValue(XT_REGISTRATION_VALUE);
    record->registerStartup(startup, XT_REGISTER_MAC, XT_REGISTRATION_VALUE, 0);
    record->registerPaneAlloc(paneAlloc, XT_REGISTER_MAC, XT_REGISTRATION_VALUE, 0);
    return runHook(FAKE_HOOK_ACTIVATION, record);
}

__attribute__((visibility("default"))) void fake_reset(void) {
    gTables = FakeTables{};
    gHooks.assign(static_cast<std::size_t>(kMaxCode + kHookBias), nullptr);
    gCalls.clear();
}

__attribute__((visibility("default"))) void fake_set_hook(std::int32_t code, FakeHook hook) {
    if (gHooks.empty()) gHooks.assign(static_cast<std::size_t>(kMaxCode + kHookBias), nullptr);
    const std::int32_t index = code + kHookBias;
    if (index >= 0 && static_cast<std::size_t>(index) < gHooks.size()) gHooks[static_cast<std::size_t>(index)] = hook;
}

__attribute__((visibility("default"))) FakeTables* fake_tables(void) { return &gTables; }

__attribute__((visibility("default"))) std::int32_t fake_calls(std::int32_t* codes, std::int32_t capacity) {
    const auto count = static_cast<std::int32_t>(gCalls.size());
    for (std::int32_t i = 0; i < count && i < capacity; ++i) codes[i] = gCalls[static_cast<std::size_t>(i)];
    return count;
}

}  // extern "C"

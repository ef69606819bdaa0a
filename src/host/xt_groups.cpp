#include "host/xt_groups.h"

#include <array>
#include <cstddef>
#include <cstring>

#include "util/my_str.h"

namespace lumbrel {

XTDocGroup gXtDoc{};
XTDocDisplayGroup gXtDocDisplay{};
XTWindowGroup gXtWindow{};
XTBoxGroup gXtBox{};
XTGroupGroup gXtGroup{};
XTFixedRectGroup gXtFixedRect{};
XTBoxRecordGroup gXtBoxRecord{};
XTPictureGroup gXtPicture{};
XTImportGroup gXtImport{};
XTPageGroup gXtPage{};
XTSpreadGroup gXtSpread{};
XTMasterGroup gXtMaster{};
XTMenuGroup gXtMenu{};
XTPrintGroup gXtPrint{};
XTUtilityGroup gXtUtility{};
XTErrorGroup gXtError{};
XTMemoryGroup gXtMemory{};
XTSystemGroup gXtSystem{};
XTProjectGroup gXtProject{};
XTSlugGroup gXtSlug{};
XTFontGroup gXtFont{};
XTDrawGroup gXtDraw{};
XTWapGroup gXtWap{};
XTButtonGroup gXtButton{};
XTDragGroup gXtDrag{};
XTFileGroup gXtFile{};

const XTStringGroup* gXtString = nullptr;
const XTStringInterface* gXtStringInterface = nullptr;
const XTDataExchangeGroup* gXtDataExchange = nullptr;
const XTPDFGroup* gXtPDF = nullptr;
const XTLayerGroup* gXtLayers = nullptr;

std::uint8_t gPDFActive = 0;
std::uint8_t gLayersActive = 0;
std::uint8_t gDataExchangeActive = 0;

const XTCallbackRec* gXtCallbacks = nullptr;
std::int16_t gXtRefNum = 0;
std::uint32_t gXPressVersion = 0;

namespace {

bool gBound = false;

struct NamedGroup {
    const char* name;
    void* table;
    std::size_t size;
};

template <typename Table>
NamedGroup named(const char* name, Table& table) noexcept {
    return NamedGroup{name, &table, sizeof(Table)};
}

// The binding order is part of the contract with the host: the first group
// it refuses ends start-up, so a host missing several groups always names
// the same one.
std::array<NamedGroup, 26> namedGroups() noexcept {
    return {
        named("xtdoc", gXtDoc),           named("xtdocdisplay", gXtDocDisplay), named("xtwindow", gXtWindow),
        named("xtbox", gXtBox),           named("xtgroup", gXtGroup),           named("xtfixedrect", gXtFixedRect),
        named("xtxtbox", gXtBoxRecord),   named("xtpicture", gXtPicture),       named("xtxio", gXtImport),
        named("xtpage", gXtPage),         named("xtspread", gXtSpread),         named("xtmaster", gXtMaster),
        named("xtmenu", gXtMenu),         named("xtprint", gXtPrint),           named("xtutility", gXtUtility),
        named("xterror", gXtError),       named("xtmemory", gXtMemory),         named("xtsystem", gXtSystem),
        named("xtproject", gXtProject),   named("xtslug", gXtSlug),             named("xtfont", gXtFont),
        named("xtdraw", gXtDraw),         named("xtwap", gXtWap),               named("xtxdctlbtn", gXtButton),
        named("xtxqd", gXtDrag),          named("xtfile", gXtFile),
    };
}

// Every table starts with its size in bytes, which the host reads to know
// how many functions the module expects.
void setTableSize(void* table, std::size_t size) noexcept {
    *static_cast<std::uint32_t*>(table) = static_cast<std::uint32_t>(size);
}

// The host's string functions, handed to MyStr so that it can make host strings.
HostStringFunctions gStringFunctions{};

template <typename Group>
bool acquire(OSType id, const Group*& out) {
    const void* table = nullptr;
    if (gXtCallbacks == nullptr || gXtCallbacks->acquireGroup == nullptr) return false;
    if (gXtCallbacks->acquireGroup(id, &table) != 0 || table == nullptr) return false;
    out = static_cast<const Group*>(table);
    return true;
}

// An optional module: its callback code and group id, then the group itself.
template <typename Group>
bool acquireModule(OSType moduleCode, const Group*& out) {
    if (gXtCallbacks == nullptr || gXtCallbacks->lookupModule == nullptr) return false;
    std::int32_t callbackCode = 0;
    OSType groupID = 0;
    if (gXtCallbacks->lookupModule(moduleCode, &callbackCode, &groupID) != 0) return false;
    return acquire(groupID, out);
}

constexpr InterfaceRequest kInterfaceRequests[] = {
    {XT_IFACE_UNICODE, 0},  {XT_IFACE_UNICODE, 1},  {XT_IFACE_UNICODE, 2},  {XT_IFACE_UNICODE, 3},
    {XT_IFACE_DRAWING, 0},  {XT_IFACE_DRAWING, 1},  {XT_IFACE_DRAWING, 2},  {XT_IFACE_DRAWING, 3},
    {XT_IFACE_DRAWING, 4},  {XT_IFACE_DRAWING, 5},  {XT_IFACE_DRAWING, 6},  {XT_IFACE_DRAWING, 7},
    {XT_IFACE_DRAWING, 8},  {XT_IFACE_DRAWING, 9},  {XT_IFACE_DRAWING, 10}, {XT_IFACE_DRAWING, 11},
    {XT_IFACE_STRINGS, 0},  {XT_IFACE_STRINGS, 2},  {XT_IFACE_STRINGS, 1},  {XT_IFACE_OPENTYPE, 0},
};

// A host older than interface tables hands a shorter record, or leaves the
// service null: either way it cannot give them.
bool offersInterfaces(const XTCallbackRec& callbacks) noexcept {
    constexpr std::size_t kEnd = offsetof(XTCallbackRec, acquireInterface) + sizeof(callbacks.acquireInterface);
    return callbacks.size >= 0 && static_cast<std::size_t>(callbacks.size) >= kEnd &&
           callbacks.acquireInterface != nullptr;
}

// The table the host answered, when it is the one asked for and at least as
// large as the module reads it.
const XTInterfaceHeader* acquireInterface(const XTCallbackRec& callbacks, const InterfaceRequest& request,
                                          std::size_t sizeRead) {
    const void* table = nullptr;
    if (callbacks.acquireInterface(request.id, request.version, &table) != 0 || table == nullptr) return nullptr;
    const auto* header = static_cast<const XTInterfaceHeader*>(table);
    if (header->size < sizeRead || header->id != request.id || header->version != request.version) return nullptr;
    return header;
}

bool acquireHostInterfaces(const XTCallbackRec& callbacks) {
    if (!offersInterfaces(callbacks)) return false;
    for (const InterfaceRequest& request : kInterfaceRequests) {
        const bool strings = request.id == XT_IFACE_STRINGS && request.version == XT_IFACE_STRINGS_PLAIN;
        const XTInterfaceHeader* header =
            acquireInterface(callbacks, request, strings ? sizeof(XTStringInterface) : sizeof(XTInterfaceHeader));
        if (header == nullptr) return false;
        if (strings) gXtStringInterface = reinterpret_cast<const XTStringInterface*>(header);
    }
    return true;
}

// The host's string services, from whichever table the form has them in.
template <typename Table>
void useStringFunctions(const Table& table) {
    gStringFunctions.create = table.create;
    gStringFunctions.length = table.length;
    gStringFunctions.copyUnits = table.copyUnits;
    gStringFunctions.destroy = table.dispose;
    setHostStringFunctions(&gStringFunctions);
}

// A table answered by version is checked before anything of it is called.
bool complete(const XTStringInterface& table) noexcept {
    return table.create != nullptr && table.length != nullptr && table.copyUnits != nullptr && table.dispose != nullptr;
}

}  // namespace

std::int32_t bindHostGroups(const XTCallbackRec* callbacks, const HostForm& form) {
    gXtCallbacks = callbacks;
    gBound = false;
    if (callbacks == nullptr || callbacks->bindGroup == nullptr || callbacks->initSetup == nullptr) return XT_REFUSE;

    XTSetupRec setup{};
    callbacks->initSetup(&setup, form.setupApi, form.setupBuild, form.setupHostVersion);

    for (const NamedGroup& group : namedGroups()) {
        setTableSize(group.table, group.size);
        if (callbacks->bindGroup(&setup, group.name, group.table, group.size) != 0) return XT_REFUSE;
    }

    if (form.interfaceTables) {
        if (!acquireHostInterfaces(*callbacks) || !complete(*gXtStringInterface)) return XT_REFUSE;
        useStringFunctions(*gXtStringInterface);
    } else {
        if (!acquire(XT_GROUP_STRING, gXtString)) return XT_REFUSE;
        useStringFunctions(*gXtString);
    }

    gBound = true;
    return XT_NOERR;
}

std::span<const InterfaceRequest> hostInterfaceRequests() noexcept {
    return kInterfaceRequests;
}

bool hostGroupsBound() noexcept {
    return gBound;
}

void detectOptionalModules() {
    if (acquireModule(XT_MODULE_PDF, gXtPDF)) gPDFActive = 1;
    if (acquireModule(XT_MODULE_LAYERS, gXtLayers)) gLayersActive = 1;
    if (acquire(XT_GROUP_DATAEXCHANGE, gXtDataExchange)) gDataExchangeActive = 1;
}

bool registerHostCallback(std::int32_t code, XTCallbackProc proc, std::int32_t a, std::int32_t b, std::int32_t c) {
    if (gXtCallbacks == nullptr || gXtCallbacks->registerCallback == nullptr) return false;
    return gXtCallbacks->registerCallback(code, proc, a, b, c) == 0;
}

void resetHostGroups() noexcept {
    for (const NamedGroup& group : namedGroups()) std::memset(group.table, 0, group.size);
    gXtString = nullptr;
    gXtStringInterface = nullptr;
    gXtDataExchange = nullptr;
    gXtPDF = nullptr;
    gXtLayers = nullptr;
    gPDFActive = 0;
    gLayersActive = 0;
    gDataExchangeActive = 0;
    gXtCallbacks = nullptr;
    gXtRefNum = 0;
    gXPressVersion = 0;
    gBound = false;
    setHostStringFunctions(nullptr);
}

}  // namespace lumbrel

// Loading and activating the module: the activation record's services, the
// callback record's services (group binding, optional modules, callback
// registration), the end of the host's launch, and quitting.
#include "hostsim/host/groups/groups.h"
#include "hostsim/host/interface_form.h"
#include "hostsim/host/runtime.h"

#include "desktop/script_events.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace hostsim {

namespace {

std::string hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

std::string answerText(std::int32_t answer) {
    if (answer == XT_REFUSE) return hex(static_cast<std::uint32_t>(answer)) + " (refused)";
    return std::to_string(answer);
}

Runtime* activeIn(const char* group, const char* field, std::initializer_list<Phase> phases) {
    Runtime* rt = Runtime::active();
    if (rt == nullptr) return nullptr;
    for (Phase p : phases) {
        if (rt->phase == p) return rt;
    }
    rt->violation(group, field,
                  rt->phase == Phase::ShutDown ? "called after shutdown" : "called at a time the host does not allow");
    return nullptr;
}

void record(Runtime& rt, Registration::Kind kind, std::int32_t code, XTCallbackProc proc, std::int32_t a,
            std::int32_t b, std::int32_t c) {
    rt.registrations.push_back(Registration{kind, code, proc, a, b, c});
}

// Every registration states this host's kind, the registration value (the
// event callback: its own value) and 0.
void checkNumbers(Runtime& rt, const char* group, const char* field, const std::string& what, std::int32_t code,
                  std::int32_t a, std::int32_t b, std::int32_t c) {
    const std::int32_t value = code == XT_CB_EVENT ? XT_EVENT_REGISTRATION : XT_REGISTRATION_VALUE;
    if (a == kHostInterface.registerKind && b == value && c == 0) return;
    auto triple = [](std::int32_t x, std::int32_t y, std::int32_t z) {
        return "(" + std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(z) + ")";
    };
    rt.violation(group, field,
                 "registered " + what + " with " + triple(a, b, c) + "; this host expects " +
                     triple(kHostInterface.registerKind, value, 0));
}

// ---- the activation record ---------------------------------------------------------------------

std::uint32_t compatibility(OSType moduleCode, std::int32_t reserved1, std::int32_t apiVersion,
                            std::uint32_t hostVersion, std::int32_t reserved2) {
    Runtime* rt = activeIn("activation", "compatibility", {Phase::Activating});
    if (rt == nullptr) return 0;
    // A module that states another form of the interface is not compatible,
    // whatever the session set as the answer.
    const bool ourForm = apiVersion == kHostInterface.compatApi && hostVersion == kHostInterface.compatHostVersion;
    const std::uint32_t answer = ourForm ? rt->options.compatibilityAnswer : 0;
    if (!ourForm) {
        rt->violation("activation", "compatibility",
                      "asked with API " + std::to_string(apiVersion) + " and host version " + hex(hostVersion) +
                          "; this host speaks " + std::to_string(kHostInterface.compatApi) + " and " +
                          hex(kHostInterface.compatHostVersion));
    }
    rt->note("compatibility " + fourCCLabel(moduleCode) + " " + std::to_string(reserved1) + " " +
             std::to_string(apiVersion) + " " + hex(hostVersion) + " " + std::to_string(reserved2) + " -> " +
             std::to_string(answer));
    return answer;
}

void setRegistrationValue(std::int32_t value) {
    Runtime* rt = activeIn("activation", "setRegistrationValue", {Phase::Activating});
    if (rt == nullptr) return;
    record(*rt, Registration::Kind::RegistrationValue, value, nullptr, 0, 0, 0);
}

std::int32_t registerStartup(XTCallbackProc proc, std::int32_t a, std::int32_t b, std::int32_t c) {
    Runtime* rt = activeIn("activation", "registerStartup", {Phase::Activating});
    if (rt == nullptr) return XT_PARAMERR;
    record(*rt, Registration::Kind::Startup, 0, proc, a, b, c);
    checkNumbers(*rt, "activation", "registerStartup", "the start-up callback", 0, a, b, c);
    if (proc == nullptr) {
        rt->violation("activation", "registerStartup", "got no function");
        return XT_PARAMERR;
    }
    return 0;
}

std::int32_t registerPaneAlloc(XTCallbackProc proc, std::int32_t a, std::int32_t b, std::int32_t c) {
    Runtime* rt = activeIn("activation", "registerPaneAlloc", {Phase::Activating});
    if (rt == nullptr) return XT_PARAMERR;
    record(*rt, Registration::Kind::PaneAlloc, 0, proc, a, b, c);
    checkNumbers(*rt, "activation", "registerPaneAlloc", "the pane allocation", 0, a, b, c);
    if (proc == nullptr) {
        rt->violation("activation", "registerPaneAlloc", "got no function");
        return XT_PARAMERR;
    }
    return 0;
}

// ---- the callback record -------------------------------------------------------------------------

void initSetup(XTSetupRec* setup, std::int32_t apiVersion, std::int32_t build, std::uint32_t hostVersion) {
    Runtime* rt = activeIn("callbacks", "initSetup", {Phase::StartingUp, Phase::Running});
    if (rt == nullptr) return;
    if (setup == nullptr) {
        rt->violation("callbacks", "initSetup", "got no set-up record");
        return;
    }
    if (apiVersion != kHostInterface.setupApi || build != kHostInterface.setupBuild ||
        hostVersion != kHostInterface.setupHostVersion) {
        rt->violation("callbacks", "initSetup",
                      "got " + std::to_string(apiVersion) + ", " + std::to_string(build) + ", " + hex(hostVersion) +
                          "; this host's set-up is " + std::to_string(kHostInterface.setupApi) + ", " +
                          std::to_string(kHostInterface.setupBuild) + ", " + hex(kHostInterface.setupHostVersion));
    }
        setup->apiVersion = apiVersion;
    setup->build = build;
    setup->hostVersion = hostVersion;
}

std::int32_t bindGroup(const XTSetupRec* setup, const char* groupName, void* table, std::size_t tableSize) {
    Runtime* rt = activeIn("callbacks", "bindGroup", {Phase::StartingUp, Phase::Running});
    if (rt == nullptr) return XT_PARAMERR;
    if (groupName == nullptr || table == nullptr) {
        rt->violation("callbacks", "bindGroup", "got no group name or no table");
        return XT_PARAMERR;
    }
    const std::string name(groupName, strnlen(groupName, 64));
    if (setup == nullptr || setup->apiVersion == 0) {
        rt->violation("callbacks", "bindGroup", "called for \"" + name + "\" without a set-up record from initSetup");
        return XT_PARAMERR;
    }
    if (tableSize < sizeof(std::uint32_t)) {
        rt->violation("callbacks", "bindGroup", "called for \"" + name + "\" with a table smaller than its size field");
        return XT_PARAMERR;
    }
    std::uint32_t declared = 0;
    std::memcpy(&declared, table, sizeof declared);
    if (declared != tableSize) {
        rt->violation("callbacks", "bindGroup",
                      "called for \"" + name + "\" with a table whose size field (" + std::to_string(declared) +
                          ") differs from its size (" + std::to_string(tableSize) + ")");
    }
    for (const NamedGroupTable& group : namedGroupTables()) {
        if (name != group.name) continue;
        if (rt->withheld(name)) {
            rt->groupsAsked.push_back(name + " (withheld)");
            return -1;
        }
        // The functions after the size field, as many as both tables hold.
        const std::size_t count = std::min(tableSize, group.size);
        if (count > sizeof(std::uint32_t)) {
            std::memcpy(static_cast<unsigned char*>(table) + sizeof(std::uint32_t),
                        static_cast<const unsigned char*>(group.table) + sizeof(std::uint32_t),
                        count - sizeof(std::uint32_t));
        }
        rt->groupsAsked.push_back(name);
        rt->bound.insert(name);
        return 0;
    }
    rt->groupsAsked.push_back(name + " (unknown)");
    return -1;
}

std::int32_t acquireGroup(OSType groupID, const void** table) {
    Runtime* rt = activeIn("callbacks", "acquireGroup", {Phase::StartingUp, Phase::Running});
    if (rt == nullptr) return XT_PARAMERR;
    if (table == nullptr) {
        rt->violation("callbacks", "acquireGroup", "got no place for the table");
        return XT_PARAMERR;
    }
    *table = nullptr;
    const AcquiredGroupTable* group = acquiredGroupTable(groupID);
    const std::string label = fourCCLabel(groupID);
    if (group == nullptr) {
        rt->groupsAsked.push_back(label + " (unknown)");
        return -1;
    }
    bool withheld = false;
    for (const std::string& alias : group->aliases) withheld = withheld || rt->withheld(alias);
    if (withheld) {
        rt->groupsAsked.push_back(label + " (withheld)");
        return -1;
    }
    rt->groupsAsked.push_back(label);
    rt->bound.insert(group->name);
    *table = group->table;
    return 0;
}

// The Windows host's interface tables by name and version. A session
// withholds one version ("QLIS:1") or every version of a name ("QLIS").
std::int32_t acquireInterface(OSType id, std::int32_t version, const void** table) {
    Runtime* rt = activeIn("callbacks", "acquireInterface", {Phase::StartingUp, Phase::Running});
    if (rt == nullptr) return XT_PARAMERR;
    if (table == nullptr) {
        rt->violation("callbacks", "acquireInterface", "got no place for the table");
        return XT_PARAMERR;
    }
    *table = nullptr;
    const std::string name = fourCCLabel(id);
    const std::string label = name + " " + std::to_string(version);
    const XTInterfaceHeader* found = interfaceTable(id, version);
    if (found == nullptr) {
        rt->groupsAsked.push_back(label + " (unknown)");
        return -1;
    }
    std::string bare = name;
    bare.erase(std::remove(bare.begin(), bare.end(), '\''), bare.end());
    if (rt->withheld(bare) || rt->withheld(bare + ":" + std::to_string(version))) {
        rt->groupsAsked.push_back(label + " (withheld)");
        return -1;
    }
    rt->groupsAsked.push_back(label);
    if (id == XT_IFACE_STRINGS && version == XT_IFACE_STRINGS_PLAIN) rt->bound.insert("strings");
    *table = found;
    return 0;
}

std::int32_t lookupModule(OSType moduleCode, std::int32_t* callbackCode, OSType* groupID) {
    Runtime* rt = activeIn("callbacks", "lookupModule", {Phase::StartingUp, Phase::Running});
    if (rt == nullptr) return XT_PARAMERR;
    if (callbackCode == nullptr || groupID == nullptr) {
        rt->violation("callbacks", "lookupModule", "got no place for the answers");
        return XT_PARAMERR;
    }
    const AcquiredGroupTable* group = nullptr;
    std::int32_t code = 0;
    if (moduleCode == XT_MODULE_PDF) {
        group = acquiredGroupTable(kPDFGroupID);
        code = kPDFModuleCallback;
    } else if (moduleCode == XT_MODULE_LAYERS) {
        group = acquiredGroupTable(kLayersGroupID);
        code = kLayersModuleCallback;
    }
    bool withheld = group == nullptr;
    if (group != nullptr) {
        for (const std::string& alias : group->aliases) withheld = withheld || rt->withheld(alias);
    }
    rt->groupsAsked.push_back("module " + fourCCLabel(moduleCode) + (withheld ? " (absent)" : ""));
    if (withheld) return -1;
    *callbackCode = code;
    *groupID = group->id;
    return 0;
}

std::int32_t registerCallback(std::int32_t code, XTCallbackProc proc, std::int32_t a, std::int32_t b, std::int32_t c) {
    Runtime* rt = activeIn("callbacks", "registerCallback", {Phase::StartingUp, Phase::Running});
    if (rt == nullptr) return XT_PARAMERR;
    record(*rt, Registration::Kind::Callback, code, proc, a, b, c);
    checkNumbers(*rt, "callbacks", "registerCallback", "callback " + std::to_string(code), code, a, b, c);
    if (proc == nullptr) {
        rt->violation("callbacks", "registerCallback", "got no function for callback " + std::to_string(code));
        return XT_PARAMERR;
    }
    return 0;
}

std::int32_t invoke(Runtime& rt, std::int32_t label, XTCallbackProc proc, void* record) {
    return rt.inModule(label, [&] { return proc(record); });
}

}  // namespace

bool Runtime::withheld(std::string_view name) const {
    return options.withheld.count(std::string(name)) != 0;
}

bool Runtime::loadModule(const std::string& path) {
    loadError.clear();
    if (phase != Phase::NoModule) {
        loadError = "a module is loaded already";
        return false;
    }
    std::string file;
    if (!resolveModuleFile(path, file, loadError)) return false;
    if (!module.load(file)) {
        loadError = module.error();
        return false;
    }
    phase = Phase::Loaded;
    activation.loaded = true;
    note("module \"" + file + "\" loaded");
    return true;
}

ActivationResult Runtime::activate() {
    if (phase != Phase::Loaded) return activation;
    activationRec = XTActivationRec{};
    activationRec.size = sizeof(XTActivationRec);
    activationRec.compatibility = compatibility;
    activationRec.xtRefNum = options.xtRefNum;
    activationRec.setRegistrationValue = setRegistrationValue;
    activationRec.registerStartup = registerStartup;
    activationRec.registerPaneAlloc = registerPaneAlloc;

    phase = Phase::Activating;
    activation.entryResult = module.entry()(&activationRec);
    note("activation -> " + answerText(activation.entryResult));
    if (activation.entryResult != 0) {
        phase = Phase::Refused;
        return activation;
    }
    XTCallbackProc startup = nullptr;
    for (const Registration& r : registrations) {
        if (r.kind == Registration::Kind::Startup && r.proc != nullptr) startup = r.proc;
    }
    activation.startupRegistered = startup != nullptr;
    if (startup == nullptr) {
        note("no start-up callback registered");
        phase = Phase::Refused;
        return activation;
    }

    callbackRec = XTCallbackRec{};
    callbackRec.size = sizeof(XTCallbackRec);
    callbackRec.initSetup = initSetup;
    callbackRec.bindGroup = bindGroup;
    callbackRec.acquireGroup = acquireGroup;
    callbackRec.lookupModule = lookupModule;
    callbackRec.registerCallback = registerCallback;
    // Interface tables are the Windows host's; a Mac host has none.
    if constexpr (kWindowsHost) callbackRec.acquireInterface = acquireInterface;

    phase = Phase::StartingUp;
    const std::int32_t answer = invoke(*this, kLabelStartup, startup, &callbackRec);
    activation.startupResult = answer;
    note("start-up -> " + answerText(answer));
    if (answer != 0) {
        phase = Phase::Refused;
        return activation;
    }
    phase = Phase::Running;
    if (options.finishLaunch) finishLaunch();
    return activation;
}

void Runtime::finishLaunch() {
    if (phase != Phase::Running) return;
    std::vector<XTCallbackProc> allocs;
    for (const Registration& r : registrations) {
        if (r.kind == Registration::Kind::PaneAlloc && r.proc != nullptr) allocs.push_back(r.proc);
    }
    for (XTCallbackProc proc : allocs) {
        const std::int32_t answer = invoke(*this, kLabelPaneAlloc, proc, &callbackRec);
        if (answer != 0) {
            violationMessage("callback", "paneAlloc",
                             "callback pane allocation answered " + std::to_string(answer) + " (callbacks answer 0)");
        }
    }
    // The view kinds this host has: layout views and library views.
    for (std::int32_t kind : {XT_VIEW_LAYOUT, 2}) {
        XTDragViewRec view{};
        view.size = sizeof view;
        view.viewKind = kind;
        dispatch(XT_CB_DRAGVIEW, &view);
    }
    // Language before menus, so that the module's items are made in the host's language.
    XTLanguageRec language{};
    language.size = sizeof language;
    language.regionCode = options.regionCode;
    dispatch(XT_CB_LANGUAGE, &language);
    XTMenuSetupRec menusRec{};
    menusRec.size = sizeof menusRec;
    menusRec.itemsMenu = kUtilitiesMenu;
    menusRec.viewMenu = kViewMenu;
    dispatch(XT_CB_MENUSETUP, &menusRec);
}

void Runtime::quit() {
    if (phase == Phase::Running) {
        note("quit");
        dispatch(XT_CB_SHUTDOWN, nullptr);
        phase = Phase::ShutDown;
        reportLeaks();
    } else if (phase != Phase::NoModule) {
        phase = Phase::ShutDown;
    }
    // A handler the module left installed must not outlive it, and no
    // request reaches a module that has shut down.
    desktop::removeAllScriptHandlers();
    if (options.unloadAtQuit) {
        module.unload();
    } else {
        module.keepMapped();
    }
}

}  // namespace hostsim

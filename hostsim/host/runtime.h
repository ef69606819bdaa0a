// The state of the running host behind Simulator, and the services every
// part of it shares: the validator (admit, violation), callback dispatch,
// documents, windows and the view, menus, handles, drawing and output state.
// The function groups reach the one active runtime through Runtime::active(),
// since the module calls plain C functions that carry no context.
#pragma once

#include "hostsim/host/module_loader.h"
#include "hostsim/host/simulator.h"

#include "hostsim/model/document.h"
#include "hostsim/render/display_list.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

struct QXStringRef__ {
    std::u16string units;
};

// File objects only name a place; streams hold the open file.
struct XTFile__ {
    std::string path;  // empty until a location is set
};

struct XTStream__ {
    struct Closer {
        void operator()(std::FILE* file) const noexcept { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file;
    std::string path;
};

namespace hostsim {

namespace render {
class FontEngine;
}

enum class Phase { NoModule, Loaded, Activating, StartingUp, Running, Refused, ShutDown };

// What a host function needs beyond its group being bound.
inline constexpr unsigned kNeedNothing = 0;
inline constexpr unsigned kNeedDocument = 1;  // an open document
inline constexpr unsigned kNeedDraw = 2;      // a box draw in progress
inline constexpr unsigned kNeedPane = 4;      // the preference pane's dialog running

// The host's menu reference numbers.
inline constexpr XTMenuRef kFileMenu = 128;
inline constexpr XTMenuRef kViewMenu = 130;
inline constexpr XTMenuRef kUtilitiesMenu = 135;

// Host commands of the host's own items besides those in simulator.h.
inline constexpr std::int16_t kHostCmdActualSize = 201;
inline constexpr std::int16_t kHostCmdDoubleSize = 202;
inline constexpr std::int16_t kHostCmdUsage = 301;

// Registration numbers handed out to optional host modules.
inline constexpr std::int32_t kPDFModuleCallback = 1600;
inline constexpr std::int32_t kLayersModuleCallback = 1601;
inline constexpr OSType kPDFGroupID = XT_FOURCC('X', 'P', 'D', 1);
inline constexpr OSType kLayersGroupID = XT_FOURCC('L', 'Y', 'R', 1);

// Labels of module code run outside numbered callbacks.
inline constexpr std::int32_t kLabelStartup = -1;
inline constexpr std::int32_t kLabelPaneAlloc = -2;
inline constexpr std::int32_t kLabelPaneHandler = -3;
inline constexpr std::int32_t kLabelDragHandler = -4;
inline constexpr std::int32_t kLabelScriptHandler = -5;

// Ticks the clock moves before each user action, so that separate actions
// never look like a double-click.
inline constexpr std::uint32_t kActionTicks = 60;

// The tab control handed to the pane insertion callback.
inline constexpr std::int32_t kPreferencesTabControl = 0x7AB;

struct BoxRecordData {
    XTDocID doc = -1;
    int kind = 0;
    int shape = 0;
    Rect bounds{0, 0, 0, 0};
    double scaleH = 1.0, scaleV = 1.0;
};

struct HandleEntry {
    bool boxRecord = false;
    std::vector<unsigned char> bytes;  // memory handles
    BoxRecordData record;              // box records
};

struct OpenDocument {
    XTDocID id = -1;
    Document doc;
};

struct DrawState {
    bool active = false;
    XTPort port = 0;
    XTBoxID box = 0;
    std::int16_t phase = 0;
};

struct PaneState {
    bool dialogRunning = false;   // between the first and the last message of openPreferences
    std::int16_t messageKind = 0; // the message being handled, 0 between messages
    std::map<std::int16_t, std::int32_t> controls;
    std::set<std::int16_t> standardButtons;
};

class Runtime {
public:
    explicit Runtime(Options options);
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // The runtime the module's calls go to: the most recently made one still alive.
    static Runtime* active() noexcept;

    Options options;

    // ---- module and activation ----------------------------------------------------------
    LoadedModule module;
    std::string loadError;
    Phase phase = Phase::NoModule;
    ActivationResult activation;
    XTActivationRec activationRec{};
    XTCallbackRec callbackRec{};
    std::vector<Registration> registrations;
    std::vector<std::string> groupsAsked;  // "xtbox", "xtbox (withheld)", "'QSB\1'", ...
    std::set<std::string> bound;           // names of groups the module may call

    bool loadModule(const std::string& path);
    ActivationResult activate();
    void finishLaunch();
    void quit();
    bool quitted = false;
    bool withheld(std::string_view name) const;

    // ---- validator -------------------------------------------------------------------------
    std::vector<Violation> violations;
    // Checks that a host function may be called now; records the violation and
    // answers false when not. `group`/`field` name the function.
    bool admit(const char* group, const char* field, unsigned needs);
    // Records "<group>.<field> <what>".
    void violation(std::string_view group, std::string_view field, std::string_view what);
    // Records a violation with a message of its own.
    void violationMessage(std::string_view group, std::string_view field, std::string message);

    // ---- transcript --------------------------------------------------------------------------
    desktop::Transcript& transcript() noexcept;
    void note(std::string_view line);

    // ---- callbacks -----------------------------------------------------------------------------
    std::vector<std::int32_t> running;  // callback codes being handled, innermost last
    bool registered(std::int32_t code) const noexcept;
    // Calls every function registered for the code, in registration order;
    // answers how many were called. A nesting no host allows is refused (a
    // violation) and answers 0. Non-zero answers are violations.
    int dispatch(std::int32_t code, void* record);
    // A user action may start only when no callback runs (a running callback
    // with an alert up is modal); false, with a violation, otherwise.
    bool beginAction(std::string_view what);
    // Runs module code that is no numbered callback (start-up, pane
    // handler, drag handler, scripting handler) as a callback labelled
    // `label` (negative, see kLabel...).
    template <typename F>
    auto inModule(std::int32_t label, F&& body) {
        const double savedV = portOriginV, savedH = portOriginH;
        resetPort();
        running.push_back(label);
        struct Restore {
            Runtime& rt;
            double v, h;
            ~Restore() {
                rt.running.pop_back();
                rt.portOriginV = v;
                rt.portOriginH = h;
            }
        } restore{*this, savedV, savedH};
        return body();
    }
    // "callback 618", "start-up", "the pane handler", ...
    static std::string callbackName(std::int32_t label);

    // ---- documents and windows -------------------------------------------------------------------
    std::map<XTDocID, std::unique_ptr<OpenDocument>> docs;
    std::vector<XTDocID> windowOrder;  // front first
    XTDocID nextDocID = 1;
    std::string lastError;
    Document* currentDocument() noexcept;
    const Document* currentDocument() const noexcept;
    XTDocID currentID() const noexcept;
    Document* documentByID(XTDocID doc) noexcept;
    XTDocID addDocument(Document doc);
    void bringToFront(XTDocID doc);
    static XTWindow windowOf(XTDocID doc) noexcept { return 0x7000 + doc; }
    static XTViewRef viewOf(XTDocID doc) noexcept { return 0x9000 + doc; }
    static XTDocRef refOf(XTDocID doc) noexcept { return 0x10000 + doc; }
    XTDocID docOfWindow(XTWindow window) const noexcept;  // -1 when none
    XTDocID docOfView(XTViewRef view) const noexcept;     // -1 when none

    // ---- the view ----------------------------------------------------------------------------------
    // Where the port's origin lies, in content-area pixels; reset before every
    // callback so that the module starts from the content corner.
    double portOriginV = 0.0, portOriginH = 0.0;
    void resetPort() noexcept { portOriginV = portOriginH = 0.0; }
    // Vertical offset of a spread's top from spread 1's top, points (masters: 0).
    static double spreadTop(const Document& doc, int spread) noexcept;
    // The spread's origin in content-area pixels, in the view of `doc`.
    static void spreadOrigin(const Document& doc, int spread, double& v, double& h) noexcept;
    static double scaleOf(const Document& doc) noexcept;
    ScreenPoint toScreen(const Document& doc, SpreadPoint point) const;
    SpreadPoint toSpread(const Document& doc, ScreenPoint point) const;

    // ---- user interface state ------------------------------------------------------------------------
    std::int16_t tool = XT_TOOL_CONTENT;
    std::uint32_t clock = 0;
    XTPoint mouse{0, 0};
    std::vector<MenuState> menus;
    XTCommandID nextCommandID = 1000;
    MenuItemState* findItem(XTCommandID command) noexcept;
    MenuState* findMenu(XTMenuRef ref) noexcept;
    void setupHostMenus();
    void hostCommandWork(std::int16_t command);

    // ---- drawing and output ----------------------------------------------------------------------------
    DrawState draw;
    XTPort nextPort = 0x5000;
    bool redrawPending = false;
    std::vector<DrawCall> drawCalls;  // of the last redraw
    std::vector<render::BoxDrawing> boxDrawings;  // the same as geometry, per box drawn
    void redrawNow();
    void flushRedraw();  // the pending redraw, once no callback runs
    bool jobRunning = false;
    std::int16_t outputKind = XT_OUTPUT_SCREEN;
    std::string postScript;
    // Hooks for output jobs: the job callbacks (282, 283) around the host's own output.
    void beginOutputJob(std::int16_t kind);
    void endOutputJob();

    // ---- memory, strings, fonts ---------------------------------------------------------------------------
    std::map<XTHandle, HandleEntry> handles;
    XTHandle nextHandle = 0x48000000;
    XTHandle newHandle(HandleEntry entry);
    // The entry of a live handle of the right kind; a violation otherwise.
    HandleEntry* lookupHandle(XTHandle handle, bool boxRecord, const char* group, const char* field);
    std::set<QXStringRef__*> strings;
    std::set<XTFile__*> files;      // file objects not yet disposed
    std::set<XTStream__*> streams;  // streams not yet closed
    std::map<XTFontInst, XTFontDesc> fonts;
    XTFontInst nextFont = 0x46000000;
    // Font metrics and glyphs, made at first use; a font that cannot be
    // loaded is reported once in the transcript.
    render::FontEngine& fontEngine();
    std::shared_ptr<render::FontEngine> fontEngine_;
    bool fontFailureNoted = false;
    void reportLeaks();

    // ---- preferences, drags, optional modules ---------------------------------------------------------------
    std::int16_t nextDialogID = 20000;
    std::set<std::int16_t> dialogIDs;
    std::map<std::int16_t, XTWapHandler> paneHandlers;
    std::optional<std::int16_t> insertedPane;
    PaneState pane;
    std::map<std::int32_t, XTDragHandlers> dragHandlers;
    std::uintptr_t currentDrag = 0;
    ImportOptions importOptions;
    std::int32_t layerFlags = 0;

private:
    Runtime* previous_ = nullptr;
};

// The host's save of the front document: the save callback (610), then the
// file (to `path`, else the document's own path). False with lastError set.
bool saveFrontDocument(Runtime& rt, const std::optional<std::string>& path);

// Copies text into a buffer of the host interface: at most size - 1 bytes,
// cut at a UTF-8 character boundary, then a NUL. Answers the text's whole
// length, so a caller can tell a cut copy.
std::int32_t copyOut(std::string_view text, char* buffer, std::int32_t size) noexcept;

// "'BDIC'"; bytes that are not printable as "\1".
std::string fourCCLabel(std::uint32_t code);
// A number of points as short text: "12", "12.5", "-0.25".
std::string pointsText(double value);
// "[top, left, bottom, right]" in points.
std::string rectText(const Rect& rect);

// Runs a host function's body with the validator's check, on the active
// runtime; answers `fallback` when there is none, when the call is not
// admitted or when the body fails.
template <typename R, typename Body>
R hostCall(const char* group, const char* field, unsigned needs, R fallback, Body&& body) noexcept {
    Runtime* rt = Runtime::active();
    if (rt == nullptr) return fallback;
    try {
        if (!rt->admit(group, field, needs)) return fallback;
        return body(*rt);
    } catch (...) {
        try {
            rt->violation(group, field, "failed in the host (out of memory)");
        } catch (...) {
        }
        return fallback;
    }
}

template <typename Body>
void hostCallVoid(const char* group, const char* field, unsigned needs, Body&& body) noexcept {
    hostCall<int>(group, field, needs, 0, [&](Runtime& rt) {
        body(rt);
        return 0;
    });
}

}  // namespace hostsim

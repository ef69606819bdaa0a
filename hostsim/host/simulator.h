// The host simulator's runtime: a real host for one module. It loads the
// module from an XTensions folder, activates it, binds its function groups
// to the layout model, keeps the open documents, and drives the callbacks a
// page-layout host sends (menus, commands, events, document open and save,
// switch-in, language, preferences, drags, shutdown).
//
// Sessions (script and terminal) and integration tests drive it through this
// class. Everything the user would see goes into desktop's transcript; every
// misuse of the host interface by the module is recorded as a violation (and
// as a transcript line), never a crash.
//
// Window model (one document window per open document, the current one in
// front; 1 point = 1 pixel at 100 %):
// - the window's content area has its top-left corner at the global screen
//   point (kContentTop, kContentLeft);
// - the view shows the current spread with its origin at the document's
//   ViewState origin (originH, originV pixels inside the content area, 0 0 by
//   default); the other document spreads are stacked one below the other with
//   no gap, each as high as itself, all with the same left edge; spread n's
//   origin lies (sum of the heights of spreads 1..n-1 minus the same sum for
//   the current spread) x scale below the current one's;
// - while a master is shown, only that master spread is in the view, and
//   the module's spread numbers of xtbox.firstBox and xtspread.numSpreads
//   name the master spreads (1 = the first);
// - globalToLocal subtracts the content corner and the port origin; the port
//   origin is the content corner until the module sets it to a spread's
//   origin (setSpreadOrigin), and is reset before every callback.
//
// The clock: every user action (key, click, menu, drop, preferences,
// switch-in) moves it kActionTicks (60) forward first, so that separate
// clicks never make a double-click; idle() moves it one tick per null event;
// doubleClick() puts its two mouse-downs `gap` ticks apart.
//
// Transcript lines the simulator adds (besides desktop's alerts, clipboard…):
//   module "/x/XTensions/Lumbrel.xnt/Lumbrel.so" loaded
//   compatibility 'BDIC' 0 5 0x40C70014 0 -> 1
//   activation -> 0 | activation -> 0x51000401 (refused)
//   start-up -> 0 | start-up -> 0x51000401 (refused)
//   menu item "Show Image Names" added to View
//   open "/x/a.json" -> document 1 | open "/x/a.json" failed: <why>
//   new document "Untitled" -> document 2
//   saved "/x/a.json" | save "/x/a.json" failed: <why>
//   close document 1
//   menu View>Show Image Names | menu View>Show Image Names is disabled
//   host command 117
//   key control+'c' -> swallowed by the module | key 'x' -> host
//   click spread 1 (150, 150) at tick 1062 -> box 1 selected
//   option+click spread 1 (10, 10) at tick 1122 -> swallowed by the module
//   import "/x/a.tif" into box 3: OK | import "/x/b.tif" into box 3 failed: -43 (<why>)
//   box 7 made (picture) on spread 1 at [10, 20, 110, 120]
//   picture slug 'bDIC' of box 3 set (7 bytes)
//   drag 1 item(s) to spread 1 (10, 20) | drag 2 item(s) to pixel 216,164 (x,y) | drop accepted
//   drag refused by the module | scroll by (0, -100) to origin (0, -100)
//   preferences opened | preferences: item 3 -> 1 | preferences: OK | preferences closed -> 1
//   scripting request 'AMSo'/'AMSo' (120 bytes) | scripting reply (64 bytes)
//   print "out/x.ps": 5 pages, 3 snippets | print "out/x.png" (device): 5 pages, 8 draw calls
//   print "out/x.ps" failed: <why>
//   switch in | language: region 3 | tool 16 | select box 3 | page 2 | view scale 200%
//   quit
//   violation: xtbox.firstBox called with no document open
//
// Single-threaded, like the host it stands for.
#pragma once

#include "xtapi.h"

#include "hostsim/host/host_flavour.h"

#include "hostsim/model/document.h"
#include "hostsim/render/display_list.h"

#include "desktop/desktop.h"
#include "desktop/transcript.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace hostsim {

// Global screen position of the document window's content area.
inline constexpr int kContentTop = 64;
inline constexpr int kContentLeft = 16;
// Size of the content area in pixels (what is visible; points outside it
// still convert).
inline constexpr int kContentWidth = 1200;
inline constexpr int kContentHeight = 900;

// Ticks between the two mouse-downs of doubleClick().
inline constexpr std::uint32_t kDoubleClickGap = 10;

// Host command numbers of the host's own menu items.
inline constexpr std::int16_t kHostCmdSave = 105;
// "Collect for Output…": 117 on the Mac host, 118 on the Windows host, which
// has a second output command, "Export Layout as PDF…" (113).
inline constexpr std::int16_t kHostCmdOutputCheck = kWindowsHost ? XT_CMD_SAVE_CHECK_WIN2 : XT_CMD_SAVE_CHECK;
inline constexpr std::int16_t kHostCmdExportPDF = XT_CMD_SAVE_CHECK_WIN1;

// The host version the system group answers.
inline constexpr std::uint32_t kHostVersion = 0x40C70014u;

struct Options {
    // Low byte 1 accepts the module; 0 and 2 refuse.
    std::uint32_t compatibilityAnswer = 1;
    // What the host does not offer: group names ("xtbox"), acquired groups by
    // id ("QSB\\1" with a backslash and a 1, or "QSB1"; "DEA1") or name
    // ("strings", "dataexchange"), optional modules ("XPDF" or "pdf", "layers").
    std::set<std::string> withheld;
    std::int16_t xtRefNum = 1;
    std::int16_t regionCode = 0;   // sent with the language callback at start
    std::int16_t tool = XT_TOOL_CONTENT;
    std::uint32_t startTicks = 1000;
    // Sends the menu set-up, language and pane allocation after a successful
    // start-up, as a host does when it finishes launching.
    bool finishLaunch = true;
    // Writes "violation ..." lines to the transcript (they are always kept in violations()).
    bool transcribeViolations = true;
    // Unloads the module (dlclose) at quit, so that the next Simulator in the
    // process loads it afresh. A host that quits keeps it mapped until the
    // process ends; false does that (what the module allocated stays reachable).
    bool unloadAtQuit = true;
};

// One registration the module made, in the order made.
struct Registration {
    enum class Kind { RegistrationValue, Startup, PaneAlloc, Callback };
    Kind kind = Kind::Callback;
    std::int32_t code = 0;  // callback code (Callback only); the value for RegistrationValue
    XTCallbackProc proc = nullptr;
    std::int32_t a = 0, b = 0, c = 0;
};

struct Violation {
    std::string group;    // "xtbox", "callback", "activation", "memory", ...
    std::string field;    // "firstBox", "618", ...
    std::string message;  // the whole text: "xtbox.firstBox called with no document open"
};

struct ActivationResult {
    bool loaded = false;             // a module was loaded and its entry found
    std::int32_t entryResult = -1;   // what XTActivateCallback answered
    bool startupRegistered = false;
    std::optional<std::int32_t> startupResult;  // absent when start-up never ran
    bool started() const noexcept { return startupResult && *startupResult == 0; }
};

struct MenuItemState {
    std::string title;
    XTCommandID command = 0;   // module items: the id handed out; host items: the host command number
    bool enabled = true;
    bool checked = false;
    bool fromModule = false;
};

struct MenuState {
    std::string title;  // "File", "View", "Utilities"
    XTMenuRef ref = 0;
    std::vector<MenuItemState> items;
};

// A point on a spread, in points of the spread's coordinates.
struct SpreadPoint {
    int spread = 1;
    double v = 0.0, h = 0.0;
};

// A global screen point, in pixels.
struct ScreenPoint {
    int v = 0, h = 0;
};

struct EventResult {
    bool delivered = false;   // the event callback was registered and called
    bool swallowed = false;   // the module wrote `what` = 0: the host ignored the event
    std::uint16_t whatAfter = 0;
};

struct OpenResult {
    XTDocID doc = -1;        // -1 on failure
    std::string message;     // why it failed
    bool ok() const noexcept { return doc >= 0; }
};

struct DrawCall {
    std::string kind;  // "fillRect", "drawText"
    XTBoxID box = 0;   // the box being drawn
    std::string detail;  // arguments as text
};

// The preference pane run as the host does: the pane's description (the
// Resources/<id>.xml of the module bundle, by the id the module answers)
// becomes a modal dialog window of the desktop; the host's button service
// reads and writes its check boxes. `ok` presses the module's OK (item 1)
// after the toggles, else Cancel (item 2); `hostOk` instead ends with the
// host's own OK (the apply message). With `byUser` the desktop's agent acts
// in the window instead (a session's dialog lines, the person at the
// terminal); the toggles and the end are then not used.
struct PreferencesRun {
    std::vector<std::int16_t> toggleItems;  // check boxes clicked, in order
    bool ok = true;
    bool hostOk = false;
    bool byUser = false;
};

struct PreferencesResult {
    bool shown = false;                 // a pane was registered and inserted
    std::int32_t resourceID = 0;        // answered to the resource id request
    std::vector<std::pair<std::int16_t, std::int32_t>> controls;  // item -> value when closed
    std::int32_t dialogResult = -1;     // value of the ending item hit, -1 when none ended it
};

// A print job of the current document. PostScript output writes one DSC file
// (PostScript kind 3: the module's PostScript is spliced in at the box being
// drawn); device output is drawn by the host itself (kind 4, a raster device:
// the module draws through the drawing groups as on screen) into one picture
// per page, "out-1.png", "out-2.png", … for the path "out.png" (".svg" also
// works), at kDevicePixelsPerPoint.
enum class PrintOutput { PostScript, Device };

inline constexpr double kDevicePixelsPerPoint = 2.0;  // 144 dpi

struct PrintRun {
    std::string path;  // the file written; missing folders are made
    PrintOutput output = PrintOutput::PostScript;
    // The button pressed at the first alert of the job (the module's
    // question); nullopt leaves every alert to the current agent.
    std::optional<std::string> answer;
};

struct PrintResult {
    bool ok = false;
    std::string error;                   // why it failed
    int pages = 0;                       // pages printed
    int snippets = 0;                    // box draws during which the module sent PostScript
    std::vector<std::string> files;      // files written
    std::vector<std::string> questions;  // messages of the alerts shown during the job
};

class Runtime;  // the implementation

class Simulator {
public:
    explicit Simulator(Options options = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    Options& options() noexcept;

    // ---- module ---------------------------------------------------------------------
    // Loads the module: a path to the shared object, an "X.xnt" bundle folder
    // (its "X.so" inside), or an XTensions folder (its first "*.xnt"). False
    // with loadError() saying why.
    bool loadModule(const std::string& path);
    const std::string& loadError() const noexcept;
    const std::string& modulePath() const noexcept;
    // Withholds a function group or optional module (see Options::withheld); before activate().
    void withhold(const std::string& nameOrID);
    // XTActivateCallback, then the start-up callback when the module
    // registered one, then (Options::finishLaunch) pane allocation, menu
    // set-up and the language callback.
    ActivationResult activate();
    bool started() const noexcept;

    // ---- documents --------------------------------------------------------------------
    // Opens a layout file; it becomes current and the open callback (46) runs.
    OpenResult open(const std::string& path);
    // A new untitled document (never saved); current; the open callback runs.
    OpenResult newDocument(Document document, const std::string& projectName = "Untitled");
    // The host's save of the current document (to `path`, else to its own
    // path): the save callback (610), then the file; no command callback
    // (chooseMenu("File>Save") sends that first). False when there is no
    // document, no path, or the write fails (message in lastError()).
    bool save(const std::optional<std::string>& path = std::nullopt);
    // Closes the current document. A changed one asks first (an alert with
    // Save (default), Cancel, Don't Save); false when cancelled or the save failed.
    bool close();
    bool setCurrent(XTDocID doc);
    XTDocID currentID() const noexcept;  // -1 when none
    Document* current() noexcept;
    Document* document(XTDocID doc) noexcept;
    std::vector<XTDocID> documentIDs() const;
    const std::string& lastError() const noexcept;

    // ---- user actions ------------------------------------------------------------------
    // Chooses a menu item by title ("Show Image Names", or "View>Show Image
    // Names") or by command id. Menu update (7) runs first; a disabled or
    // unknown item is not chosen (false). Module items send command 618; host
    // items send 618 with the host command number, then do the host's own work.
    // `modifiers` (event modifier bits) are held while the item is chosen:
    // Shift with "Show Image Names" is its full-path variant.
    bool chooseMenu(std::string_view title, std::uint16_t modifiers = 0);
    bool chooseCommand(XTCommandID command, std::uint16_t modifiers = 0);
    // Sends 618 with a host command number, then does the host's own work for it.
    void hostCommand(std::int16_t command);
    // Menu update (7), then the menus as the user sees them.
    std::vector<MenuState> menuState();
    // Events go to the event callback (10); the modifier keys are held in
    // desktop's key map meanwhile. What the module does not swallow the host
    // handles: a click makes the page under it current (the view stays) and
    // selects the frontmost box there (its outermost group with another tool
    // than the content tool), or nothing.
    EventResult key(unsigned char character, std::uint16_t modifiers = 0);
    EventResult click(SpreadPoint point, std::uint16_t modifiers = 0);
    EventResult click(ScreenPoint point, std::uint16_t modifiers = 0);
    // Two mouse-downs kDoubleClickGap ticks apart (or `gap`).
    EventResult doubleClick(SpreadPoint point, std::uint32_t gap = kDoubleClickGap, std::uint16_t modifiers = 0);
    EventResult doubleClick(ScreenPoint point, std::uint32_t gap = kDoubleClickGap, std::uint16_t modifiers = 0);
    void idle(int count = 1);
    void setTool(std::int16_t tool);
    bool selectBox(XTBoxID box);  // current and selected; 0 deselects
    bool gotoPage(int page);
    bool setViewScale(Fixed scale);
    // Scrolls the current view: its origin (where the current spread's
    // origin lies in the window) moves by dh pixels right and dv down, so
    // the layout moves with it on screen. False without a document.
    bool scroll(double dh, double dv);
    void setLanguage(std::int16_t regionCode);
    void switchIn();
    // Redraws the current spread: the box-drawing callback (66) for each box.
    void redraw();
    // Redraws the current spread and writes its picture at the view scale
    // (pasteboard, pages, boxes, picture previews, what the module drew),
    // as SVG or PNG by the extension of `path`. False with `error` saying why
    // (no document, unknown extension, unwritable file, font missing for PNG).
    // Transcript line: view of spread 1 at 200% written to "out/v.png" (2400x1336 pixels)
    bool renderView(const std::string& path, std::string* error = nullptr);
    // A print job of the current document: job start (282), the box-drawing
    // callback (66) for every box of every document page in spread order,
    // in phases 1 to 3, then job end (283). Transcript line:
    //   print "out/x.ps": 5 pages, 3 snippets
    PrintResult print(const PrintRun& run);
    // Drags the items onto the point of the current document's view: drag
    // entered, within and, when accepted, drop; the drag ends afterwards.
    bool drop(std::vector<desktop::PasteboardItem> items, SpreadPoint point, std::int32_t dropEffect = XT_DROP_EFFECT_COPY,
              std::uint16_t modifiers = 0);
    // The same at a global screen pixel, wherever it lies in the view.
    bool drop(std::vector<desktop::PasteboardItem> items, ScreenPoint point, std::int32_t dropEffect = XT_DROP_EFFECT_COPY,
              std::uint16_t modifiers = 0);
    PreferencesResult openPreferences(const PreferencesRun& run = {});
    // Shutdown (4); reports handles, strings and font instances never disposed
    // as violations; removes scripting handlers; unloads the module (Options::unloadAtQuit).
    void quit();
    bool quitted() const noexcept;

    // ---- clock and geometry -------------------------------------------------------------
    std::uint32_t ticks() const noexcept;
    void advanceTicks(std::uint32_t ticks);
    ScreenPoint toScreen(SpreadPoint point) const;
    // The spread point under a screen point in the current view; spread 0 when
    // there is no document or the point lies above or below every spread.
    SpreadPoint toSpread(ScreenPoint point) const;

    // ---- scripting -----------------------------------------------------------------------
    // Delivers a scripting request of class and id 'AMSo' to the handler the
    // module installed; nullopt when none is installed or it set no reply.
    std::optional<std::string> scriptRequest(const std::string& xml);
    std::optional<std::string> scriptRequest(const std::optional<std::string>& directText, std::uint32_t eventClass,
                                             std::uint32_t eventID);

    // ---- what happened ---------------------------------------------------------------------
    const std::vector<Registration>& registrations() const noexcept;
    const std::vector<Violation>& violations() const noexcept;
    // Groups asked for, in order: "xtbox", "xtpicture (withheld)",
    // "'QSB\\1'", "'DEA\\1' (withheld)", "module 'XPDF'", "xtfoo (unknown)".
    std::vector<std::string> groupsBound() const;
    // View kinds the module registered drag handlers for.
    std::vector<std::int32_t> dragViewKinds() const;
    const std::vector<DrawCall>& drawCalls() const noexcept;  // of the last redraw
    // The same draws as geometry, one list per box drawn, in spread points.
    const std::vector<render::BoxDrawing>& boxDrawings() const noexcept;
    // PostScript the module sent through psOutput during the running job.
    const std::string& postScript() const noexcept;
    std::size_t liveHandles() const noexcept;
    desktop::Transcript& transcript() noexcept;

    Runtime& runtime() noexcept;  // for the group implementations

private:
    std::unique_ptr<Runtime> runtime_;
};

}  // namespace hostsim

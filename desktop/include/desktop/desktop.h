// The desktop stand-in: the state an operating system would keep for the host
// and its plug-ins (alerts and their agent, pasteboards, keyboard, processes),
// shared by the host simulator and the module because both link this library.
// The module reaches it only through the platform interface; the simulator
// sets it up and looks at it through this class.
//
// Single-threaded, like the user-interface thread it stands for. The one
// instance is made on first use and never destroyed, so code running at exit
// may still use it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/agent.h"
#include "desktop/transcript.h"

namespace desktop {

inline constexpr const char* kClipboardName = "com.apple.pasteboard.clipboard";
inline constexpr const char* kFileUrlFlavor = "public.file-url";
inline constexpr const char* kUtf8TextFlavor = "public.utf8-plain-text";
inline constexpr const char* kFileManagerName = "Finder";

// Nested questions deeper than this get their default without asking.
inline constexpr int kMaxAgentNesting = 8;

struct Flavor {
    std::string type;
    std::string data;  // bytes
};

struct PasteboardItem {
    std::uintptr_t id = 0;  // 0: numbered by position when handed to the desktop
    std::vector<Flavor> flavors;

    const Flavor* find(std::string_view type) const noexcept;

    // An item carrying the file URL of `path` (a folder's URL ends in "/").
    // An empty item when the path is not absolute.
    static PasteboardItem file(std::string_view path);
    // An item carrying `url` as it stands, valid or not.
    static PasteboardItem fileUrl(std::string url);
    static PasteboardItem text(std::string text);
};

// Event modifier bits, as the host's event records carry them.
inline constexpr std::uint16_t kModCommand = 0x0100;
inline constexpr std::uint16_t kModShift = 0x0200;
inline constexpr std::uint16_t kModCapsLock = 0x0400;
inline constexpr std::uint16_t kModOption = 0x0800;
inline constexpr std::uint16_t kModControl = 0x1000;
inline constexpr std::uint16_t kModRightShift = 0x2000;
inline constexpr std::uint16_t kModRightOption = 0x4000;
inline constexpr std::uint16_t kModRightControl = 0x8000;

inline constexpr std::size_t kKeyMapBytes = 16;
using KeyMapBytes = std::array<std::uint8_t, kKeyMapBytes>;

struct KeyEvent {
    unsigned char character = 0;
    std::uint16_t modifiers = 0;
};

struct OpenedDocument {
    std::string document;
    std::string application;  // empty: the document's default application
    std::uint32_t type = 0;     // the Mac OS type and creator given to the file
    std::uint32_t creator = 0;  // before it was opened by its creator; 0 otherwise
};

// The transcript's line for an alert answered with item `item` (1 to 3):
// `alert "Title" style: message | informative [buttons] -> pressed (note)`.
std::string alertLine(const AlertRequest& request, int item, std::string_view note = {});

class Desktop {
public:
    static Desktop& instance();

    // Back to a fresh desktop: default agent, empty transcript, no pasteboards,
    // no drag, no keys, only the host and the file manager running.
    void reset();

    // --- Agent -----------------------------------------------------------
    // Null puts the default agent back in charge.
    void setAgent(std::shared_ptr<Agent> agent);
    std::shared_ptr<Agent> agent() const;
    const DefaultAgent& defaultAgent() const noexcept;
    // Answers that were no shown button, and agents that threw.
    std::size_t agentFaults() const noexcept;

    // --- Alerts and beeps --------------------------------------------------
    // Asks the agent, records the alert and answers the item pressed (the
    // simulator shows its own alerts, the host's error display, through here).
    // An empty default button title shows "OK". The transcript line is added
    // when the alert is answered, so alerts raised while the agent decides
    // come before it. No decision, a fault, or nesting beyond
    // kMaxAgentNesting takes item 1, marked in the line.
    int runAlert(AlertRequest request);
    void beep();
    std::size_t beepCount() const noexcept;

    Transcript& transcript() noexcept;

    // --- Pasteboards --------------------------------------------------------
    // Starts a drag carrying these items (identifiers 0 are numbered 1, 2, …)
    // and answers its reference for the host to hand over, never 0. A drag in
    // progress ends first.
    std::uintptr_t beginDrag(std::vector<PasteboardItem> items);
    // Ends the drag: its pasteboard goes, the borrowed reference turns invalid.
    void endDrag();
    bool dragInProgress() const noexcept;

    // Items of the named pasteboard; nullopt when it was never made.
    std::optional<std::vector<PasteboardItem>> pasteboardItems(std::string_view name) const;
    // Fills a named pasteboard as another application would: it becomes that
    // application's (the module must clear it before putting anything on it).
    // Changes made here are not transcribed; only the module's are.
    void setPasteboardItems(std::string_view name, std::vector<PasteboardItem> items);
    // Text flavour of the clipboard's first item; nullopt when there is none.
    std::optional<std::string> clipboardText() const;
    void setClipboardText(std::string text);
    // Owned references not released yet, and releases of references that were
    // not owned (borrowed, already released, never made).
    std::size_t openPasteboardReferences() const noexcept;
    std::size_t badPasteboardReleases() const noexcept;

    // --- Keyboard -------------------------------------------------------------
    void setKeyHeld(int keyCode, bool held);
    // Holds exactly the modifier keys of these event modifier bits; other keys
    // stay as they are.
    void holdModifiers(std::uint16_t modifiers);
    void releaseAllKeys();
    KeyMapBytes keyMap() const noexcept;
    void queueKeyDown(unsigned char character, std::uint16_t modifiers = 0);
    bool isKeyDownWaiting(unsigned char character) const noexcept;
    // Takes the oldest waiting key event; false when none waits.
    bool takeKeyEvent(KeyEvent& out);
    std::size_t pendingKeyEvents() const noexcept;

    // --- Processes ----------------------------------------------------------------
    // The host's process name (initially "Host").
    void setHostName(std::string name);
    const std::string& hostName() const noexcept;
    // Name of the process in front.
    std::string frontProcess() const;
    // Brings the named process to the front, starting it when it does not run
    // (a print spooler, another application the session switches to).
    void bringToFront(std::string_view name, std::uint32_t creator = 0);
    const std::vector<OpenedDocument>& openedDocuments() const noexcept;
    const std::vector<std::string>& revealedFiles() const noexcept;

    // --- Windows --------------------------------------------------------------------
    // The innermost dialog running a modal loop; null when none runs.
    lumbrel::platform::WindowRef frontDialog() const noexcept;
    // Live top-level windows, oldest first (dialog shells, modeless ones included).
    std::vector<lumbrel::platform::WindowRef> topLevelWindows() const;
    // The newest live top-level window with exactly this title; null when none.
    lumbrel::platform::WindowRef windowTitled(std::string_view title) const;
    // What the agent is shown of a dialog (turn and nesting left at their defaults).
    DialogRequest describeDialog(lumbrel::platform::WindowRef dialog) const;
    // The user acts in a top-level window that runs no modal loop (a modeless
    // dialog), as the host's event loop hands the action over; the messages it
    // posts are delivered after it. The transcript says `dialog "Title": …`
    // as for modal dialogs. `refused` when the window is gone, runs a modal
    // loop, or the action cannot be done (the line says why).
    struct WindowActionResult {
        bool refused = false;
        std::string line;
    };
    WindowActionResult actInWindow(lumbrel::platform::WindowRef window, const DialogAction& action);
    std::size_t liveWindowCount() const noexcept;
    // Modal loops running now.
    std::size_t modalDepth() const noexcept;
    // The virtual clock timers run on, in milliseconds since the reset.
    std::uint64_t clockMilliseconds() const noexcept;
    // Delivers the posted messages waiting now and those they post, as the
    // host's event loop does between events (modeless dialogs); at most
    // `limit` of them. Answers how many were delivered.
    std::size_t deliverPostedMessages(std::size_t limit = 100000);
    // Lets time pass on the timer clock, delivering every timer that falls due
    // on the way, in order (modeless dialogs' timers); answers how many fired.
    std::size_t advanceClock(std::uint64_t milliseconds);
    // Turns a modal loop may take before the desktop closes the dialog (default 1,000,000).
    void setModalTurnLimit(std::uint64_t turns) noexcept;
    // Times the window was marked for repainting.
    std::size_t invalidationCount(lumbrel::platform::WindowRef window) const noexcept;

    // --- Pictures -------------------------------------------------------------------
    // The window and its visible children drawn as an SVG document; empty for a
    // dead handle. Registered classes paint themselves on Message::Paint.
    std::string windowPicture(lumbrel::platform::WindowRef window);
    // Writes the picture to `path`: SVG, or PNG (through rsvg-convert) when the
    // path ends in ".png". False when the window is dead or writing failed.
    bool writeWindowPicture(lumbrel::platform::WindowRef window, const std::string& path);

    // --- Used by the platform implementation -------------------------------------
    struct State;
    State& state() noexcept { return *state_; }

    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

private:
    Desktop();
    ~Desktop();
    std::unique_ptr<State> state_;
};

}  // namespace desktop

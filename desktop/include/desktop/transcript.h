// What the user saw and did, in order: alerts with the answer given, beeps,
// what landed on the clipboard, documents opened with other applications,
// files revealed, the application coming to the front. The host simulator adds
// its own lines (menus chosen, files written) so that one transcript tells the
// whole session. Each entry is rendered once, when it happens, as one stable
// line; control characters in texts are written as \r, \n, \t or \xNN.
//
//   alert "Lumbrel" note: File not found! | /x/y.tif [OK] -> OK
//   alert "Lumbrel" caution: Re-link? [Yes] [No] -> Yes (default)
//   beep
//   clipboard cleared
//   clipboard "y.tif"
//   open "/x/list.txt" with default application
//   open "/x/y.tif" with "/Applications/Edit.app" failed: no such file
//   open "/x/list.txt" with "/Applications/TextEdit.app" (type TEXT, creator ttxt)
//   reveal "/x/y.tif"
//   front "Finder"
//   dialog "Image List" opened
//   dialog "Image List": click 1 "OK"
//   dialog "Image List" closed -> 1
//   popup menu [Name] [Date] -> "Date"
//   choose application "Open with:" -> "/Applications/Edit.app"
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace desktop {

// Dialog: modal dialogs opened, acted in and closed; Menu: pop-up menus;
// Chooser: the application chooser.
enum class EntryKind { Alert, Beep, Clipboard, Open, Reveal, Front, Simulator, Dialog, Menu, Chooser };

struct TranscriptEntry {
    EntryKind kind;
    std::string line;
};

class Transcript {
public:
    using Listener = std::function<void(const TranscriptEntry&)>;

    void add(EntryKind kind, std::string line);
    // A line of the host simulator, taken as it stands (control characters
    // escaped as above).
    void appendSimulatorLine(std::string_view line);

    const std::vector<TranscriptEntry>& entries() const noexcept { return entries_; }
    std::size_t size() const noexcept { return entries_.size(); }
    void clear() noexcept;

    // Lines of one kind, in order.
    std::vector<std::string> linesOf(EntryKind kind) const;
    // Every line, each ended by "\n".
    std::string render() const;

    // Called with every entry added from now on, in order (terminal sessions
    // print them live). Entries the listener itself causes are handed to it
    // after it returns, never from inside it.
    void setListener(Listener listener);

private:
    std::vector<TranscriptEntry> entries_;
    Listener listener_;
    std::size_t notified_ = 0;
    bool notifying_ = false;
};

// `text` with control characters escaped as described above.
std::string escapeForTranscript(std::string_view text);
// `text` escaped and in double quotes.
std::string quoteForTranscript(std::string_view text);

}  // namespace desktop

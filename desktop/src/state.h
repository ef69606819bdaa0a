// The desktop's state behind Desktop, shared by the simulator-facing class and
// the module-facing platform functions of this library.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "desktop/desktop.h"

namespace desktop {

struct Pasteboard {
    std::string name;
    std::vector<PasteboardItem> items;
    bool isClipboard = false;
    // The reference that cleared the pasteboard last, and so may put data on
    // it; 0 when no client may (the drag's, or one the simulator filled).
    std::uint32_t owner = 0;
};

struct PasteboardReference {
    std::shared_ptr<Pasteboard> pasteboard;
    bool borrowed = false;
};

struct Process {
    std::uint32_t id = 0;
    std::string name;
    std::string path;  // empty for processes not started from a path
    std::uint32_t creator = 0;
    bool hasCreator = false;
};

struct Desktop::State {
    // Agent
    std::shared_ptr<DefaultAgent> defaultAgent = std::make_shared<DefaultAgent>();
    std::shared_ptr<Agent> agent;  // null: the default agent
    std::size_t agentFaults = 0;
    int nesting = 0;

    Transcript transcript;
    std::size_t beeps = 0;

    // Pasteboards
    std::map<std::string, std::shared_ptr<Pasteboard>, std::less<>> named;
    std::shared_ptr<Pasteboard> drag;
    std::uintptr_t dragRef = 0;
    std::uint32_t dragReference = 0;  // the borrowed reference of the drag
    std::unordered_map<std::uint32_t, PasteboardReference> references;
    // Counters run on across resets, so that old references and drags stay invalid.
    std::uint32_t lastReference = 0;
    std::uintptr_t lastDragRef = 0;
    std::uint64_t lastUniqueName = 0;
    std::size_t badReleases = 0;

    // Keyboard
    KeyMapBytes keys{};
    std::deque<KeyEvent> keyEvents;

    // Processes
    std::vector<Process> processes;
    std::uint32_t front = 0;  // id of the process in front
    std::uint32_t lastProcessId = 0;
    std::string hostName = "Host";
    std::vector<OpenedDocument> opened;
    std::vector<std::string> revealed;

    void clear();
    void clearAllButWindows();  // everything but the window table

    // Pasteboards
    std::shared_ptr<Pasteboard> namedPasteboard(std::string_view name);  // made when missing
    std::uint32_t newReference(std::shared_ptr<Pasteboard> pasteboard, bool borrowed);
    Pasteboard* lookup(std::uint32_t reference) noexcept;
    void recordClipboardChange(const Pasteboard& pasteboard, std::string line);

    // Processes
    Process* findProcess(std::uint32_t id) noexcept;
    Process& addProcess(std::string name, std::string path, std::uint32_t creator, bool hasCreator);
    void setFront(const Process& process);
};

// True when something exists at `path` (following links).
bool pathExists(const char* path) noexcept;

}  // namespace desktop

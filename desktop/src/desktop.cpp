#include "desktop/desktop.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <utility>

#include "desktop/file_url.h"
#include "state.h"
#include "windows_state.h"

namespace desktop {

namespace {

constexpr std::uint32_t kFileManagerCreator = 0x4D414353;  // 'MACS'


}  // namespace

std::string alertLine(const AlertRequest& request, int item, std::string_view note) {
    std::string line = "alert ";
    line += quoteForTranscript(request.title);
    line += ' ';
    line += alertStyleName(request.style);
    line += ": ";
    line += escapeForTranscript(request.message);
    if (!request.informative.empty()) {
        line += " | ";
        line += escapeForTranscript(request.informative);
    }
    for (int shown = 1; shown <= kAlertButtonCount; ++shown) {
        if (!request.hasButton(shown)) continue;
        line += " [";
        line += escapeForTranscript(request.buttons[static_cast<std::size_t>(shown - 1)]);
        line += ']';
    }
    line += " -> ";
    line += escapeForTranscript(request.buttons[static_cast<std::size_t>(item - 1)]);
    if (!note.empty()) {
        line += " (";
        line += note;
        line += ')';
    }
    return line;
}

bool pathExists(const char* path) noexcept {
    if (path == nullptr || path[0] == '\0') return false;
    // By the UTF-8 path itself: Windows' narrow stat would read it in the
    // ANSI code page and miss every name outside it.
    try {
        std::error_code error;
        return std::filesystem::exists(std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(path))),
                                       error);
    } catch (const std::exception&) {
        return false;
    }
}

// --- State ----------------------------------------------------------------------

void Desktop::State::clear() {
    clearAllButWindows();
    windows::resetWindows();
}

void Desktop::State::clearAllButWindows() {
    agent.reset();
    defaultAgent = std::make_shared<DefaultAgent>();
    agentFaults = 0;
    transcript.clear();
    transcript.setListener(nullptr);
    beeps = 0;
    named.clear();
    drag.reset();
    dragRef = 0;
    dragReference = 0;
    references.clear();
    badReleases = 0;
    keys = {};
    keyEvents.clear();
    processes.clear();
    hostName = "Host";
    front = addProcess(hostName, std::string(), 0, true).id;
    addProcess(kFileManagerName, std::string(), kFileManagerCreator, true);
    opened.clear();
    revealed.clear();
}

std::shared_ptr<Pasteboard> Desktop::State::namedPasteboard(std::string_view name) {
    const auto found = named.find(name);
    if (found != named.end()) return found->second;
    auto pasteboard = std::make_shared<Pasteboard>();
    pasteboard->name = std::string(name);
    pasteboard->isClipboard = (name == kClipboardName);
    named.emplace(pasteboard->name, pasteboard);
    return pasteboard;
}

std::uint32_t Desktop::State::newReference(std::shared_ptr<Pasteboard> pasteboard, bool borrowed) {
    if (lastReference == UINT32_MAX) return 0;  // never hand out an id twice
    references.emplace(lastReference + 1, PasteboardReference{std::move(pasteboard), borrowed});
    return ++lastReference;
}

Pasteboard* Desktop::State::lookup(std::uint32_t reference) noexcept {
    const auto found = references.find(reference);
    return found == references.end() ? nullptr : found->second.pasteboard.get();
}

void Desktop::State::recordClipboardChange(const Pasteboard& pasteboard, std::string line) {
    if (pasteboard.isClipboard) transcript.add(EntryKind::Clipboard, std::move(line));
}

Process* Desktop::State::findProcess(std::uint32_t id) noexcept {
    for (auto& process : processes) {
        if (process.id == id) return &process;
    }
    return nullptr;
}

Process& Desktop::State::addProcess(std::string name, std::string path, std::uint32_t creator, bool hasCreator) {
    processes.push_back({++lastProcessId, std::move(name), std::move(path), creator, hasCreator});
    return processes.back();
}

void Desktop::State::setFront(const Process& process) {
    if (front == process.id) return;
    front = process.id;
    transcript.add(EntryKind::Front, "front " + quoteForTranscript(process.name));
}

// --- Desktop ----------------------------------------------------------------------

Desktop& Desktop::instance() {
    // Never destroyed: the module may still call in while statics are torn down.
    static Desktop* const theDesktop = new Desktop;
    return *theDesktop;
}

// Windows live in their own table, which may already hold windows made
// before the desktop was first asked for: only reset() closes them.
Desktop::Desktop() : state_(std::make_unique<State>()) { state_->clearAllButWindows(); }

Desktop::~Desktop() = default;

void Desktop::reset() { state_->clear(); }

void Desktop::setAgent(std::shared_ptr<Agent> agent) { state_->agent = std::move(agent); }

std::shared_ptr<Agent> Desktop::agent() const {
    if (state_->agent) return state_->agent;
    return state_->defaultAgent;
}

const DefaultAgent& Desktop::defaultAgent() const noexcept { return *state_->defaultAgent; }

std::size_t Desktop::agentFaults() const noexcept { return state_->agentFaults; }

int Desktop::runAlert(AlertRequest request) {
    State& s = *state_;
    if (request.buttons[0].empty()) request.buttons[0] = "OK";
    const int outer = s.nesting;
    request.nesting = outer + 1;

    int answer = kTakeDefault;
    std::string note;
    if (request.nesting > kMaxAgentNesting) {
        note = "nested too deep, default taken";
    } else {
        // Keep the agent alive even if it replaces itself while answering.
        const std::shared_ptr<Agent> agent = this->agent();
        s.nesting = outer + 1;
        try {
            answer = agent->answerAlert(request);
        } catch (const std::exception& error) {
            note = std::string("agent error: ") + error.what() + ", default taken";
        } catch (...) {
            note = "agent error, default taken";
        }
        s.nesting = outer;
    }

    int item = answer;
    if (!note.empty()) {
        if (note.rfind("agent error", 0) == 0) ++s.agentFaults;
        item = 1;
    } else if (answer == kTakeDefault) {
        note = "default";
        item = 1;
    } else if (!request.hasButton(answer)) {
        ++s.agentFaults;
        note = "invalid answer " + std::to_string(answer) + ", default taken";
        item = 1;
    }
    s.transcript.add(EntryKind::Alert, alertLine(request, item, note));
    return item;
}

void Desktop::beep() {
    ++state_->beeps;
    state_->transcript.add(EntryKind::Beep, "beep");
}

std::size_t Desktop::beepCount() const noexcept { return state_->beeps; }

Transcript& Desktop::transcript() noexcept { return state_->transcript; }

// --- Pasteboards ------------------------------------------------------------------

const Flavor* PasteboardItem::find(std::string_view type) const noexcept {
    for (const auto& flavor : flavors) {
        if (flavor.type == type) return &flavor;
    }
    return nullptr;
}

PasteboardItem PasteboardItem::file(std::string_view path) {
    PasteboardItem item;
    const std::string copy(path);
    struct stat info {};
    const bool folder = ::stat(copy.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    // A Windows path "C:\x\a.tif" is the URL path "/C:/x/a.tif".
    std::string urlPath = copy;
    const bool drive = copy.size() >= 3 && std::isalpha(static_cast<unsigned char>(copy[0])) != 0 && copy[1] == ':' &&
                       (copy[2] == '\\' || copy[2] == '/');
    if (drive) {
        std::replace(urlPath.begin(), urlPath.end(), '\\', '/');
        urlPath.insert(0, 1, '/');
    }
    std::string url;
    if (fileUrlFromPath(urlPath, url, folder)) item.flavors.push_back({kFileUrlFlavor, std::move(url)});
    return item;
}

PasteboardItem PasteboardItem::fileUrl(std::string url) {
    PasteboardItem item;
    item.flavors.push_back({kFileUrlFlavor, std::move(url)});
    return item;
}

PasteboardItem PasteboardItem::text(std::string text) {
    PasteboardItem item;
    item.flavors.push_back({kUtf8TextFlavor, std::move(text)});
    return item;
}

namespace {

void numberItems(std::vector<PasteboardItem>& items) {
    std::uintptr_t number = 0;
    for (auto& item : items) {
        ++number;
        if (item.id == 0) item.id = number;
    }
}

}  // namespace

std::uintptr_t Desktop::beginDrag(std::vector<PasteboardItem> items) {
    endDrag();
    State& s = *state_;
    auto pasteboard = std::make_shared<Pasteboard>();
    pasteboard->name = "drag";
    numberItems(items);
    pasteboard->items = std::move(items);
    const std::uint32_t reference = s.newReference(pasteboard, true);
    if (reference == 0) return 0;
    s.drag = std::move(pasteboard);
    s.dragReference = reference;
    s.dragRef = ++s.lastDragRef;
    return s.dragRef;
}

void Desktop::endDrag() {
    State& s = *state_;
    if (s.dragReference != 0) s.references.erase(s.dragReference);
    s.drag.reset();
    s.dragReference = 0;
    s.dragRef = 0;
}

bool Desktop::dragInProgress() const noexcept { return state_->drag != nullptr; }

std::optional<std::vector<PasteboardItem>> Desktop::pasteboardItems(std::string_view name) const {
    const auto found = state_->named.find(name);
    if (found == state_->named.end()) return std::nullopt;
    return found->second->items;
}

void Desktop::setPasteboardItems(std::string_view name, std::vector<PasteboardItem> items) {
    auto pasteboard = state_->namedPasteboard(name);
    numberItems(items);
    pasteboard->items = std::move(items);
    pasteboard->owner = 0;  // another application owns it now
}

std::optional<std::string> Desktop::clipboardText() const {
    const auto found = state_->named.find(std::string_view(kClipboardName));
    if (found == state_->named.end() || found->second->items.empty()) return std::nullopt;
    const Flavor* text = found->second->items.front().find(kUtf8TextFlavor);
    if (text == nullptr) return std::nullopt;
    return text->data;
}

void Desktop::setClipboardText(std::string text) {
    std::vector<PasteboardItem> items;
    items.push_back(PasteboardItem::text(std::move(text)));
    setPasteboardItems(kClipboardName, std::move(items));
}

std::size_t Desktop::openPasteboardReferences() const noexcept {
    std::size_t count = 0;
    for (const auto& entry : state_->references) {
        if (!entry.second.borrowed) ++count;
    }
    return count;
}

std::size_t Desktop::badPasteboardReleases() const noexcept { return state_->badReleases; }

// --- Keyboard ----------------------------------------------------------------------

void Desktop::setKeyHeld(int keyCode, bool held) {
    if (keyCode < 0 || keyCode >= static_cast<int>(kKeyMapBytes * 8)) return;
    const auto code = static_cast<std::size_t>(keyCode);
    const auto bit = static_cast<std::uint8_t>(1U << (code % 8));
    auto& byte = state_->keys[code / 8];
    byte = static_cast<std::uint8_t>(held ? (byte | bit) : (byte & ~bit));
}

void Desktop::holdModifiers(std::uint16_t modifiers) {
    static constexpr struct {
        std::uint16_t bit;
        int keyCode;
    } kModifierKeys[] = {
        {kModCommand, 55},   {kModShift, 56},      {kModCapsLock, 57},    {kModOption, 58},
        {kModControl, 59},   {kModRightShift, 60}, {kModRightOption, 61}, {kModRightControl, 62},
    };
    for (const auto& key : kModifierKeys) setKeyHeld(key.keyCode, (modifiers & key.bit) != 0);
}

void Desktop::releaseAllKeys() { state_->keys = {}; }

KeyMapBytes Desktop::keyMap() const noexcept { return state_->keys; }

void Desktop::queueKeyDown(unsigned char character, std::uint16_t modifiers) {
    state_->keyEvents.push_back({character, modifiers});
}

bool Desktop::isKeyDownWaiting(unsigned char character) const noexcept {
    for (const auto& event : state_->keyEvents) {
        if (event.character == character) return true;
    }
    return false;
}

bool Desktop::takeKeyEvent(KeyEvent& out) {
    if (state_->keyEvents.empty()) return false;
    out = state_->keyEvents.front();
    state_->keyEvents.pop_front();
    return true;
}

std::size_t Desktop::pendingKeyEvents() const noexcept { return state_->keyEvents.size(); }

// --- Processes --------------------------------------------------------------------

void Desktop::setHostName(std::string name) {
    State& s = *state_;
    for (auto& process : s.processes) {
        if (process.hasCreator && process.creator == 0) process.name = name;
    }
    s.hostName = std::move(name);
}

const std::string& Desktop::hostName() const noexcept { return state_->hostName; }

std::string Desktop::frontProcess() const {
    const Process* process = state_->findProcess(state_->front);
    return process != nullptr ? process->name : std::string();
}

void Desktop::bringToFront(std::string_view name, std::uint32_t creator) {
    State& s = *state_;
    for (const auto& process : s.processes) {
        if (process.name == name) {
            s.setFront(process);
            return;
        }
    }
    const Process& added = s.addProcess(std::string(name), std::string(), creator, creator != 0);
    s.setFront(added);
}

const std::vector<OpenedDocument>& Desktop::openedDocuments() const noexcept { return state_->opened; }

const std::vector<std::string>& Desktop::revealedFiles() const noexcept { return state_->revealed; }

}  // namespace desktop

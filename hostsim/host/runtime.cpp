#include "hostsim/host/runtime.h"

#include "desktop/desktop.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

namespace hostsim {

namespace {

// Runtimes alive, oldest first; the module's calls go to the last.
std::vector<Runtime*>& liveRuntimes() {
    static std::vector<Runtime*> runtimes;
    return runtimes;
}

const char* phaseProblem(Phase phase) noexcept {
    switch (phase) {
        case Phase::Activating: return "called during activation, before start-up";
        case Phase::ShutDown: return "called after shutdown";
        case Phase::NoModule:
        case Phase::Loaded:
        case Phase::Refused: return "called while no module is running";
        case Phase::StartingUp:
        case Phase::Running: break;
    }
    return nullptr;
}

}  // namespace

Runtime::Runtime(Options opts) : options(std::move(opts)) {
    tool = options.tool;
    clock = options.startTicks;
    liveRuntimes().push_back(this);
    setupHostMenus();
}

Runtime::~Runtime() {
    auto& live = liveRuntimes();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    for (QXStringRef__* string : strings) delete string;
    for (XTFile__* file : files) delete file;
    for (XTStream__* stream : streams) delete stream;
}

Runtime* Runtime::active() noexcept {
    const auto& live = liveRuntimes();
    return live.empty() ? nullptr : live.back();
}

// ---- validator ----------------------------------------------------------------------------------

bool Runtime::admit(const char* group, const char* field, unsigned needs) {
    if (const char* problem = phaseProblem(phase)) {
        violation(group, field, problem);
        return false;
    }
    if (bound.count(group) == 0) {
        violation(group, field, "called before the group was bound");
        return false;
    }
    if ((needs & kNeedDocument) != 0 && currentDocument() == nullptr) {
        violation(group, field, "called with no document open");
        return false;
    }
    if ((needs & kNeedDraw) != 0 && !draw.active) {
        violation(group, field, "called outside a box draw");
        return false;
    }
    if ((needs & kNeedPane) != 0 && !pane.dialogRunning) {
        violation(group, field, "called while no preferences dialog is open");
        return false;
    }
    return true;
}

void Runtime::violation(std::string_view group, std::string_view field, std::string_view what) {
    std::string message;
    message.append(group).append(".").append(field).append(" ").append(what);
    violationMessage(group, field, std::move(message));
}

void Runtime::violationMessage(std::string_view group, std::string_view field, std::string message) {
    if (options.transcribeViolations) note("violation: " + message);
    violations.push_back(Violation{std::string(group), std::string(field), std::move(message)});
}

desktop::Transcript& Runtime::transcript() noexcept { return desktop::Desktop::instance().transcript(); }

void Runtime::note(std::string_view line) { transcript().appendSimulatorLine(line); }

// ---- callbacks -----------------------------------------------------------------------------------

bool Runtime::registered(std::int32_t code) const noexcept {
    return std::any_of(registrations.begin(), registrations.end(), [code](const Registration& r) {
        return r.kind == Registration::Kind::Callback && r.code == code && r.proc != nullptr;
    });
}

std::string Runtime::callbackName(std::int32_t label) {
    switch (label) {
        case kLabelStartup: return "start-up";
        case kLabelPaneAlloc: return "pane allocation";
        case kLabelPaneHandler: return "the pane handler";
        case kLabelDragHandler: return "a drag handler";
        case kLabelScriptHandler: return "the scripting handler";
        default: return "callback " + std::to_string(label);
    }
}

int Runtime::dispatch(std::int32_t code, void* record) {
    if (phase != Phase::Running) return 0;
    if (!running.empty()) {
        const bool drawInside = code == XT_CB_DRAWBOX &&
                                std::find(running.begin(), running.end(), XT_CB_DRAWBOX) == running.end();
        if (!drawInside) {
            violationMessage("callback", std::to_string(code),
                             "callback " + std::to_string(code) + " re-entered while " +
                                 callbackName(running.back()) + " is running");
            return 0;
        }
    }
    std::vector<XTCallbackProc> procs;
    for (const Registration& r : registrations) {
        if (r.kind == Registration::Kind::Callback && r.code == code && r.proc != nullptr) procs.push_back(r.proc);
    }
    int called = 0;
    for (XTCallbackProc proc : procs) {
        const std::int32_t answer = inModule(code, [&] { return proc(record); });
        ++called;
        if (answer != 0) {
            violationMessage("callback", std::to_string(code),
                             "callback " + std::to_string(code) + " answered " + std::to_string(answer) +
                                 " (callbacks answer 0)");
        }
    }
    return called;
}

bool Runtime::beginAction(std::string_view what) {
    if (running.empty()) return true;
    const std::int32_t code = running.back();
    violationMessage("callback", std::to_string(code),
                     callbackName(code) + " re-entered: " + std::string(what) + " while " + callbackName(code) +
                         " is running");
    return false;
}

// ---- documents and windows --------------------------------------------------------------------------

Document* Runtime::currentDocument() noexcept { return documentByID(currentID()); }

const Document* Runtime::currentDocument() const noexcept {
    if (windowOrder.empty()) return nullptr;
    const auto it = docs.find(windowOrder.front());
    return it == docs.end() ? nullptr : &it->second->doc;
}

XTDocID Runtime::currentID() const noexcept { return windowOrder.empty() ? XTDocID{-1} : windowOrder.front(); }

Document* Runtime::documentByID(XTDocID doc) noexcept {
    const auto it = docs.find(doc);
    return it == docs.end() ? nullptr : &it->second->doc;
}

XTDocID Runtime::addDocument(Document doc) {
    // Ids are 16-bit; they are not reused while the host runs, and once spent
    // the lowest free one is taken.
    XTDocID id = nextDocID;
    if (id <= 0 || docs.count(id) != 0) {
        id = 1;
        while (docs.count(id) != 0) {
            if (id == INT16_MAX) return -1;
            ++id;
        }
    }
    auto entry = std::make_unique<OpenDocument>();
    entry->id = id;
    entry->doc = std::move(doc);
    docs.emplace(id, std::move(entry));
    windowOrder.insert(windowOrder.begin(), id);
    nextDocID = static_cast<XTDocID>(id < INT16_MAX ? id + 1 : 0);
    return id;
}

void Runtime::bringToFront(XTDocID doc) {
    const auto it = std::find(windowOrder.begin(), windowOrder.end(), doc);
    if (it == windowOrder.end()) return;
    windowOrder.erase(it);
    windowOrder.insert(windowOrder.begin(), doc);
}

XTDocID Runtime::docOfWindow(XTWindow window) const noexcept {
    const auto doc = static_cast<XTDocID>(window - 0x7000);
    return window > 0x7000 && window <= 0x7000 + INT16_MAX && docs.count(doc) != 0 ? doc : XTDocID{-1};
}

XTDocID Runtime::docOfView(XTViewRef view) const noexcept {
    const auto doc = static_cast<XTDocID>(view - 0x9000);
    return view > 0x9000 && view <= 0x9000 + INT16_MAX && docs.count(doc) != 0 ? doc : XTDocID{-1};
}

// ---- the view ------------------------------------------------------------------------------------------

double Runtime::spreadTop(const Document& doc, int spread) noexcept {
    double top = 0.0;
    if (spread <= 0) return top;
    const auto& spreads = doc.spreads();
    for (int i = 1; i < spread; ++i) {
        top += static_cast<std::size_t>(i) <= spreads.size() ? spreads[static_cast<std::size_t>(i - 1)].height
                                                             : (spreads.empty() ? 0.0 : spreads.back().height);
    }
    return top;
}

double Runtime::scaleOf(const Document& doc) noexcept {
    const double scale = fromFixed(doc.view.scale);
    return scale > 0 ? scale : 1.0;
}

void Runtime::spreadOrigin(const Document& doc, int spread, double& v, double& h) noexcept {
    const int current = doc.currentSpread();
    const double scale = scaleOf(doc);
    h = doc.view.originH;
    v = doc.view.originV;
    if (spread > 0 && current > 0) v += (spreadTop(doc, spread) - spreadTop(doc, current)) * scale;
}

ScreenPoint Runtime::toScreen(const Document& doc, SpreadPoint point) const {
    double v = 0, h = 0;
    spreadOrigin(doc, point.spread, v, h);
    const double scale = scaleOf(doc);
    return ScreenPoint{static_cast<int>(std::lround(kContentTop + v + point.v * scale)),
                       static_cast<int>(std::lround(kContentLeft + h + point.h * scale))};
}

SpreadPoint Runtime::toSpread(const Document& doc, ScreenPoint point) const {
    const double scale = scaleOf(doc);
    const int current = doc.currentSpread();
    double v0 = 0, h0 = 0;
    spreadOrigin(doc, current, v0, h0);
    const double localV = (point.v - kContentTop - v0) / scale;
    const double localH = (point.h - kContentLeft - h0) / scale;
    if (current <= 0) return SpreadPoint{current, localV, localH};
    // Points from the current spread's top, then the spread they fall on.
    const double fromFirst = localV + spreadTop(doc, current);
    for (int s = 1; s <= doc.numSpreads(); ++s) {
        const double top = spreadTop(doc, s);
        const double height = doc.spreads()[static_cast<std::size_t>(s - 1)].height;
        if (fromFirst >= top && fromFirst < top + height) return SpreadPoint{s, fromFirst - top, localH};
    }
    return SpreadPoint{0, localV, localH};
}

// ---- memory ------------------------------------------------------------------------------------------------

XTHandle Runtime::newHandle(HandleEntry entry) {
    const XTHandle handle = nextHandle++;
    handles.emplace(handle, std::move(entry));
    return handle;
}

HandleEntry* Runtime::lookupHandle(XTHandle handle, bool boxRecord, const char* group, const char* field) {
    const auto it = handles.find(handle);
    if (it == handles.end()) {
        char text[96];
        std::snprintf(text, sizeof text, "got handle 0x%llx, which is not live (never made or already disposed)",
                      static_cast<unsigned long long>(handle));
        violation(group, field, text);
        return nullptr;
    }
    if (it->second.boxRecord != boxRecord) {
        violation(group, field, boxRecord ? "got a memory handle where a box record belongs"
                                          : "got a box record where a memory handle belongs");
        return nullptr;
    }
    return &it->second;
}

void Runtime::reportLeaks() {
    std::size_t memory = 0, records = 0;
    for (const auto& [handle, entry] : handles) (entry.boxRecord ? records : memory) += 1;
    if (memory > 0) {
        violationMessage("xtmemory", "disposeHandle",
                         "xtmemory: " + std::to_string(memory) + " handle(s) never disposed at quit");
    }
    if (records > 0) {
        violationMessage("xtxtbox", "disposeBoxRecord",
                         "xtxtbox: " + std::to_string(records) + " box record(s) never disposed at quit");
    }
    if (!strings.empty()) {
        violationMessage("strings", "dispose",
                         "strings: " + std::to_string(strings.size()) + " host string(s) never disposed at quit");
    }
    if (!fonts.empty()) {
        violationMessage("xtfont", "disposeFontInstance",
                         "xtfont: " + std::to_string(fonts.size()) + " font instance(s) never disposed at quit");
    }
    if (!files.empty()) {
        violationMessage("xtfile", "dispose",
                         "xtfile: " + std::to_string(files.size()) + " file object(s) never disposed at quit");
    }
    if (!streams.empty()) {
        violationMessage("xtfile", "closeStream",
                         "xtfile: " + std::to_string(streams.size()) + " stream(s) never closed at quit");
    }
}

// ---- text helpers ----------------------------------------------------------------------------------------------

std::int32_t copyOut(std::string_view text, char* buffer, std::int32_t size) noexcept {
    const auto whole = static_cast<std::int32_t>(std::min<std::size_t>(text.size(), INT32_MAX));
    if (buffer == nullptr || size <= 0) return whole;
    std::size_t n = std::min(text.size(), static_cast<std::size_t>(size) - 1);
    // Never end inside a UTF-8 sequence.
    if (n < text.size()) {
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0U) == 0x80U) --n;
    }
    if (n > 0) std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return whole;
}

std::string fourCCLabel(std::uint32_t code) {
    std::string text = "'";
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<unsigned char>((code >> shift) & 0xFFU);
        if (c >= 0x20 && c < 0x7F) {
            text += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\%u", static_cast<unsigned>(c));
            text += escaped;
        }
    }
    return text + "'";
}

std::string pointsText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string rectText(const Rect& rect) {
    return "[" + pointsText(rect.top) + ", " + pointsText(rect.left) + ", " + pointsText(rect.bottom) + ", " +
           pointsText(rect.right) + "]";
}

}  // namespace hostsim

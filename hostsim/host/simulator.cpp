// Simulator: the module's life (load, activate, quit), the clock, the view
// conversions, scripting requests and what was recorded. Documents, menus,
// events, preferences and drags live in their own files.
#include "hostsim/host/simulator.h"

#include "hostsim/host/runtime.h"

#include "desktop/script_events.h"

namespace hostsim {

namespace {

constexpr std::uint32_t kScriptEvent = XT_FOURCC('A', 'M', 'S', 'o');

}  // namespace

Simulator::Simulator(Options options) : runtime_(std::make_unique<Runtime>(std::move(options))) {}

Simulator::~Simulator() {
    if (!runtime_->quitted) quit();
}

Options& Simulator::options() noexcept { return runtime_->options; }
Runtime& Simulator::runtime() noexcept { return *runtime_; }

bool Simulator::loadModule(const std::string& path) { return runtime_->loadModule(path); }
const std::string& Simulator::loadError() const noexcept { return runtime_->loadError; }
const std::string& Simulator::modulePath() const noexcept { return runtime_->module.file(); }

void Simulator::withhold(const std::string& nameOrID) { runtime_->options.withheld.insert(nameOrID); }

ActivationResult Simulator::activate() {
    Runtime& rt = *runtime_;
    if (!rt.beginAction("activation")) return rt.activation;
    ActivationResult result = rt.activate();
    rt.flushRedraw();
    return result;
}

bool Simulator::started() const noexcept { return runtime_->phase == Phase::Running; }

void Simulator::quit() {
    Runtime& rt = *runtime_;
    if (rt.quitted || !rt.beginAction("quit")) return;
    rt.quit();
    rt.quitted = true;
}

bool Simulator::quitted() const noexcept { return runtime_->quitted; }

void Simulator::setTool(std::int16_t tool) {
    runtime_->tool = tool;
    runtime_->note("tool " + std::to_string(tool));
}

void Simulator::setLanguage(std::int16_t regionCode) {
    Runtime& rt = *runtime_;
    if (!rt.beginAction("language")) return;
    rt.note("language: region " + std::to_string(regionCode));
    XTLanguageRec record{};
    record.size = sizeof record;
    record.regionCode = regionCode;
    rt.dispatch(XT_CB_LANGUAGE, &record);
    rt.flushRedraw();
}

void Simulator::switchIn() {
    Runtime& rt = *runtime_;
    if (!rt.beginAction("switch-in")) return;
    rt.clock += kActionTicks;
    desktop::Desktop::instance().bringToFront(desktop::Desktop::instance().hostName());
    rt.note("switch in");
    rt.dispatch(XT_CB_SWITCHIN, nullptr);
    rt.flushRedraw();
}

std::uint32_t Simulator::ticks() const noexcept { return runtime_->clock; }
void Simulator::advanceTicks(std::uint32_t ticks) { runtime_->clock += ticks; }

ScreenPoint Simulator::toScreen(SpreadPoint point) const {
    const Document* doc = runtime_->currentDocument();
    if (doc == nullptr) return ScreenPoint{static_cast<int>(point.v), static_cast<int>(point.h)};
    return runtime_->toScreen(*doc, point);
}

SpreadPoint Simulator::toSpread(ScreenPoint point) const {
    const Document* doc = runtime_->currentDocument();
    if (doc == nullptr) return SpreadPoint{0, static_cast<double>(point.v), static_cast<double>(point.h)};
    return runtime_->toSpread(*doc, point);
}

std::optional<std::string> Simulator::scriptRequest(const std::string& xml) {
    return scriptRequest(std::optional<std::string>(xml), kScriptEvent, kScriptEvent);
}

std::optional<std::string> Simulator::scriptRequest(const std::optional<std::string>& directText,
                                                    std::uint32_t eventClass, std::uint32_t eventID) {
    Runtime& rt = *runtime_;
    if (!rt.beginAction("scripting request")) return std::nullopt;
    const std::string event = fourCCLabel(eventClass) + "/" + fourCCLabel(eventID);
    if (!desktop::scriptHandlerInstalled(eventClass, eventID)) {
        rt.note("scripting request " + event + ": no handler installed");
        return std::nullopt;
    }
    rt.note("scripting request " + event + " (" +
            (directText ? std::to_string(directText->size()) + " bytes" : std::string("no text")) + ")");
    std::optional<std::string> reply =
        rt.inModule(kLabelScriptHandler, [&] { return desktop::sendScriptEvent(eventClass, eventID, directText); });
    rt.note(reply ? "scripting reply (" + std::to_string(reply->size()) + " bytes)" : std::string("scripting: no reply"));
    rt.flushRedraw();
    return reply;
}

const std::vector<Registration>& Simulator::registrations() const noexcept { return runtime_->registrations; }
const std::vector<Violation>& Simulator::violations() const noexcept { return runtime_->violations; }
std::vector<std::string> Simulator::groupsBound() const { return runtime_->groupsAsked; }
std::vector<std::int32_t> Simulator::dragViewKinds() const {
    std::vector<std::int32_t> kinds;
    for (const auto& [kind, handlers] : runtime_->dragHandlers) kinds.push_back(kind);
    return kinds;
}

const std::vector<DrawCall>& Simulator::drawCalls() const noexcept { return runtime_->drawCalls; }
const std::string& Simulator::postScript() const noexcept { return runtime_->postScript; }
std::size_t Simulator::liveHandles() const noexcept { return runtime_->handles.size(); }
desktop::Transcript& Simulator::transcript() noexcept { return runtime_->transcript(); }

}  // namespace hostsim

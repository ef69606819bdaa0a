// Print jobs: the job callbacks (282, 283) around the host's own output, the
// box-drawing callback (66) for every box of every printed page in three
// phases, and what comes out: a PostScript file into which the module's
// PostScript is spliced at the box being drawn, or output the host draws
// itself (a PDF or raster device), where the module draws through the
// drawing groups as on screen.
#include "hostsim/host/runtime.h"

#include "hostsim/print/postscript_writer.h"
#include "hostsim/print/print_pages.h"
#include "hostsim/render/page_renderer.h"

#include "desktop/agent.h"
#include "desktop/files/file_open.h"
#include "desktop/files/file_replace.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace hostsim {

namespace {

constexpr std::int16_t kFirstPhase = 1;
constexpr std::int16_t kLastPhase = 3;

// Stands in for the session's agent while a job runs: presses the run's
// answer at the first alert (the module's question), hands every other alert
// to the agent it replaced, and keeps what was asked.
class PrintAgent final : public desktop::Agent {
public:
    PrintAgent(std::shared_ptr<desktop::Agent> previous, std::optional<std::string> answer)
        : previous_(std::move(previous)), answer_(std::move(answer)) {}

    int answerAlert(const desktop::AlertRequest& alert) override {
        questions.push_back(alert.message);
        if (answer_ && !answered_) {
            answered_ = true;
            const int item = alert.itemTitled(*answer_);
            return item != 0 ? item : -1;  // a title the alert does not show is a fault
        }
        return previous_ ? previous_->answerAlert(alert) : desktop::kTakeDefault;
    }

    std::vector<std::string> questions;

private:
    std::shared_ptr<desktop::Agent> previous_;
    std::optional<std::string> answer_;
    bool answered_ = false;
};

// Installs a PrintAgent for the length of a job and puts the old agent back.
class AgentScope {
public:
    explicit AgentScope(const std::optional<std::string>& answer) {
        desktop::Desktop& desk = desktop::Desktop::instance();
        previous_ = desk.agent();
        agent_ = std::make_shared<PrintAgent>(previous_, answer);
        desk.setAgent(agent_);
    }
    ~AgentScope() { desktop::Desktop::instance().setAgent(previous_); }
    AgentScope(const AgentScope&) = delete;
    AgentScope& operator=(const AgentScope&) = delete;

    const std::vector<std::string>& questions() const noexcept { return agent_->questions; }

private:
    std::shared_ptr<desktop::Agent> previous_;
    std::shared_ptr<PrintAgent> agent_;
};

// What the module sent through psOutput since `mark`.
std::string_view sentSince(const Runtime& rt, std::size_t mark) {
    return mark <= rt.postScript.size() ? std::string_view(rt.postScript).substr(mark) : std::string_view();
}

bool writeFile(const std::string& path, const std::string& bytes, std::string& error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path parent = desktop::files::pathOf(path).parent_path();
    if (!parent.empty()) fs::create_directories(parent, ec);
    std::string reason;
    if (desktop::files::replaceFile(path, bytes, reason)) return true;
    error = "cannot write \"" + path + "\" (" + reason + ")";
    return false;
}

// "out.png" -> "out-3.png" for page 3.
std::string pagePath(const std::string& path, int page) {
    namespace fs = std::filesystem;
    const fs::path p = desktop::files::pathOf(path);
    fs::path named = p.parent_path() / p.stem();
    named += "-" + std::to_string(page);
    named += p.extension();
    return desktop::files::nameOf(named);
}

bool isPictureName(const std::string& path) {
    std::string ext = desktop::files::nameOf(desktop::files::pathOf(path).extension());
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".png" || ext == ".svg";
}

// One page of device output: the page's part of its spread, on white, with
// what the module drew through the drawing groups on top.
bool writeDevicePage(Runtime& rt, const Document& doc, const print::PrintPage& page, const std::string& path,
                     std::string& error) {
    render::SceneOptions options;
    options.area = render::Area{page.rect.left, page.rect.top, page.rect.right, page.rect.bottom};
    options.pasteboard = false;
    options.fonts = &rt.fontEngine();
    const render::Scene scene = render::spreadScene(doc, page.spread, kDevicePixelsPerPoint, rt.boxDrawings, options);
    std::error_code ignored;  // a folder that cannot be made fails the write below, with its reason
    const std::filesystem::path parent = desktop::files::pathOf(path).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ignored);
    return render::writeScene(scene, rt.fontEngine(), path, &error);
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace

void Runtime::beginOutputJob(std::int16_t kind) {
    jobRunning = true;
    outputKind = kind;
    postScript.clear();
    XTPrintJobRec record{};
    record.size = sizeof record;
    record.docID = currentID();
    record.outputKind = kind;
    dispatch(XT_CB_PRINTJOB_START, &record);
}

void Runtime::endOutputJob() {
    XTPrintJobRec record{};
    record.size = sizeof record;
    record.docID = currentID();
    record.outputKind = outputKind;
    dispatch(XT_CB_PRINTJOB_END, &record);
    jobRunning = false;
    outputKind = XT_OUTPUT_SCREEN;
}

PrintResult Simulator::print(const PrintRun& run) {
    Runtime& rt = runtime();
    PrintResult result;
    const bool postScript = run.output == PrintOutput::PostScript;
    const std::string label = "print " + quoted(run.path) + (postScript ? "" : " (device)");
    if (!rt.beginAction("print")) {
        result.error = "a callback is running";
        return result;
    }
    rt.clock += kActionTicks;
    const XTDocID docID = rt.currentID();
    const Document* doc = rt.currentDocument();
    if (doc == nullptr) {
        result.error = "no document open";
        rt.note(label + " failed: " + result.error);
        return result;
    }
    if (run.path.empty()) {
        result.error = "no output path";
        rt.note(label + " failed: " + result.error);
        return result;
    }
    if (!postScript && !isPictureName(run.path)) {
        result.error = "device output is written as .png or .svg pictures";
        rt.note(label + " failed: " + result.error);
        return result;
    }

    const std::vector<print::PrintPage> pages = print::printPages(*doc);
    print::PostScriptWriter writer(doc->projectName, doc->pageWidth, doc->pageHeight);
    {
        AgentScope agent(run.answer);
        rt.drawCalls.clear();
        rt.beginOutputJob(postScript ? std::int16_t{XT_OUTPUT_POSTSCRIPT} : std::int16_t{XT_OUTPUT_DEVICE});
        writer.setupData(rt.postScript);
        int ordinal = 0;
        for (const print::PrintPage& page : pages) {
            writer.beginPage(++ordinal, page.rect);
            rt.boxDrawings.clear();
            const XTPort port = rt.nextPort++;
            for (const BoxId id : page.boxes) {
                bool spliced = false;
                for (std::int16_t step = kFirstPhase; step <= kLastPhase; ++step) {
                    // The document may be gone or changed by what a callback did.
                    const Document* now = rt.documentByID(docID);
                    const Box* box = now != nullptr ? now->findBox(id) : nullptr;
                    if (box == nullptr) break;
                    // The host draws the box itself before its content phase, so
                    // that what the module draws in that phase lies on top.
                    if (step == XT_DRAW_PHASE_CONTENT) writer.drawBox(*box);
                    if (!rt.registered(XT_CB_DRAWBOX)) continue;
                    const std::size_t mark = rt.postScript.size();
                    rt.draw = DrawState{true, port, id, step};
                    XTDrawBoxRec record{};
                    record.size = sizeof record;
                    record.box = id;
                    record.phase = step;
                    record.port = port;
                    rt.dispatch(XT_CB_DRAWBOX, &record);
                    rt.draw = DrawState{};
                    const std::string_view sent = sentSince(rt, mark);
                    if (!sent.empty()) {
                        writer.splice(sent);
                        spliced = true;
                    }
                }
                if (spliced) ++result.snippets;
            }
            writer.endPage();
            if (!postScript && result.error.empty()) {
                const Document* now = rt.documentByID(docID);
                const std::string path = pagePath(run.path, ordinal);
                if (now != nullptr && writeDevicePage(rt, *now, page, path, result.error)) {
                    result.files.push_back(path);
                } else if (result.error.empty()) {
                    result.error = "the document went away during the job";
                }
            }
        }
        const std::size_t mark = rt.postScript.size();
        rt.endOutputJob();
        writer.trailerData(sentSince(rt, mark));
        result.questions = agent.questions();
    }
    result.pages = writer.pages();

    if (postScript) {
        if (!writeFile(run.path, writer.finish(), result.error)) {
            rt.note(label + " failed: " + result.error);
            rt.flushRedraw();
            return result;
        }
        result.files.push_back(run.path);
        rt.note(label + ": " + std::to_string(result.pages) + " pages, " + std::to_string(result.snippets) +
                " snippets");
    } else {
        if (!result.error.empty()) {
            rt.note(label + " failed: " + result.error);
            rt.flushRedraw();
            return result;
        }
        rt.note(label + ": " + std::to_string(result.pages) + " pages, " + std::to_string(rt.drawCalls.size()) +
                " draw calls, " + std::to_string(result.files.size()) + " pictures");
    }
    result.ok = true;
    rt.flushRedraw();
    return result;
}

}  // namespace hostsim

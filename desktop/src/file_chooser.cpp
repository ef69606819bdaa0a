// The application chooser: the agent names an application; only applications
// can be chosen (an executable file, or an application package as one item).
#include "platform/file_chooser.h"

#include <exception>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "desktop/desktop.h"
#include "state.h"

namespace lumbrel::platform {

namespace {

bool endsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Empty when `path` names an application, else why not.
std::string whyNoApplication(std::string path) {
    if (path.empty() || path[0] != '/') return "not an absolute path";
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return "no such file";
    if (S_ISDIR(info.st_mode)) return endsWith(path, ".app") ? std::string() : "a folder, not an application";
    if (!S_ISREG(info.st_mode) || ::access(path.c_str(), X_OK) != 0) return "not an application";
    return {};
}

}  // namespace

bool chooseApplication(const char* prompt, std::string& path) {
    desktop::Desktop& desk = desktop::Desktop::instance();
    desktop::ApplicationRequest request;
    request.prompt = prompt != nullptr ? prompt : "";
    const int outer = desk.state().nesting;
    request.nesting = outer + 1;

    desktop::ApplicationAnswer answer;
    std::string note;
    if (request.nesting > desktop::kMaxAgentNesting) {
        note = "nested too deep, Cancel taken";
    } else {
        const std::shared_ptr<desktop::Agent> agent = desk.agent();
        desk.state().nesting = outer + 1;
        try {
            answer = agent->chooseApplication(request);
        } catch (const std::exception& error) {
            note = std::string("agent error: ") + error.what() + ", Cancel taken";
            ++desk.state().agentFaults;
        } catch (...) {
            note = "agent error, Cancel taken";
            ++desk.state().agentFaults;
        }
        desk.state().nesting = outer;
    }

    bool chosen = false;
    std::string chosenPath = answer.path;
    while (chosenPath.size() > 1 && chosenPath.back() == '/') chosenPath.pop_back();
    if (note.empty()) {
        if (answer.kind == desktop::ApplicationAnswer::Kind::None) {
            note = "default";
        } else if (answer.kind == desktop::ApplicationAnswer::Kind::Choose) {
            const std::string why = whyNoApplication(answer.path);
            if (why.empty()) {
                chosen = true;
            } else {
                ++desk.state().agentFaults;
                note = desktop::quoteForTranscript(answer.path) + ": " + why + ", Cancel taken";
            }
        }
    }
    std::string line = "choose application " + desktop::quoteForTranscript(request.prompt) + " -> ";
    line += chosen ? desktop::quoteForTranscript(chosenPath) : "Cancel";
    if (!note.empty()) line += " (" + note + ")";
    desk.state().transcript.add(desktop::EntryKind::Chooser, std::move(line));
    if (!chosen) return false;
    try {
        path = std::move(chosenPath);
    } catch (...) {
        return false;
    }
    return true;
}

}  // namespace lumbrel::platform

// Other applications for the module: front process, opening documents,
// revealing files. Every request lands in the transcript, failed ones too.
#include "platform/processes.h"

#include <string>
#include <string_view>

#include "desktop/desktop.h"
#include "state.h"

namespace lumbrel::platform {

namespace {

desktop::Desktop::State& state() { return desktop::Desktop::instance().state(); }

// "/Applications/Edit.app" runs as "Edit".
std::string applicationName(std::string_view path) {
    while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
    const std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    constexpr std::string_view kBundleSuffix = ".app";
    if (name.size() > kBundleSuffix.size() && name.substr(name.size() - kBundleSuffix.size()) == kBundleSuffix) {
        name.remove_suffix(kBundleSuffix.size());
    }
    return std::string(name);
}

desktop::Process& runningApplication(desktop::Desktop::State& s, const std::string& path) {
    for (auto& process : s.processes) {
        if (process.path == path) return process;
    }
    return s.addProcess(applicationName(path), path, 0, false);
}

}  // namespace

int bringApplicationToFront(std::uint32_t creator, ProcessRef* previousFront) noexcept {
    try {
        auto& s = state();
        for (const auto& process : s.processes) {
            if (!process.hasCreator || process.creator != creator) continue;
            if (previousFront != nullptr) *previousFront = static_cast<ProcessRef>(s.front);
            s.setFront(process);
            return 0;
        }
        return -1;
    } catch (...) {
        return -1;
    }
}

int bringProcessToFront(ProcessRef process) noexcept {
    try {
        auto& s = state();
        const desktop::Process* found = s.findProcess(static_cast<std::uint32_t>(process));
        if (found == nullptr) return -1;
        s.setFront(*found);
        return 0;
    } catch (...) {
        return -1;
    }
}

int openDocument(const char* documentPath, const char* applicationPath) noexcept {
    try {
        auto& s = state();
        const std::string document = documentPath != nullptr ? documentPath : "";
        std::string line = "open " + desktop::quoteForTranscript(document) + " with ";
        line += applicationPath != nullptr ? desktop::quoteForTranscript(applicationPath) : "default application";
        const char* failure = nullptr;
        if (!desktop::pathExists(document.c_str())) {
            failure = "no such file";
        } else if (applicationPath != nullptr && !desktop::pathExists(applicationPath)) {
            failure = "no such application";
        }
        if (failure != nullptr) {
            s.transcript.add(desktop::EntryKind::Open, line + " failed: " + failure);
            return -1;
        }
        s.opened.push_back({document, applicationPath != nullptr ? applicationPath : ""});
        s.transcript.add(desktop::EntryKind::Open, std::move(line));
        // Which application a document opens with by default is not modelled,
        // so only a named application comes to the front.
        if (applicationPath != nullptr) s.setFront(runningApplication(s, applicationPath));
        return 0;
    } catch (...) {
        return -1;
    }
}

int revealInFileManager(const char* path) noexcept {
    try {
        auto& s = state();
        const std::string target = path != nullptr ? path : "";
        std::string line = "reveal " + desktop::quoteForTranscript(target);
        if (!desktop::pathExists(target.c_str())) {
            s.transcript.add(desktop::EntryKind::Reveal, line + " failed: no such file");
            return -1;
        }
        s.revealed.push_back(target);
        s.transcript.add(desktop::EntryKind::Reveal, std::move(line));
        for (const auto& process : s.processes) {
            if (process.hasCreator && process.creator == kCreatorFileManager) {
                s.setFront(process);
                break;
            }
        }
        return 0;
    } catch (...) {
        return -1;
    }
}

}  // namespace lumbrel::platform

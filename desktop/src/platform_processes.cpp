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

desktop::Process& runningApplication(desktop::Desktop::State& s, const std::string& path, std::uint32_t creator = 0) {
    for (auto& process : s.processes) {
        if (process.path == path) return process;
    }
    return s.addProcess(applicationName(path), path, creator, creator != 0);
}

// The applications installed on this desktop that files name by creator code.
struct InstalledApplication {
    std::uint32_t creator;
    const char* path;
};
constexpr InstalledApplication kInstalledApplications[] = {
    {0x74747874, "/Applications/TextEdit.app"},         // 'ttxt'
    {0x522A6368, "/Applications/BBEdit.app"},           // 'R*ch'
    {0x5843454C, "/Applications/Microsoft Excel.app"},  // 'XCEL'
};

std::string fourCharacters(std::uint32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<unsigned char>((code >> shift) & 0xFFU);
        text += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    return text;
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
        s.opened.push_back({document, applicationPath != nullptr ? applicationPath : "", 0, 0});
        s.transcript.add(desktop::EntryKind::Open, std::move(line));
        // Which application a document opens with by default is not modelled,
        // so only a named application comes to the front.
        if (applicationPath != nullptr) s.setFront(runningApplication(s, applicationPath));
        return 0;
    } catch (...) {
        return -1;
    }
}

int openDocumentWithCreator(const char* documentPath, std::uint32_t type, std::uint32_t creator) noexcept {
    try {
        auto& s = state();
        const std::string document = documentPath != nullptr ? documentPath : "";
        const char* application = nullptr;
        for (const auto& installed : kInstalledApplications) {
            if (installed.creator == creator) application = installed.path;
        }
        std::string line = "open " + desktop::quoteForTranscript(document) + " with ";
        line += application != nullptr ? desktop::quoteForTranscript(application) : "the application of its creator";
        // Type 0: an open request that leaves the file's type as it is.
        line += type != 0 ? " (type " + fourCharacters(type) + ", creator " : std::string(" (creator ");
        line += fourCharacters(creator) + ")";
        const char* failure = nullptr;
        if (!desktop::pathExists(document.c_str())) {
            failure = "no such file";
        } else if (application == nullptr) {
            failure = "no application has that creator";
        }
        if (failure != nullptr) {
            s.transcript.add(desktop::EntryKind::Open, line + " failed: " + failure);
            return -1;
        }
        s.opened.push_back({document, application, type, creator});
        s.transcript.add(desktop::EntryKind::Open, std::move(line));
        s.setFront(runningApplication(s, application, creator));
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

#include "desktop/transcript.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace desktop {

std::string escapeForTranscript(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(byte));
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

std::string quoteForTranscript(std::string_view text) {
    std::string out = "\"";
    out += escapeForTranscript(text);
    out += '"';
    return out;
}

void Transcript::add(EntryKind kind, std::string line) {
    entries_.push_back({kind, std::move(line)});
    if (!listener_ || notifying_) return;  // a listener adding lines gets them after it returns
    notifying_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{notifying_};
    // The listener sees entries in order, including any it caused.
    while (notified_ < entries_.size()) {
        const TranscriptEntry entry = entries_[notified_++];
        const Listener current = listener_;  // the listener may replace itself
        if (current) current(entry);
    }
}

void Transcript::appendSimulatorLine(std::string_view line) { add(EntryKind::Simulator, escapeForTranscript(line)); }

void Transcript::clear() noexcept {
    entries_.clear();
    notified_ = 0;
}

void Transcript::setListener(Listener listener) {
    listener_ = std::move(listener);
    notified_ = entries_.size();
}

std::vector<std::string> Transcript::linesOf(EntryKind kind) const {
    std::vector<std::string> lines;
    for (const auto& entry : entries_) {
        if (entry.kind == kind) lines.push_back(entry.line);
    }
    return lines;
}

std::string Transcript::render() const {
    std::string out;
    for (const auto& entry : entries_) {
        out += entry.line;
        out += '\n';
    }
    return out;
}

}  // namespace desktop

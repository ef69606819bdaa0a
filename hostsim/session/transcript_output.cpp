#include "transcript_output.h"

namespace hostsim::session {

TranscriptOutput::~TranscriptOutput() { detach(); }

void TranscriptOutput::addSink(std::FILE* file, bool actionLines) {
    if (file != nullptr) sinks_.push_back({file, actionLines});
}

void TranscriptOutput::attach(desktop::Transcript& transcript) {
    detach();
    transcript_ = &transcript;
    for (const desktop::TranscriptEntry& entry : transcript.entries()) write(entry);
    transcript.setListener([this](const desktop::TranscriptEntry& entry) { write(entry); });
}

void TranscriptOutput::detach() {
    if (transcript_ == nullptr) return;
    transcript_->setListener({});
    transcript_ = nullptr;
    for (const Sink& sink : sinks_) std::fflush(sink.file);
}

void TranscriptOutput::write(const desktop::TranscriptEntry& entry) {
    const bool action = entry.kind == desktop::EntryKind::Simulator && entry.line.rfind("> ", 0) == 0;
    for (const Sink& sink : sinks_) {
        if (action && !sink.actionLines) continue;
        std::fputs(entry.line.c_str(), sink.file);
        std::fputc('\n', sink.file);
        std::fflush(sink.file);
    }
}

}  // namespace hostsim::session

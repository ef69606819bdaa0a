// Writes the session's transcript as it grows, line by line, to files (the
// --transcript file, standard output), so that a person watching sees each
// line when it happens and a crashed session still leaves what came before.
#pragma once

#include "desktop/transcript.h"

#include <cstdio>
#include <vector>

namespace hostsim::session {

class TranscriptOutput {
public:
    TranscriptOutput() = default;
    ~TranscriptOutput();
    TranscriptOutput(const TranscriptOutput&) = delete;
    TranscriptOutput& operator=(const TranscriptOutput&) = delete;

    // Not owned. Without `actionLines` the "> ..." lines of the session's own
    // actions are left out (a person at a terminal has just typed them).
    void addSink(std::FILE* file, bool actionLines = true);
    // Writes the lines already there, then every new one.
    void attach(desktop::Transcript& transcript);
    void detach();

private:
    struct Sink {
        std::FILE* file;
        bool actionLines;
    };
    void write(const desktop::TranscriptEntry& entry);

    std::vector<Sink> sinks_;
    desktop::Transcript* transcript_ = nullptr;
};

}  // namespace hostsim::session

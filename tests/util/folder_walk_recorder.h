// What the folder-walk tests record of a walk, shared by the tests that run
// in every build and the POSIX-only ones.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "util/files_paths.h"

namespace lumbrel::test {

// What the callbacks record; `stopAt` makes the callback answer false for
// that call (counted from 1), `scribble` makes it overwrite the path it got.
struct Recorder {
    std::vector<std::string> paths;
    std::size_t stopAt = 0;
    bool scribble = false;
};

inline bool record(char* path, std::intptr_t value) {
    auto& recorder = *reinterpret_cast<Recorder*>(value);
    recorder.paths.emplace_back(path);
    if (recorder.scribble) std::memset(path, 'X', std::strlen(path));
    return recorder.paths.size() != recorder.stopAt;
}

inline bool walk(const std::string& folder, Recorder& recorder, bool deep) {
    return EnumFolder(folder.c_str(), record, reinterpret_cast<std::intptr_t>(&recorder), deep);
}

}  // namespace lumbrel::test

// What one swap run does, as its dialog fills it.
#pragma once

#include <cstdint>

#include "swap/twin_search.h"
#include "xtapi.h"

namespace lumbrel {

enum class SwapDirection { None, HiToLo, LoToHi };

struct SwapOptions {
    SwapDirection direction = SwapDirection::None;  // None: the dialog was cancelled
    TwinRules rules;
    bool selectedOnly = false;
    bool hasCurrentBox = false;  // enables "Selected objects only"
    int loResCount = 0;          // low-resolution pictures of the document (low to high)
    int swapCount = 0;           // pictures replaced
};

inline constexpr const char* kSwappingSection = "Swapping";

}  // namespace lumbrel

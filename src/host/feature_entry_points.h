// Where the event filter hands events to features that arrive later: the
// idle step of dropping, renaming a picture's
// file. Each feature takes its entry point over into its own folder.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// The idle step of dropping, run on every null event.
void doDropIdle(XTEventRec* event);

// Command-Shift-R: renames the current picture's file. The answer becomes
// the event's type (0 swallows the key).
std::int16_t renamePicture();

}  // namespace lumbrel

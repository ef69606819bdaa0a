// The keyboard as the features ask it: a held Shift key, a waiting Escape,
// and the system beep.
#pragma once

namespace lumbrel {

// True when Shift alone is held: the modifier word of the key map (bytes 4
// to 7, big-endian) is exactly 1, so any other modifier held with it makes
// this false.
bool shiftKeyPressed() noexcept;

// True when a key-down event with character code 27 (Escape) is waiting.
bool checkForEscKey() noexcept;

void beep() noexcept;

}  // namespace lumbrel

// The live keyboard state, in the Mac's key-map form: 128 bits, one per
// virtual key code. Key code k is bit (k % 8) of byte (k / 8), so the modifier
// keys (codes 55 to 62) sit in bytes 6 and 7. Read as one big-endian 32-bit
// value, bytes 4 to 7 give the modifier word: Shift alone is exactly 1,
// Command adds 0x8000, Option 4, Control 8, Caps Lock 2. On Windows the
// Windows key is Command and Alt is Option.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumbrel::platform {

inline constexpr std::size_t kKeyMapSize = 16;

struct KeyMap {
    std::uint8_t bytes[kKeyMapSize];
};

// Virtual key codes of the modifier keys and of the keys the module asks for.
inline constexpr int kKeyCodeEscape = 53;
inline constexpr int kKeyCodeCommand = 55;
inline constexpr int kKeyCodeShift = 56;
inline constexpr int kKeyCodeCapsLock = 57;
inline constexpr int kKeyCodeOption = 58;
inline constexpr int kKeyCodeControl = 59;
inline constexpr int kKeyCodeRightShift = 60;
inline constexpr int kKeyCodeRightOption = 61;
inline constexpr int kKeyCodeRightControl = 62;

// First byte of the modifier word.
inline constexpr std::size_t kKeyMapModifierOffset = 4;

// Fills `out` with the keys held at this moment.
void getKeys(KeyMap& out) noexcept;

// True when a key was pressed down whose event still waits in the event queue
// with this character code (27 for Escape). The event stays in the queue.
bool isKeyDownWaiting(unsigned char characterCode) noexcept;

// The modifier word of a key map: bytes 4 to 7 as one big-endian value.
inline std::uint32_t keyMapModifierWord(const KeyMap& keys) noexcept {
    const std::uint8_t* b = keys.bytes + kKeyMapModifierOffset;
    return (static_cast<std::uint32_t>(b[0]) << 24) | (static_cast<std::uint32_t>(b[1]) << 16) |
           (static_cast<std::uint32_t>(b[2]) << 8) | static_cast<std::uint32_t>(b[3]);
}

// True when key code `code` is held in `keys`.
inline bool keyMapHolds(const KeyMap& keys, int code) noexcept {
    if (code < 0 || code >= static_cast<int>(kKeyMapSize * 8)) return false;
    const auto index = static_cast<std::size_t>(code);
    return ((keys.bytes[index / 8] >> (index % 8)) & 1U) != 0;
}

}  // namespace lumbrel::platform

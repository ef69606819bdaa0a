// The key map from the thread's keyboard state (GetKeyState), the modifier
// keys placed where the Mac's key map has them: the Windows key as Command,
// Alt as Option.
#include "platform/keyboard.h"

#include <cstring>

#include "platform/win32/windows_api.h"

namespace lumbrel::platform {

namespace {

struct KeyPlace {
    int virtualKey;
    int keyCode;
    bool toggled;  // Caps Lock counts while it is on, not while it is held
};

constexpr KeyPlace kKeys[] = {
    {VK_ESCAPE, kKeyCodeEscape, false},   {VK_LWIN, kKeyCodeCommand, false},
    {VK_RWIN, kKeyCodeCommand, false},    {VK_LSHIFT, kKeyCodeShift, false},
    {VK_RSHIFT, kKeyCodeRightShift, false}, {VK_CAPITAL, kKeyCodeCapsLock, true},
    {VK_LMENU, kKeyCodeOption, false},    {VK_RMENU, kKeyCodeRightOption, false},
    {VK_LCONTROL, kKeyCodeControl, false}, {VK_RCONTROL, kKeyCodeRightControl, false},
};

bool isDown(int virtualKey) noexcept { return (::GetKeyState(virtualKey) & 0x8000) != 0; }

void hold(KeyMap& keys, int code) noexcept {
    const auto index = static_cast<std::size_t>(code);
    keys.bytes[index / 8] = static_cast<std::uint8_t>(keys.bytes[index / 8] | (1U << (index % 8)));
}

}  // namespace

void getKeys(KeyMap& out) noexcept {
    std::memset(out.bytes, 0, sizeof out.bytes);
    for (const KeyPlace& key : kKeys) {
        const bool on = key.toggled ? (::GetKeyState(key.virtualKey) & 1) != 0 : isDown(key.virtualKey);
        if (on) hold(out, key.keyCode);
    }
    // A state set without the left/right distinction (SetKeyboardState, some
    // remote sessions) still counts, as the left key.
    if (isDown(VK_SHIFT) && !keyMapHolds(out, kKeyCodeRightShift)) hold(out, kKeyCodeShift);
    if (isDown(VK_CONTROL) && !keyMapHolds(out, kKeyCodeRightControl)) hold(out, kKeyCodeControl);
    if (isDown(VK_MENU) && !keyMapHolds(out, kKeyCodeRightOption)) hold(out, kKeyCodeOption);
}

// The first key-down waiting in this thread's queue; its virtual key is the
// character code for Escape, Return, Tab and the capital letters and digits.
bool isKeyDownWaiting(unsigned char characterCode) noexcept {
    MSG waiting{};
    if (!::PeekMessageW(&waiting, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE | PM_NOYIELD)) return false;
    return waiting.wParam == characterCode;
}

}  // namespace lumbrel::platform

// The thread's keyboard state (SetKeyboardState): what GetKeyState answers
// to the module while it handles the action.
#include "hostsim/host/system_keys.h"

#include "desktop/desktop.h"

#include <windows.h>

namespace hostsim {

namespace {

void setDown(BYTE (&state)[256], int virtualKey, bool down) {
    state[virtualKey] = static_cast<BYTE>(down ? (state[virtualKey] | 0x80) : (state[virtualKey] & ~0x80));
}

}  // namespace

void holdSystemModifiers(std::uint16_t modifiers) {
    BYTE state[256] = {};
    if (!GetKeyboardState(state)) return;
    const struct {
        std::uint16_t left, right;
        int leftKey, rightKey, eitherKey;
    } keys[] = {
        {desktop::kModShift, desktop::kModRightShift, VK_LSHIFT, VK_RSHIFT, VK_SHIFT},
        {desktop::kModControl, desktop::kModRightControl, VK_LCONTROL, VK_RCONTROL, VK_CONTROL},
        {desktop::kModOption, desktop::kModRightOption, VK_LMENU, VK_RMENU, VK_MENU},
    };
    for (const auto& key : keys) {
        const bool left = (modifiers & key.left) != 0;
        const bool right = (modifiers & key.right) != 0;
        setDown(state, key.leftKey, left);
        setDown(state, key.rightKey, right);
        setDown(state, key.eitherKey, left || right);
    }
    setDown(state, VK_LWIN, (modifiers & desktop::kModCommand) != 0);
    SetKeyboardState(state);
}

}  // namespace hostsim

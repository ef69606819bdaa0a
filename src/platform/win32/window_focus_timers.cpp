// Keyboard focus and window timers over user32.
#include "platform/win32/window_state.h"

namespace lumbrel::platform {

WindowRef setFocus(WindowRef window) noexcept {
    const HWND target = win32::toHwnd(window);
    if (target != nullptr && !::IsWindow(target)) return focusedWindow();
    return win32::toRef(::SetFocus(target));
}

WindowRef focusedWindow() noexcept { return win32::toRef(::GetFocus()); }

bool setTimer(WindowRef window, std::uintptr_t id, unsigned periodMs) noexcept {
    const HWND hwnd = win32::toHwnd(window);
    if (hwnd == nullptr || !::IsWindow(hwnd)) return false;
    return ::SetTimer(hwnd, static_cast<UINT_PTR>(id), periodMs, nullptr) != 0;
}

void killTimer(WindowRef window, std::uintptr_t id) noexcept {
    const HWND hwnd = win32::toHwnd(window);
    if (hwnd != nullptr && ::IsWindow(hwnd)) ::KillTimer(hwnd, static_cast<UINT_PTR>(id));
}

}  // namespace lumbrel::platform

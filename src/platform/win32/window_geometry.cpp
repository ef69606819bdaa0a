// Window rectangles and coordinates over user32.
#include "platform/win32/window_state.h"

namespace lumbrel::platform {

namespace {

using win32::toHwnd;

WindowRect fromRect(const RECT& r) noexcept { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

}  // namespace

WindowRect windowRect(WindowRef window) noexcept {
    RECT r{};
    const HWND hwnd = toHwnd(window);
    if (!::IsWindow(hwnd) || !::GetWindowRect(hwnd, &r)) return {};
    if ((::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) != 0) {
        ::MapWindowPoints(nullptr, ::GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    }
    return fromRect(r);
}

void setWindowRect(WindowRef window, const WindowRect& rect) noexcept {
    if (::IsWindow(toHwnd(window))) ::MoveWindow(toHwnd(window), rect.left, rect.top, rect.width, rect.height, TRUE);
}

WindowRect clientRect(WindowRef window) noexcept {
    RECT r{};
    if (!::IsWindow(toHwnd(window)) || !::GetClientRect(toHwnd(window), &r)) return {};
    return fromRect(r);
}

WindowRect outerRectForClient(const WindowRect& client, std::uint32_t windowStyle, std::uint32_t exStyle) noexcept {
    RECT r{client.left, client.top, client.left + client.width, client.top + client.height};
    if (!::AdjustWindowRectEx(&r, windowStyle, FALSE, exStyle)) return client;
    return fromRect(r);
}

WindowRect screenRect() noexcept {
    RECT r{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) return {};
    return fromRect(r);
}

WindowPoint clientToScreen(WindowRef window, WindowPoint point) noexcept {
    POINT p{point.x, point.y};
    if (!::IsWindow(toHwnd(window)) || !::ClientToScreen(toHwnd(window), &p)) return point;
    return {p.x, p.y};
}

WindowPoint screenToClient(WindowRef window, WindowPoint point) noexcept {
    POINT p{point.x, point.y};
    if (!::IsWindow(toHwnd(window)) || !::ScreenToClient(toHwnd(window), &p)) return point;
    return {p.x, p.y};
}

}  // namespace lumbrel::platform

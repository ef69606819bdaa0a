// Procedures, subclassing and messages: the module's WindowProc chain over
// GWLP_WNDPROC and the trampoline.
#include <string>

#include "platform/win32/window_state.h"

namespace lumbrel::platform {

namespace {

using win32::findState;
using win32::toHwnd;

// Stands for the procedure a window had before the module subclassed it.
std::intptr_t LUMBREL_CALLBACK nativeProcedure(WindowRef window, Message message, std::uintptr_t wParam,
                                               std::intptr_t lParam) {
    return win32::handOn(toHwnd(window), message, wParam, lParam, false);
}

template <typename Send>
LRESULT sendCharacter(std::uintptr_t codePoint, Send send) {
    if (codePoint <= 0xFFFF) return send(static_cast<WPARAM>(codePoint));
    const std::uintptr_t offset = codePoint - 0x10000U;
    send(static_cast<WPARAM>(0xD800U + (offset >> 10)));
    return send(static_cast<WPARAM>(0xDC00U + (offset & 0x3FFU)));
}

}  // namespace

namespace win32 {

LRESULT handOn(HWND window, Message message, std::uintptr_t wParam, std::intptr_t lParam, bool viaDefault) noexcept {
    WindowState* state = findState(window);
    Frame* frame = state != nullptr ? state->frames : nullptr;
    const bool current = frame != nullptr && frame->message == message && frame->wParam == wParam &&
                         frame->lParam == lParam;
    if (current && viaDefault && frame->dialogProcedure) {
        // The dialog manager does the default once the dialog procedure answers "not handled".
        frame->fellThrough = true;
        return 0;
    }
    const WNDPROC native = state != nullptr ? state->native : nullptr;
    const auto pass = [&](UINT m, WPARAM w, LPARAM l) -> LRESULT {
        return native != nullptr ? ::CallWindowProcW(native, window, m, w, l) : ::DefWindowProcW(window, m, w, l);
    };
    if (message == Message::Char) {
        return sendCharacter(wParam, [&](WPARAM unit) { return pass(WM_CHAR, unit, lParam); });
    }
    if (current) return pass(frame->nativeMessage, frame->nativeWParam, frame->nativeLParam);
    return pass(static_cast<UINT>(message), static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

}  // namespace win32

WindowProc windowProc(WindowRef window) noexcept {
    const HWND hwnd = toHwnd(window);
    if (hwnd == nullptr || !::IsWindow(hwnd)) return nullptr;
    if (const win32::WindowState* state = findState(hwnd)) {
        if (state->proc != nullptr) return state->proc;
        if (state->classProc != nullptr) return state->classProc;
    }
    return &nativeProcedure;
}

WindowProc setWindowProc(WindowRef window, WindowProc procedure) noexcept {
    if (procedure == nullptr) return nullptr;
    win32::WindowState* state = win32::ensureState(toHwnd(window));
    if (state == nullptr) return nullptr;
    const WindowProc old = windowProc(window);
    // Restoring the class's own procedure removes the subclass.
    state->proc = procedure == &nativeProcedure || procedure == state->classProc ? nullptr : procedure;
    return old;
}

std::intptr_t callWindowProc(WindowProc procedure, WindowRef window, Message message, std::uintptr_t wParam,
                             std::intptr_t lParam) {
    if (procedure == nullptr || !::IsWindow(toHwnd(window))) return 0;
    return procedure(window, message, wParam, lParam);
}

std::intptr_t defWindowProc(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (!::IsWindow(toHwnd(window))) return 0;
    return win32::handOn(toHwnd(window), message, wParam, lParam, true);
}

std::intptr_t sendMessage(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) {
    const HWND hwnd = toHwnd(window);
    if (hwnd == nullptr || !::IsWindow(hwnd)) return 0;
    if (message == Message::Char) {
        return sendCharacter(wParam, [&](WPARAM unit) { return ::SendMessageW(hwnd, WM_CHAR, unit, lParam); });
    }
    return ::SendMessageW(hwnd, static_cast<UINT>(message), static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

bool postMessage(WindowRef window, Message message, std::uintptr_t wParam, std::intptr_t lParam) noexcept {
    const HWND hwnd = toHwnd(window);
    if (hwnd == nullptr || !::IsWindow(hwnd)) return false;
    if (message == Message::Char) {
        return sendCharacter(wParam, [&](WPARAM unit) -> LRESULT {
                   return ::PostMessageW(hwnd, WM_CHAR, unit, lParam);
               }) != 0;
    }
    return ::PostMessageW(hwnd, static_cast<UINT>(message), static_cast<WPARAM>(wParam),
                          static_cast<LPARAM>(lParam)) != 0;
}

}  // namespace lumbrel::platform

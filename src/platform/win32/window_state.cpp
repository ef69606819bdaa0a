#include "platform/win32/window_state.h"

#include <new>
#include <unordered_map>

#include "platform/win32/canvas.h"

namespace lumbrel::platform::win32 {

namespace {

constexpr const wchar_t* kStateProperty = L"Lumbrel.WindowState";
constexpr const wchar_t* kModelessClass = L"ModelessDialog";

thread_local WindowProc gPendingModeless = nullptr;

std::wstring classNameOf(HWND window) {
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0U);
}

bool isHighSurrogate(WPARAM unit) noexcept { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(WPARAM unit) noexcept { return unit >= 0xDC00 && unit <= 0xDFFF; }

WindowRect toWindowRect(const RECT& r) noexcept { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

// Drops the state once the window is gone and no call for it is running.
void releaseIfDone(HWND window, WindowState* state) noexcept {
    if (state->destroyed && state->calls == 0) {
        (void)window;
        delete state;
    }
}

}  // namespace

WindowState* findState(HWND window) noexcept {
    if (window == nullptr || !::IsWindow(window)) return nullptr;
    return static_cast<WindowState*>(::GetPropW(window, kStateProperty));
}

WindowState* ensureState(HWND window) noexcept {
    if (window == nullptr || !::IsWindow(window)) return nullptr;
    if (WindowState* state = findState(window)) return state;
    auto* state = new (std::nothrow) WindowState;
    if (state == nullptr) return nullptr;
    if (!::SetPropW(window, kStateProperty, state)) {
        delete state;
        return nullptr;
    }
    const auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (current != &trampoline) {
        state->native = current;
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&trampoline));
    }
    return state;
}

namespace {

struct ClassRegistry {
    std::unordered_map<std::wstring, WindowProc> procedures;  // by lower-case class name
};

ClassRegistry& registry() {
    static ClassRegistry instance;
    return instance;
}

std::wstring lowered(std::wstring name) {
    for (wchar_t& c : name) c = static_cast<wchar_t>(::towlower(c));
    return name;
}

}  // namespace

bool rememberClassProcedure(const std::wstring& className, WindowProc procedure) {
    auto [it, inserted] = registry().procedures.emplace(lowered(className), procedure);
    return inserted || it->second == procedure;
}

WindowProc registeredProcedure(HWND window) noexcept {
    try {
        const auto found = registry().procedures.find(lowered(classNameOf(window)));
        return found != registry().procedures.end() ? found->second : nullptr;
    } catch (...) {
        return nullptr;
    }
}

void setPendingModelessProcedure(WindowProc procedure) noexcept { gPendingModeless = procedure; }

bool isModelessClass(HWND window) noexcept {
    try {
        return lowered(classNameOf(window)) == lowered(kModelessClass);
    } catch (...) {
        return false;
    }
}

LRESULT deliver(HWND window, WindowState& state, WindowProc procedure, UINT message, WPARAM wParam, LPARAM lParam,
                bool dialogProcedure, bool& handled) {
    Frame frame;
    frame.dialogProcedure = dialogProcedure;
    frame.message = static_cast<Message>(message);
    frame.wParam = wParam;
    frame.lParam = lParam;
    frame.nativeMessage = message;
    frame.nativeWParam = wParam;
    frame.nativeLParam = lParam;

    Canvas canvas;
    DrawItem item;
    PAINTSTRUCT paint{};
    bool painting = false;
    switch (message) {
        case WM_CHAR:
            // A character beyond the BMP arrives as two units: the module sees one code point.
            if (isHighSurrogate(wParam)) {
                state.pendingHighSurrogate = static_cast<wchar_t>(wParam);
                handled = true;
                return 0;
            }
            if (isLowSurrogate(wParam) && state.pendingHighSurrogate != 0) {
                frame.wParam = 0x10000U + ((static_cast<std::uintptr_t>(state.pendingHighSurrogate) - 0xD800U) << 10) +
                               (wParam - 0xDC00U);
            }
            state.pendingHighSurrogate = 0;
            break;
        case WM_PAINT:
            // Module classes paint through a Canvas; native controls paint themselves.
            if (state.native == nullptr && !dialogProcedure) {
                canvas.dc = ::BeginPaint(window, &paint);
                painting = true;
                frame.lParam = reinterpret_cast<std::intptr_t>(&canvas);
            }
            break;
        case WM_DRAWITEM: {
            const auto* native = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (native != nullptr && native->CtlType == ODT_LISTBOX) {
                canvas.dc = native->hDC;
                item.control = toRef(native->hwndItem);
                item.controlId = static_cast<int>(native->CtlID);
                item.item = static_cast<int>(native->itemID);
                item.rect = toWindowRect(native->rcItem);
                item.selected = (native->itemState & ODS_SELECTED) != 0;
                item.canvas = &canvas;
                frame.lParam = reinterpret_cast<std::intptr_t>(&item);
            }
            break;
        }
        default:
            break;
    }

    frame.outer = state.frames;
    state.frames = &frame;
    ++state.calls;
    LRESULT result = 0;
    try {
        result = procedure(toRef(window), frame.message, frame.wParam, frame.lParam);
    } catch (...) {
        result = 0;  // nothing may unwind through user32
    }
    state.frames = frame.outer;
    --state.calls;
    if (painting) ::EndPaint(window, &paint);
    handled = !frame.fellThrough;
    return result;
}

LRESULT CALLBACK trampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowState* state = findState(window);
    if (state == nullptr && message == WM_NCCREATE) {
        // A window of a module class (or the modeless shell) being made.
        WindowProc procedure = registeredProcedure(window);
        const bool modeless = procedure == nullptr && isModelessClass(window);
        if (modeless) {
            procedure = gPendingModeless;
            gPendingModeless = nullptr;
        }
        if (procedure != nullptr) {
            state = ensureState(window);
            if (state != nullptr) {
                state->classProc = procedure;
                if (modeless) state->shell = ShellKind::Modeless;
            }
        }
    }
    if (state == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);

    ++state->calls;
    LRESULT result = 0;
    const WindowProc procedure = state->proc != nullptr ? state->proc : state->classProc;
    // Native controls paint themselves, whoever subclassed them.
    if (procedure != nullptr && !(message == WM_PAINT && state->native != nullptr)) {
        bool handled = true;
        result = deliver(window, *state, procedure, message, wParam, lParam, false, handled);
    } else if (state->native != nullptr) {
        result = ::CallWindowProcW(state->native, window, message, wParam, lParam);
    } else {
        result = ::DefWindowProcW(window, message, wParam, lParam);
    }
    --state->calls;
    if (message == WM_NCDESTROY) {
        ::RemovePropW(window, kStateProperty);
        // The window keeps no pointer to us once it is gone.
        if (state->native != nullptr) ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(state->native));
        state->destroyed = true;
    }
    releaseIfDone(window, state);
    return result;
}

}  // namespace lumbrel::platform::win32

// Window classes, creation, destruction and the window tree over user32.
#include "platform/win32/common_controls.h"

#include <string>

#include "platform/win32/own_module.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/window_state.h"

namespace lumbrel::platform {

namespace {

using win32::toHwnd;
using win32::toRef;

void initCommonControls() noexcept {
    static const bool done = [] {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS | ICC_TAB_CLASSES};
        return ::InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)done;
}

bool isLive(HWND window) noexcept { return window != nullptr && ::IsWindow(window) != FALSE; }

}  // namespace

bool registerWindowClass(const char* className, WindowProc procedure) noexcept {
    if (className == nullptr || className[0] == '\0' || procedure == nullptr) return false;
    try {
        std::wstring name;
        if (!win32::toWide(className, name)) return false;
        if (!win32::rememberClassProcedure(name, procedure)) return false;
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = &win32::trampoline;
        windowClass.hInstance = win32::ownModule();
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        windowClass.lpszClassName = name.c_str();
        return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    } catch (...) {
        return false;
    }
}

WindowRef createWindow(const char* className, std::string_view text, std::uint32_t style, std::uint32_t exStyle,
                       const WindowRect& rect, WindowRef parent, int id) noexcept {
    if (className == nullptr || (parent != nullptr && !isLive(toHwnd(parent)))) return nullptr;
    initCommonControls();
    try {
        std::wstring wideClass;
        std::wstring wideText;
        if (!win32::toWide(className, wideClass) || !win32::toWide(std::string(text).c_str(), wideText)) return nullptr;
        if (parent == nullptr) style &= ~style::kChild;
        const auto menuOrId =
            (style & style::kChild) != 0 ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
        const HWND made = ::CreateWindowExW(exStyle, wideClass.c_str(), wideText.c_str(), style, rect.left, rect.top,
                                            rect.width, rect.height, toHwnd(parent), menuOrId, win32::ownModule(), nullptr);
        // The dialog manager keeps its default id apart from the buttons' styles:
        // a default push button made into a dialog becomes that id.
        const bool defaultButton = wideClass == L"Button" && (style & style::kButtonTypeMask) == style::kDefPushButton;
        if (made != nullptr && defaultButton && (style & style::kChild) != 0) {
            const win32::WindowState* shell = win32::findState(::GetAncestor(made, GA_ROOT));
            if (shell != nullptr && shell->shell == win32::ShellKind::Modal) {
                ::SendMessageW(::GetAncestor(made, GA_ROOT), DM_SETDEFID, static_cast<WPARAM>(id), 0);
            }
        }
        return toRef(made);
    } catch (...) {
        return nullptr;
    }
}

void destroyWindow(WindowRef window) noexcept {
    if (isLive(toHwnd(window))) ::DestroyWindow(toHwnd(window));
}

bool isWindow(WindowRef window) noexcept { return isLive(toHwnd(window)); }

std::string className(WindowRef window) {
    if (!isLive(toHwnd(window))) return {};
    wchar_t name[256] = {};
    const int length = ::GetClassNameW(toHwnd(window), name, 256);
    std::string out;
    if (length <= 0 || !win32::toUtf8(name, static_cast<std::size_t>(length), out)) return {};
    return out;
}

std::uint32_t windowStyle(WindowRef window) noexcept {
    if (!isLive(toHwnd(window))) return 0;
    return static_cast<std::uint32_t>(::GetWindowLongPtrW(toHwnd(window), GWL_STYLE));
}

std::uint32_t windowExStyle(WindowRef window) noexcept {
    if (!isLive(toHwnd(window))) return 0;
    return static_cast<std::uint32_t>(::GetWindowLongPtrW(toHwnd(window), GWL_EXSTYLE));
}

int controlId(WindowRef window) noexcept {
    if (!isLive(toHwnd(window))) return -1;
    if ((windowStyle(window) & style::kChild) == 0) return 0;
    return static_cast<int>(::GetWindowLongPtrW(toHwnd(window), GWLP_ID));
}

WindowRef parentWindow(WindowRef window) noexcept {
    if (!isLive(toHwnd(window)) || (windowStyle(window) & style::kChild) == 0) return nullptr;
    return toRef(::GetAncestor(toHwnd(window), GA_PARENT));
}

WindowRef topLevelWindow(WindowRef window) noexcept {
    if (!isLive(toHwnd(window))) return nullptr;
    return toRef(::GetAncestor(toHwnd(window), GA_ROOT));
}

// Children are linked below their older siblings, so the child list runs in creation order.
WindowRef firstChild(WindowRef window) noexcept {
    if (!isLive(toHwnd(window))) return nullptr;
    return toRef(::GetWindow(toHwnd(window), GW_CHILD));
}

WindowRef nextSibling(WindowRef window) noexcept {
    if (!isLive(toHwnd(window)) || (windowStyle(window) & style::kChild) == 0) return nullptr;
    return toRef(::GetWindow(toHwnd(window), GW_HWNDNEXT));
}

WindowRef findChild(WindowRef window, int id) noexcept {
    for (WindowRef child = firstChild(window); child != nullptr; child = nextSibling(child)) {
        if (controlId(child) == id) return child;
        if (WindowRef inner = findChild(child, id)) return inner;
    }
    return nullptr;
}

}  // namespace lumbrel::platform

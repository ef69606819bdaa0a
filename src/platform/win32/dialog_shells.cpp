// The module's dialog shells: modal ones from the "MyDialog" template run by
// the dialog manager, modeless ones of the "ModelessDialog" class, and the
// pop-up menu.
#include <string>

#include "platform/win32/dialog_template.h"
#include "platform/win32/own_module.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/window_state.h"

namespace lumbrel::platform {

namespace {

using win32::toHwnd;
using win32::toRef;

struct ShellStart {
    WindowProc procedure = nullptr;
    std::intptr_t param = 0;
};

// Dialog-procedure results user32 takes as the return value itself rather
// than from DWLP_MSGRESULT.
bool answersDirectly(UINT message) noexcept {
    switch (message) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
        case WM_INITDIALOG: return true;
        default: return false;
    }
}

// The module's dialog procedures answer like window procedures and hand what
// they leave to defWindowProc; the dialog manager wants "handled" and the
// result in DWLP_MSGRESULT, and does its default (DefDlgProcW) otherwise.
INT_PTR CALLBACK dialogAdapter(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    win32::WindowState* state = win32::findState(dialog);
    std::intptr_t param = lParam;
    if (message == WM_INITDIALOG) {
        const auto* start = reinterpret_cast<const ShellStart*>(lParam);
        state = win32::ensureState(dialog);
        if (state == nullptr || start == nullptr) {
            ::EndDialog(dialog, -1);
            return FALSE;
        }
        state->dialogProc = start->procedure;
        state->shell = win32::ShellKind::Modal;
        param = start->param;
    }
    if (state == nullptr || state->dialogProc == nullptr) return FALSE;
    bool handled = true;
    ++state->calls;
    const LRESULT result = win32::deliver(dialog, *state, state->dialogProc, message, wParam, param, true, handled);
    --state->calls;
    if (message == WM_INITDIALOG) return handled ? result : TRUE;
    if (!handled) return FALSE;
    if (answersDirectly(message)) return result;
    ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

constexpr const wchar_t* kModelessClass = L"ModelessDialog";

bool registerModelessClass() noexcept {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &win32::trampoline;
        windowClass.hInstance = win32::ownModule();
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        windowClass.lpszClassName = kModelessClass;
        return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

bool isDefaultPushButton(HWND window) {
    wchar_t name[16] = {};
    if (::GetClassNameW(window, name, 16) <= 0 || ::lstrcmpiW(name, L"Button") != 0) return false;
    return (::GetWindowLongPtrW(window, GWL_STYLE) & style::kButtonTypeMask) == style::kDefPushButton;
}

HWND findDefaultPushButton(HWND parent) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (isDefaultPushButton(child)) return child;
        if (HWND inner = findDefaultPushButton(child)) return inner;
    }
    return nullptr;
}

}  // namespace

std::intptr_t runModalDialog(WindowProc dialogProc, std::intptr_t param) {
    const DLGTEMPLATE* shell = win32::findDialogTemplate(L"MyDialog");
    if (dialogProc == nullptr || shell == nullptr) return -1;
    const HWND focus = ::GetFocus();
    const HWND active = ::GetActiveWindow();
    ShellStart start{dialogProc, param};
    // The dialog manager disables the owner while the dialog runs and enables it after.
    const INT_PTR result = ::DialogBoxIndirectParamW(win32::ownModule(), shell, win32::dialogOwner(), &dialogAdapter,
                                                     reinterpret_cast<LPARAM>(&start));
    if (active != nullptr && ::IsWindow(active)) ::SetActiveWindow(active);
    if (focus != nullptr && ::IsWindow(focus)) ::SetFocus(focus);
    return result;
}

bool endDialog(WindowRef dialog, std::intptr_t result) noexcept {
    const win32::WindowState* state = win32::findState(toHwnd(dialog));
    if (state == nullptr) return false;
    switch (state->shell) {
        case win32::ShellKind::Modal: return ::EndDialog(toHwnd(dialog), result) != FALSE;
        case win32::ShellKind::Modeless: ::ShowWindow(toHwnd(dialog), SW_HIDE); return true;
        case win32::ShellKind::None: break;
    }
    return false;
}

int defaultButtonId(WindowRef dialog) noexcept {
    const HWND hwnd = toHwnd(dialog);
    if (hwnd == nullptr || !::IsWindow(hwnd)) return 0;
    try {
        const auto answer = static_cast<DWORD>(::SendMessageW(hwnd, DM_GETDEFID, 0, 0));
        const int id = static_cast<std::int16_t>(LOWORD(answer));
        if (HIWORD(answer) == DC_HASDEFID && findChild(dialog, id) != nullptr) return id;
        // A window of no dialog class answers nothing: its default button is the styled one.
        const HWND button = findDefaultPushButton(hwnd);
        return button != nullptr ? static_cast<int>(::GetDlgCtrlID(button)) : 0;
    } catch (...) {
        return 0;
    }
}

WindowRef createModelessDialog(WindowProc dialogProc, std::intptr_t param) noexcept {
    if (dialogProc == nullptr || !registerModelessClass()) return nullptr;
    win32::setPendingModelessProcedure(dialogProc);
    const HWND shell = ::CreateWindowExW(style::kExToolWindow | style::kExControlParent, kModelessClass, L"",
                                         style::kDialogShell, CW_USEDEFAULT, CW_USEDEFAULT, 320, 200,
                                         win32::dialogOwner(), nullptr, win32::ownModule(), nullptr);
    win32::setPendingModelessProcedure(nullptr);
    if (shell == nullptr) return nullptr;
    sendMessage(toRef(shell), Message::InitDialog, 0, param);
    return ::IsWindow(shell) ? toRef(shell) : nullptr;
}

int trackPopupMenu(WindowRef owner, const std::vector<std::string>& items, int screenX, int screenY,
                   int preselected) {
    HWND window = owner != nullptr && ::IsWindow(toHwnd(owner)) ? toHwnd(owner) : ::GetActiveWindow();
    if (window == nullptr || items.empty()) return -1;
    const HMENU menu = ::CreatePopupMenu();
    if (menu == nullptr) return -1;
    UINT_PTR command = 1;
    for (const std::string& item : items) {
        std::wstring title;
        if (!win32::toWide(item.c_str(), title)) title = L"?";
        ::AppendMenuW(menu, MF_STRING, command++, title.c_str());
    }
    if (preselected >= 0 && static_cast<std::size_t>(preselected) < items.size()) {
        ::CheckMenuItem(menu, static_cast<UINT>(preselected), MF_BYPOSITION | MF_CHECKED);
    }
    const BOOL chosen = ::TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN,
                                           screenX, screenY, window, nullptr);
    ::DestroyMenu(menu);
    return chosen > 0 ? static_cast<int>(chosen) - 1 : -1;
}

}  // namespace lumbrel::platform

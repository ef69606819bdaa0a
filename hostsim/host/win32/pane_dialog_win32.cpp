// The Windows host's preferences dialog: a real Win32 dialog (class #32770,
// the dialog manager's keyboard, "MS Shell Dlg" 8 points) whose controls the
// host makes from the module's description resource, so the real-dialog
// driver answers it as it answers the module's own dialogs.
#include "hostsim/host/pane_dialog.h"
#include "hostsim/host/pane_run.h"

#include "desktop/files/win32/windows_api.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace hostsim {

namespace {

using desktop::files::utf8Text;
using desktop::files::wideText;

// The host's own message to itself: play the next planned step.
constexpr UINT kPlanStep = WM_APP + 0x50;
constexpr DWORD kMaxDescriptionBytes = 1 << 20;

HWND gPane = nullptr;
PaneEventHandler gHandler = nullptr;

std::wstring classOf(HWND window) {
    wchar_t name[32] = {};
    const int got = GetClassNameW(window, name, 32);
    return std::wstring(name, static_cast<std::size_t>(std::max(got, 0)));
}

HWND controlOf(std::int16_t item, const wchar_t* className) {
    if (gPane == nullptr) return nullptr;
    const HWND control = GetDlgItem(gPane, item);
    return control != nullptr && lstrcmpiW(classOf(control).c_str(), className) == 0 ? control : nullptr;
}

// An empty captioned dialog with a system menu in the dialog font; the
// controls come from the description.
std::vector<WORD> emptyDialogTemplate() {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* head = reinterpret_cast<DLGTEMPLATE*>(words.data());
    head->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    head->cx = 200;
    head->cy = 100;
    words.push_back(0);  // no menu
    words.push_back(0);  // the dialog class
    words.push_back(0);  // no title yet
    words.push_back(8);  // points
    for (const wchar_t c : std::wstring(L"MS Shell Dlg")) words.push_back(static_cast<WORD>(c));
    words.push_back(0);
    return words;
}

// The description's client size, centred horizontally and at a quarter of
// the free height, as the module places its own dialogs.
void placePane(HWND dialog, int clientWidth, int clientHeight) {
    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const int left = work.left + std::max(0, static_cast<int>(work.right - work.left) - width) / 2;
    const int top = work.top + std::max(0, static_cast<int>(work.bottom - work.top) - height) / 4;
    SetWindowPos(dialog, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK paneProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (gHandler == nullptr) return FALSE;
    switch (message) {
        case WM_INITDIALOG:
            gPane = dialog;
            gHandler(PaneEvent::Opened, 0);
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) gHandler(PaneEvent::Clicked, static_cast<std::int16_t>(LOWORD(wParam)));
            return TRUE;
        case WM_CLOSE:
            gHandler(PaneEvent::CloseBox, 0);
            return TRUE;
        case kPlanStep:
            gHandler(PaneEvent::Step, 0);
            return TRUE;
        default: return FALSE;
    }
}

}  // namespace

void runPaneDialog(PaneEventHandler handler) {
    gHandler = handler;
    const std::vector<WORD> shell = emptyDialogTemplate();
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(shell.data()),
                            GetActiveWindow(), paneProc, 0);
    gHandler = nullptr;
    gPane = nullptr;
}

int buildPaneControls(const PaneDescription& description) {
    if (gPane == nullptr) return 0;
    SetWindowTextW(gPane, wideText(description.title).c_str());
    placePane(gPane, description.rect.width, description.rect.height);
    const auto font = reinterpret_cast<WPARAM>(reinterpret_cast<HFONT>(SendMessageW(gPane, WM_GETFONT, 0, 0)));
    // Origins of the open containers, in the dialog's client area.
    std::vector<std::pair<int, int>> origins{{0, 0}};
    int made = 0;
    for (const PaneControl& control : description.controls) {
        if (control.type == "####") {
            if (origins.size() > 1) origins.pop_back();
            continue;
        }
        const PaneControlWindow m = paneControlWindow(control);
        const auto [x, y] = origins.back();
        if (isPaneContainer(control.type)) origins.emplace_back(x + control.rect.left, y + control.rect.top);
        if (m.className == nullptr) continue;
        const HWND window = CreateWindowExW(m.exStyle, wideText(m.className).c_str(), wideText(control.text).c_str(),
                                            WS_CHILD | WS_VISIBLE | m.style, x + m.rect.left, y + m.rect.top,
                                            m.rect.width, m.rect.height, gPane,
                                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                            GetModuleHandleW(nullptr), nullptr);
        if (window == nullptr) continue;
        ++made;
        SendMessageW(window, WM_SETFONT, font, FALSE);
        if (control.type == "popb" || control.type == "comb") {
            int selected = -1;
            for (std::size_t i = 0; i < control.menu.size(); ++i) {
                SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wideText(control.menu[i]).c_str()));
                if (control.menu[i] == control.text) selected = static_cast<int>(i);
            }
            SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
        } else if (control.type == "tabs") {
            for (std::size_t i = 0; i < control.tabs.size(); ++i) {
                std::wstring label = wideText(control.tabs[i]);
                TCITEMW item{};
                item.mask = TCIF_TEXT;
                item.pszText = label.data();
                SendMessageW(window, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
            }
        }
    }
    return made;
}

void postPaneStep() {
    if (gPane != nullptr) PostMessageW(gPane, kPlanStep, 0, 0);
}

void endPaneDialog(std::int32_t result) {
    if (gPane != nullptr) EndDialog(gPane, result);
}

bool clickPaneButton(std::int16_t item) {
    const HWND button = controlOf(item, WC_BUTTONW);
    // The button's own state: the host's planned clicks may come before the dialog first shows.
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(button, GWL_STYLE));
    if (button == nullptr || (style & WS_VISIBLE) == 0 || (style & WS_DISABLED) != 0) return false;
    // What a click does: an automatic check box toggles, then the dialog hears BN_CLICKED.
    if ((style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
        const bool checked = SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
        SendMessageW(button, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
    }
    SendMessageW(gPane, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(item), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return true;
}

std::optional<std::int32_t> paneButtonValue(std::int16_t item) {
    if (const HWND field = controlOf(item, WC_EDITW)) {
        // A number field: its text as a whole number, 0 when it is none.
        wchar_t text[64] = {};
        GetWindowTextW(field, text, 64);
        int value = 0;
        return std::sscanf(utf8Text(text).c_str(), "%d", &value) == 1 ? value : 0;
    }
    const HWND button = controlOf(item, WC_BUTTONW);
    if (button == nullptr) return std::nullopt;
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

bool setPaneButtonValue(std::int16_t item, std::int32_t value) {
    if (const HWND field = controlOf(item, WC_EDITW)) {
        SetWindowTextW(field, std::to_wstring(value).c_str());
        return true;
    }
    const HWND button = controlOf(item, WC_BUTTONW);
    if (button == nullptr) return false;
    // A check box shows on or off: any value above 1 shows it on.
    SendMessageW(button, BM_SETCHECK, value >= 1 ? BST_CHECKED : BST_UNCHECKED, 0);
    return true;
}

std::optional<std::string> paneDescriptionText(const std::string& moduleFile, std::int32_t resourceID) {
    // The module is loaded: its resources are read from its image in memory.
    const HMODULE module = GetModuleHandleW(wideText(moduleFile).c_str());
    if (module == nullptr || resourceID < 1 || resourceID > 0xFFFF) return std::nullopt;
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceID), L"XML");
    if (found == nullptr) return std::nullopt;
    const DWORD size = SizeofResource(module, found);
    const HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr || size > kMaxDescriptionBytes) return std::nullopt;
    return std::string(static_cast<const char*>(bytes), size);
}

std::string paneDescriptionPlace(std::int32_t resourceID) {
    return "resource " + std::to_string(resourceID) + " of type XML in the module";
}

}  // namespace hostsim

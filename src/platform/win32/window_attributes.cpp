// Texts, visibility, enabling, values and edit selections over user32.
#include "platform/win32/common_controls.h"

#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/window_state.h"

namespace lumbrel::platform {

namespace {

using win32::toHwnd;

enum class Kind { Button, Progress, ComboBox, ListBox, Tabs, Edit, Other };

Kind kindOf(WindowRef window) {
    const std::string name = className(window);
    const auto is = [&](const char* other) { return ::lstrcmpiA(name.c_str(), other) == 0; };
    if (is(kButtonClass)) return Kind::Button;
    if (is(kProgressClass)) return Kind::Progress;
    if (is(kComboBoxClass)) return Kind::ComboBox;
    if (is(kListBoxClass)) return Kind::ListBox;
    if (is(kTabControlClass)) return Kind::Tabs;
    if (is(kEditClass)) return Kind::Edit;
    return Kind::Other;
}

LRESULT send(WindowRef window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) noexcept {
    return ::SendMessageW(toHwnd(window), message, wParam, lParam);
}

bool isLive(WindowRef window) noexcept { return window != nullptr && ::IsWindow(toHwnd(window)) != FALSE; }

std::wstring rawText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0U);
    return text;
}

// UTF-8 bytes of the text's first `units` UTF-16 units, and back.
int bytesForUnits(const std::wstring& text, int units) {
    if (units <= 0) return 0;
    std::string utf8;
    const auto count = std::min(static_cast<std::size_t>(units), text.size());
    return win32::toUtf8(text.data(), count, utf8) ? static_cast<int>(utf8.size()) : 0;
}

int unitsForBytes(const std::wstring& text, int bytes) {
    if (bytes <= 0) return 0;
    int used = 0;
    for (std::size_t unit = 0; unit < text.size(); ++unit) {
        const wchar_t c = text[unit];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const int size = c < 0x80 ? 1 : c < 0x800 ? 2 : high ? 4 : 3;
        if (used + size > bytes) return static_cast<int>(unit);
        used += size;
        if (high) ++unit;
    }
    return static_cast<int>(text.size());
}

}  // namespace

void setWindowText(WindowRef window, std::string_view utf8) noexcept {
    if (!isLive(window)) return;
    try {
        std::wstring wide;
        if (win32::toWide(std::string(utf8).c_str(), wide)) ::SetWindowTextW(toHwnd(window), wide.c_str());
    } catch (...) {
    }
}

std::string windowText(WindowRef window) {
    if (!isLive(window)) return {};
    const std::wstring wide = rawText(toHwnd(window));
    std::string out;
    return win32::toUtf8(wide.data(), wide.size(), out) ? out : std::string();
}

void showWindow(WindowRef window, bool visible) noexcept {
    if (isLive(window)) ::ShowWindow(toHwnd(window), visible ? SW_SHOWNA : SW_HIDE);
}

bool isWindowShown(WindowRef window) noexcept {
    return isLive(window) && (::GetWindowLongPtrW(toHwnd(window), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool isWindowVisible(WindowRef window) noexcept { return isLive(window) && ::IsWindowVisible(toHwnd(window)); }

void enableWindow(WindowRef window, bool enabled) noexcept {
    if (isLive(window)) ::EnableWindow(toHwnd(window), enabled ? TRUE : FALSE);
}

bool isWindowEnabled(WindowRef window) noexcept { return isLive(window) && ::IsWindowEnabled(toHwnd(window)); }

void invalidateWindow(WindowRef window) noexcept {
    if (isLive(window)) ::InvalidateRect(toHwnd(window), nullptr, TRUE);
}

void setControlValue(WindowRef window, int value) noexcept {
    if (!isLive(window)) return;
    try {
        const auto w = static_cast<WPARAM>(static_cast<INT_PTR>(value));
        switch (kindOf(window)) {
            case Kind::Button: send(window, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED); break;
            case Kind::Progress: send(window, PBM_SETPOS, w); break;
            case Kind::ComboBox: send(window, CB_SETCURSEL, w); break;
            case Kind::ListBox: send(window, LB_SETCURSEL, w); break;
            case Kind::Tabs: send(window, TCM_SETCURSEL, w); break;
            case Kind::Edit:
            case Kind::Other:
                if (win32::WindowState* state = win32::ensureState(toHwnd(window))) state->plainValue = value;
                break;
        }
    } catch (...) {
    }
}

int controlValue(WindowRef window) noexcept {
    if (!isLive(window)) return 0;
    try {
        switch (kindOf(window)) {
            case Kind::Button: return send(window, BM_GETCHECK) == BST_CHECKED ? 1 : 0;
            case Kind::Progress: return static_cast<int>(send(window, PBM_GETPOS));
            case Kind::ComboBox: return static_cast<int>(send(window, CB_GETCURSEL));
            case Kind::ListBox: return static_cast<int>(send(window, LB_GETCURSEL));
            case Kind::Tabs: return static_cast<int>(send(window, TCM_GETCURSEL));
            case Kind::Edit:
            case Kind::Other: break;
        }
    } catch (...) {
        return 0;
    }
    const win32::WindowState* state = win32::findState(toHwnd(window));
    return state != nullptr ? state->plainValue : 0;
}

void setControlRange(WindowRef window, int minimum, int maximum) noexcept {
    if (isLive(window)) {
        send(window, PBM_SETRANGE32, static_cast<WPARAM>(static_cast<INT_PTR>(minimum)), static_cast<LPARAM>(maximum));
    }
}

int controlMinimum(WindowRef window) noexcept {
    return isLive(window) ? static_cast<int>(send(window, PBM_GETRANGE, TRUE)) : 0;
}

int controlMaximum(WindowRef window) noexcept {
    return isLive(window) ? static_cast<int>(send(window, PBM_GETRANGE, FALSE)) : 0;
}

void setEditSelection(WindowRef window, int start, int end) noexcept {
    if (!isLive(window)) return;
    try {
        const std::wstring text = rawText(toHwnd(window));
        const int from = unitsForBytes(text, start);
        const int to = end < 0 ? -1 : unitsForBytes(text, end);
        send(window, EM_SETSEL, static_cast<WPARAM>(static_cast<INT_PTR>(from)), static_cast<LPARAM>(to));
    } catch (...) {
    }
}

void editSelection(WindowRef window, int& start, int& end) noexcept {
    start = 0;
    end = 0;
    if (!isLive(window)) return;
    try {
        DWORD from = 0;
        DWORD to = 0;
        send(window, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        const std::wstring text = rawText(toHwnd(window));
        start = bytesForUnits(text, static_cast<int>(from));
        end = bytesForUnits(text, static_cast<int>(to));
    } catch (...) {
    }
}

}  // namespace lumbrel::platform

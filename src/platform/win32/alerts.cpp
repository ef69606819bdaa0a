// Alerts on Windows: the module's "MSGBOX" dialog template, grown to its text.
#include "platform/alerts.h"

#include <string>

#include "platform/platform_traits.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/own_module.h"
#include "platform/win32/wide_text.h"

namespace lumbrel::platform {

namespace {

constexpr int kTextId = 10;
constexpr int kOtherGap = 6;  // pixels between the other button and the cancel button

struct AlertTexts {
    std::wstring title;
    std::wstring text;
    std::wstring buttons[3];  // default, cancel, other; empty: not shown
};

std::wstring wide(const char* utf8) {
    std::wstring out;
    if (utf8 != nullptr && !win32::toWide(utf8, out)) out.clear();
    return out;
}

RECT childRect(HWND dialog, HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void moveDown(HWND dialog, int id, int by) {
    const HWND child = ::GetDlgItem(dialog, id);
    if (child == nullptr) return;
    const RECT r = childRect(dialog, child);
    ::SetWindowPos(child, nullptr, r.left, r.top + by, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The height the text needs at the static's width, with word wrap.
int neededTextHeight(HWND text, const std::wstring& content) {
    RECT r{};
    ::GetClientRect(text, &r);
    const HDC dc = ::GetDC(text);
    if (dc == nullptr) return r.bottom;
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(text, WM_GETFONT, 0, 0));
    const HGDIOBJ old = font != nullptr ? ::SelectObject(dc, font) : nullptr;
    ::DrawTextW(dc, content.c_str(), static_cast<int>(content.size()), &r,
                DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    if (old != nullptr) ::SelectObject(dc, old);
    ::ReleaseDC(text, dc);
    return r.bottom - r.top;
}

void growToText(HWND dialog, const std::wstring& content) {
    const HWND text = ::GetDlgItem(dialog, kTextId);
    if (text == nullptr) return;
    const RECT textRect = childRect(dialog, text);
    const int extra = neededTextHeight(text, content) - (textRect.bottom - textRect.top);
    if (extra <= 0) return;
    ::SetWindowPos(text, nullptr, 0, 0, textRect.right - textRect.left, textRect.bottom - textRect.top + extra,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const int id : {kAlertDefaultItem, kAlertCancelItem, kAlertOtherItem}) moveDown(dialog, id, extra);
    RECT outer{};
    ::GetWindowRect(dialog, &outer);
    ::SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + extra,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A third button, left of the cancel button and like it.
void addOtherButton(HWND dialog, const std::wstring& title) {
    const HWND cancel = ::GetDlgItem(dialog, kAlertCancelItem);
    if (cancel == nullptr) return;
    const RECT r = childRect(dialog, cancel);
    const int width = r.right - r.left;
    const HWND other = ::CreateWindowExW(0, L"Button", title.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                         r.left - width - kOtherGap, r.top, width, r.bottom - r.top, dialog,
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAlertOtherItem)),
                                         win32::ownModule(), nullptr);
    if (other != nullptr) ::SendMessageW(other, WM_SETFONT, static_cast<WPARAM>(::SendMessageW(cancel, WM_GETFONT, 0, 0)), FALSE);
}

bool isShown(HWND dialog, int id) {
    const HWND button = ::GetDlgItem(dialog, id);
    return button != nullptr && (::GetWindowLongPtrW(button, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The close box and Escape answer Cancel, or the only button there is.
INT_PTR dismissal(HWND dialog) { return isShown(dialog, kAlertCancelItem) ? kAlertCancelItem : kAlertDefaultItem; }

INT_PTR CALLBACK alertProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const auto* texts = reinterpret_cast<const AlertTexts*>(lParam);
            ::SetWindowTextW(dialog, texts->title.c_str());
            ::SetDlgItemTextW(dialog, kTextId, texts->text.c_str());
            ::SetDlgItemTextW(dialog, kAlertDefaultItem, texts->buttons[0].c_str());
            if (texts->buttons[1].empty()) {
                ::ShowWindow(::GetDlgItem(dialog, kAlertCancelItem), SW_HIDE);
            } else {
                ::SetDlgItemTextW(dialog, kAlertCancelItem, texts->buttons[1].c_str());
            }
            if (!texts->buttons[2].empty()) addOtherButton(dialog, texts->buttons[2]);
            growToText(dialog, texts->text);
            win32::placeOnScreen(dialog);
            ::SetFocus(::GetDlgItem(dialog, kAlertDefaultItem));
            return FALSE;
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            if (id == IDCANCEL && !isShown(dialog, kAlertCancelItem)) {
                ::EndDialog(dialog, dismissal(dialog));
            } else if ((id == kAlertDefaultItem || id == kAlertCancelItem || id == kAlertOtherItem) &&
                       isShown(dialog, id)) {
                ::EndDialog(dialog, id);
            }
            return TRUE;
        }
        case WM_CLOSE:
            ::EndDialog(dialog, dismissal(dialog));
            return TRUE;
        default: return FALSE;
    }
}

}  // namespace

int runAlert(AlertStyle style, const char* title, const char* message, const char* informative,
             const char* defaultButton, const char* cancelButton, const char* otherButton) noexcept {
    (void)style;  // the message box looks the same for every kind
    try {
        const DLGTEMPLATE* box = win32::findDialogTemplate(L"MSGBOX");
        if (box == nullptr) return 0;
        AlertTexts texts;
        texts.title = wide(title != nullptr && title[0] != '\0' ? title : kProductName);
        texts.text = wide(message);
        const std::wstring second = wide(informative);
        if (!second.empty()) texts.text += L"\r\r" + second;
        texts.buttons[0] = defaultButton != nullptr ? wide(defaultButton) : std::wstring(L"OK");
        texts.buttons[1] = wide(cancelButton);
        texts.buttons[2] = wide(otherButton);
        beep();
        const INT_PTR answer = ::DialogBoxIndirectParamW(win32::ownModule(), box, win32::dialogOwner(), &alertProc,
                                                         reinterpret_cast<LPARAM>(&texts));
        return answer >= kAlertDefaultItem && answer <= kAlertOtherItem ? static_cast<int>(answer) : 0;
    } catch (...) {
        return 0;
    }
}

void beep() noexcept { ::MessageBeep(MB_OK); }

}  // namespace lumbrel::platform

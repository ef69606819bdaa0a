#include "platform/win32/dialog_template.h"

#include "platform/win32/own_module.h"

namespace lumbrel::platform::win32 {

const DLGTEMPLATE* findDialogTemplate(const wchar_t* name) noexcept {
    const HMODULE module = ownModule();
    const HRSRC found = ::FindResourceW(module, name, MAKEINTRESOURCEW(5));  // RT_DIALOG
    if (found == nullptr) return nullptr;
    const HGLOBAL loaded = ::LoadResource(module, found);
    return loaded != nullptr ? static_cast<const DLGTEMPLATE*>(::LockResource(loaded)) : nullptr;
}

void placeOnScreen(HWND dialog) noexcept {
    RECT work{};
    RECT outer{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) || !::GetWindowRect(dialog, &outer)) return;
    const LONG width = outer.right - outer.left;
    const LONG height = outer.bottom - outer.top;
    const LONG freeWidth = (work.right - work.left) - width;
    const LONG freeHeight = (work.bottom - work.top) - height;
    const LONG left = work.left + (freeWidth > 0 ? freeWidth / 2 : 0);
    const LONG top = work.top + (freeHeight > 0 ? freeHeight / 4 : 0);
    ::SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND dialogOwner() noexcept {
    // The active window: the host's main window, or the dialog a nested one opens from.
    return ::GetActiveWindow();
}

}  // namespace lumbrel::platform::win32

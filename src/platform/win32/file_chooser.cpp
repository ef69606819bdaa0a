// The application chooser: the common open-file dialog, owned by the active
// window, offering executables.
#include "platform/file_chooser.h"

#include <new>
#include <string>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include <commdlg.h>

namespace lumbrel::platform {

bool chooseApplication(const char* prompt, std::string& path) {
    try {
        std::wstring title;
        if (prompt != nullptr && *prompt != '\0' && !win32::toWide(prompt, title)) title.clear();
        // Long paths fit: the dialog writes no more than nMaxFile units.
        std::wstring chosen(32768, L'\0');
        static constexpr wchar_t kFilter[] = L"*.exe\0*.exe\0";
        OPENFILENAMEW request{};
        request.lStructSize = sizeof request;
        request.hwndOwner = ::GetActiveWindow();
        request.lpstrFilter = kFilter;
        request.nFilterIndex = 1;
        request.lpstrFile = chosen.data();
        request.nMaxFile = static_cast<DWORD>(chosen.size());
        request.lpstrTitle = title.empty() ? nullptr : title.c_str();
        request.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
        if (!::GetOpenFileNameW(&request)) return false;
        std::string utf8;
        if (!win32::toUtf8(chosen.c_str(), utf8) || utf8.empty()) return false;
        path = std::move(utf8);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace lumbrel::platform

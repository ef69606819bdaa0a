// Dropped-file lists as the shell makes them for a drag: DROPFILES with
// fWide set, then each path in UTF-16 with its NUL, then one more NUL.
#include "hostsim/host/drop_files.h"

#include "desktop/files/win32/windows_api.h"

#include <shlobj.h>

#include <cstring>

namespace hostsim {

std::intptr_t makeDropFileList(const std::vector<std::string>& paths) {
    std::wstring text;
    for (const std::string& path : paths) {
        const std::wstring wide = desktop::files::wideText(path);
        if (wide.empty()) continue;
        text += wide;
        text += L'\0';
    }
    text += L'\0';
    const SIZE_T bytes = sizeof(DROPFILES) + text.size() * sizeof(wchar_t);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (block == nullptr) return 0;
    auto* header = static_cast<DROPFILES*>(::GlobalLock(block));
    if (header == nullptr) {
        ::GlobalFree(block);
        return 0;
    }
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), text.data(), text.size() * sizeof(wchar_t));
    ::GlobalUnlock(block);
    return reinterpret_cast<std::intptr_t>(block);
}

void freeDropFileList(std::intptr_t list) noexcept {
    if (list != 0) ::GlobalFree(reinterpret_cast<HGLOBAL>(list));
}

}  // namespace hostsim

// Font files on Windows: the host's own "Fonts" folder beside its program
// (fonts a host ships for itself), then the Windows Fonts folder.
#include "hostsim/render/font_catalog.h"

#include "desktop/files/win32/windows_api.h"

#include <knownfolders.h>
#include <shlobj.h>

namespace hostsim::render {

namespace {

std::string programFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 6; ++attempt) {
        const DWORD got = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (got == 0) return {};
        if (got < buffer.size()) {
            buffer.resize(got);
            const std::size_t slash = buffer.find_last_of(L"\\/");
            return slash == std::wstring::npos ? std::string() : desktop::files::utf8Text(buffer.substr(0, slash));
        }
        buffer.resize(buffer.size() * 2);  // a long path: try again with room
    }
    return {};
}

std::string windowsFontsFolder() {
    PWSTR path = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Fonts, 0, nullptr, &path)) && path != nullptr) {
        folder = desktop::files::utf8Text(path);
    }
    CoTaskMemFree(path);
    return folder;
}

}  // namespace

std::vector<std::string> systemFontFolders() {
    std::vector<std::string> folders;
    if (const std::string own = programFolder(); !own.empty()) folders.push_back(own + "\\Fonts");
    if (std::string system = windowsFontsFolder(); !system.empty()) folders.push_back(std::move(system));
    return folders;
}

std::optional<std::string> findFontFileElsewhere(const char*) { return std::nullopt; }

std::string fontSearchHint() { return " (copy the DejaVu files of fonts-dejavu-core into the Windows Fonts folder)"; }

}  // namespace hostsim::render

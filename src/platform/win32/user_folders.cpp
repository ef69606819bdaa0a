// The user's special folders as the shell knows them.
#include "platform/user_folders.h"

#include <new>

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"
#include <shlobj.h>

namespace lumbrel::platform {

namespace {

// "C:\Users\Ann\" keeps only the root's backslash ("C:\").
void dropTrailingSeparators(std::wstring& path) {
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
}

bool knownFolder(const KNOWNFOLDERID& id, std::wstring& out) {
    PWSTR found = nullptr;
    const HRESULT result = ::SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &found);
    const bool ok = SUCCEEDED(result) && found != nullptr && found[0] != L'\0';
    if (ok) out = found;
    ::CoTaskMemFree(found);  // also when the call failed: it may have allocated
    return ok;
}

bool temporaryFolder(std::wstring& out) {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH) return false;
    out.assign(buffer, length);
    return true;
}

}  // namespace

// Documents and Desktop are the shell's folders of those names; Preferences
// is the roaming application data (settings follow the user), AppSupport the
// local one; Temporary is GetTempPathW's.
bool findSpecialFolder(SpecialFolder folder, std::string& out) noexcept {
    try {
        std::wstring wide;
        bool found = false;
        switch (folder) {
            case SpecialFolder::Documents: found = knownFolder(FOLDERID_Documents, wide); break;
            case SpecialFolder::Desktop: found = knownFolder(FOLDERID_Desktop, wide); break;
            case SpecialFolder::Preferences: found = knownFolder(FOLDERID_RoamingAppData, wide); break;
            case SpecialFolder::AppSupport: found = knownFolder(FOLDERID_LocalAppData, wide); break;
            case SpecialFolder::Temporary: found = temporaryFolder(wide); break;
        }
        if (!found) return false;
        dropTrailingSeparators(wide);
        std::string utf8;
        if (!win32::toUtf8(wide.c_str(), wide.size(), utf8)) return false;
        out = std::move(utf8);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace lumbrel::platform

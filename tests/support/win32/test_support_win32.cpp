// The scratch-folder clean-up of the Windows build: a read-only file or
// folder (which a test may leave) would stop the removal.
#include <windows.h>

#include <filesystem>
#include <string>

#include "support/test_support.h"

namespace lumbrel::test {

std::filesystem::path pathFromUtf8(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

// The C++ library of MinGW makes no links; the system call does, for a
// process allowed to (unprivileged in developer mode).
bool makeFolderLink(const std::filesystem::path& target, const std::filesystem::path& link, std::string& error) {
    constexpr DWORD kFlags = SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
    if (!::CreateSymbolicLinkW(link.c_str(), target.c_str(), kFlags)) {
        error = "CreateSymbolicLinkW failed with error " + std::to_string(::GetLastError());
        return false;
    }
    // Wine answers TRUE without making anything.
    const DWORD attributes = ::GetFileAttributesW(link.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return true;
    error = "CreateSymbolicLinkW reported a link that is not there";
    return false;
}

TempDir::~TempDir() {
    namespace fs = std::filesystem;
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(path_, fs::directory_options::skip_permission_denied, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (!it->is_symlink(ignored)) fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
}

namespace {

constexpr wchar_t kUserShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::wstring wideFromUtf8(const std::string& text) {
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(units > 0 ? units : 1), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), units);
    out.resize(out.size() - 1);
    return out;
}

std::string utf8FromWide(const std::wstring& text) {
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes > 0 ? bytes : 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), bytes, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

bool setPersonal(const std::wstring& folder) {
    const auto bytes = static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t));
    return ::RegSetKeyValueW(HKEY_CURRENT_USER, kUserShellFolders, L"Personal", REG_EXPAND_SZ, folder.c_str(), bytes) ==
           ERROR_SUCCESS;
}

}  // namespace

bool makeReadOnly(const std::string& path) {
    return ::SetFileAttributesW(wideFromUtf8(path).c_str(), FILE_ATTRIBUTE_READONLY) != 0;
}

DocumentsFolderRedirect::DocumentsFolderRedirect() {
    wchar_t value[32768] = {};
    DWORD size = sizeof value;
    hadValue_ = ::RegGetValueW(HKEY_CURRENT_USER, kUserShellFolders, L"Personal", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ |
                                                                                      RRF_NOEXPAND,
                               nullptr, value, &size) == ERROR_SUCCESS;
    if (hadValue_) saved_ = utf8FromWide(value);
}

DocumentsFolderRedirect::~DocumentsFolderRedirect() {
    if (hadValue_) {
        setPersonal(wideFromUtf8(saved_));
    } else {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserShellFolders, L"Personal");
    }
}

bool DocumentsFolderRedirect::set(const std::string& folder) { return setPersonal(wideFromUtf8(folder)); }

}  // namespace lumbrel::test

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

}  // namespace lumbrel::test

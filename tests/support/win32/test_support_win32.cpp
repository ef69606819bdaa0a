// The scratch-folder clean-up of the Windows build: a read-only file or
// folder (which a test may leave) would stop the removal.
#include <filesystem>

#include "support/test_support.h"

namespace lumbrel::test {

std::filesystem::path pathFromUtf8(const std::string& path) {
    return std::filesystem::path(std::u8string(path.begin(), path.end()));
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

#include "desktop/files/file_open.h"

#include <cerrno>
#include <exception>

namespace desktop::files {

std::filesystem::path pathOf(std::string_view utf8) {
    try {
        return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
    } catch (const std::exception&) {
        return {};  // a conversion to wide text that failed
    }
}

std::string nameOf(const std::filesystem::path& path) {
    try {
        const std::u8string name = path.u8string();
        return std::string(reinterpret_cast<const char*>(name.data()), name.size());
    } catch (const std::exception&) {
        return {};
    }
}

std::FILE* openToRead(const std::string& utf8) {
#if defined(_WIN32)
    const std::filesystem::path path = pathOf(utf8);
    if (path.empty()) {
        errno = ENOENT;
        return nullptr;
    }
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(utf8.c_str(), "rbe");  // not inherited by programs the host starts
#endif
}

}  // namespace desktop::files

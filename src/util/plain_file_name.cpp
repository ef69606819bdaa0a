#include "util/plain_file_name.h"

#include <cstring>

#include "platform/platform_traits.h"

namespace lumbrel {

bool isPlainFileName(const char* name) noexcept {
    if (name == nullptr || name[0] == '\0') return false;
    if (std::strlen(name) > kMaxFileNameLength) return false;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return false;
    return std::strchr(name, '/') == nullptr && std::strchr(name, platform::Traits::kPathSeparator) == nullptr;
}

}  // namespace lumbrel

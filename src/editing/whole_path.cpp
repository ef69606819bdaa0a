#include "editing/whole_path.h"

#include "platform/platform_traits.h"

namespace lumbrel {

bool isWholePath(const char* path) noexcept {
    if (path == nullptr || path[0] == '\0') return false;
    if (path[0] == '/') return true;
    if constexpr (platform::Traits::kPathSeparator == '\\') {
        const auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
        const bool letter = (path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z');
        if (letter && path[1] == ':' && isSeparator(path[2])) return true;
        return path[0] == '\\' && path[1] == '\\' && path[2] != '\0' && !isSeparator(path[2]);
    }
    return false;
}

}  // namespace lumbrel

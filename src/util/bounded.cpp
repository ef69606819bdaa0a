#include "util/bounded.h"

#include <cstring>

namespace lumbrel {

std::size_t copyBounded(char* dst, std::size_t cap, std::string_view src) noexcept {
    if (dst == nullptr || cap == 0) return 0;
    const std::size_t n = src.size() < cap - 1 ? src.size() : cap - 1;
    if (n > 0) std::memmove(dst, src.data(), n);
    dst[n] = '\0';
    return n;
}

}  // namespace lumbrel

// Buffer sizes the module's interfaces are built on, and the one bounded copy
// every fixed buffer is filled with.
#pragma once

#include <cstddef>
#include <string_view>

namespace lumbrel {

inline constexpr std::size_t kPathSize = 512;       // paths, UTF-8
inline constexpr std::size_t kShortTextSize = 256;  // names, looked-up texts
inline constexpr std::size_t kMessageSize = 512;    // formatted messages

// Copies as much of `src` as fits in `cap` - 1 bytes and terminates it.
// Returns the bytes copied; writes nothing when `cap` is 0.
std::size_t copyBounded(char* dst, std::size_t cap, std::string_view src) noexcept;

template <std::size_t N>
std::size_t copyBounded(char (&dst)[N], std::string_view src) noexcept {
    return copyBounded(dst, N, src);
}

}  // namespace lumbrel

// Where each of many byte strings first occurs in one text, found in a
// single pass over the text (relinking pictures by a list of paths).
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace lumbrel {

inline constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

// Byte offset of the first occurrence of each pattern in text, kNotFound when absent or empty;
// one pass over the text for all patterns together.
std::vector<std::size_t> firstOccurrences(std::string_view text, const std::vector<std::string_view>& patterns);

}  // namespace lumbrel

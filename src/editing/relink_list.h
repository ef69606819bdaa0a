// The relink list: lines of an old full path, one tab and the new full path.
// The list is not split into lines; a picture's path is looked for anywhere
// in the text, and the mapping is read from where it was found.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace lumbrel {

// The new path of the mapping that starts at `at`: from there to the first
// tab, then up to the next CR, LF or the end of the text. None when a CR, LF
// or the end comes before the tab, when a further tab comes before the end
// of the line, or when the new path is empty.
std::optional<std::string_view> mappingAt(std::string_view text, std::size_t at) noexcept;

}  // namespace lumbrel

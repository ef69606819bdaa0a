// The relink list: lines of an old full path, one tab and the new full path.
// The list is not split into lines; a picture's path is looked for anywhere
// in the text, and the mapping is read from where it was found.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lumbrel {

// The new path of the mapping that starts at `at`: from there to the first
// tab, then up to the next CR, LF or the end of the text. None when a CR, LF
// or the end comes before the tab, when a further tab comes before the end
// of the line, or when the new path is empty.
std::optional<std::string_view> mappingAt(std::string_view text, std::size_t at) noexcept;

// Old paths that begin more than one line holding a mapping (a tab after the
// old path), each with those lines' new paths in the order of the list. Only
// the first line of each is ever used; the others are what a summary of the
// relink reports. One pass over the text.
std::unordered_map<std::string_view, std::vector<std::string_view>> repeatedOldPaths(std::string_view text);

}  // namespace lumbrel

#include "editing/relink_list.h"

namespace lumbrel {

std::optional<std::string_view> mappingAt(std::string_view text, std::size_t at) noexcept {
    if (at >= text.size()) return std::nullopt;
    const std::size_t tab = text.find_first_of("\t\r\n", at);
    if (tab == std::string_view::npos || text[tab] != '\t') return std::nullopt;
    const std::size_t start = tab + 1;
    std::size_t end = text.find_first_of("\t\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    if (end < text.size() && text[end] == '\t') return std::nullopt;
    if (end == start) return std::nullopt;
    return text.substr(start, end - start);
}

std::unordered_map<std::string_view, std::vector<std::string_view>> repeatedOldPaths(std::string_view text) {
    std::unordered_map<std::string_view, std::vector<std::string_view>> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        const std::size_t tab = line.find('\t');
        if (tab != std::string_view::npos && tab > 0) {
            // What mappingAt would read from the line's start: the new path, or empty.
            const std::optional<std::string_view> mapped = mappingAt(text, start);
            lines[line.substr(0, tab)].push_back(mapped.value_or(std::string_view()));
        }
        start = end + 1;
    }
    std::erase_if(lines, [](const auto& entry) { return entry.second.size() < 2; });
    return lines;
}

}  // namespace lumbrel

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

}  // namespace lumbrel

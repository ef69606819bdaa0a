#include "util/number_text.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace lumbrel {

namespace {

bool isBlank(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view skipBlanks(std::string_view text) noexcept {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    return text.substr(i);
}

}  // namespace

std::int32_t parseLong(std::string_view text) noexcept {
    text = skipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > kLimit) value = kLimit;  // saturate; more digits change nothing
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

double parseDouble(std::string_view text) noexcept {
    text = skipBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small in magnitude reads as 0, too large as the largest value.
        const auto exponent = text.find_first_of("eE");
        if (exponent != std::string_view::npos && exponent + 1 < text.size() && text[exponent + 1] == '-') return 0.0;
        return text.starts_with('-') ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
    }
    return result.ec == std::errc() ? value : 0.0;
}

}  // namespace lumbrel

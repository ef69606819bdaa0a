#include "labels/ps_output.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>

#include "host/xt_drawing.h"

namespace lumbrel {

namespace {

constexpr std::size_t kPrintfBufferSize = 4096;

}  // namespace

std::int32_t psSend(const char* data, std::int32_t length) {
    if (data == nullptr || length < 0) return 0;
    if (length == 0) {
        const std::size_t n = std::strlen(data);
        if (n == 0) return 0;
        length = n > 0x7FFFFFFFU ? 0x7FFFFFFF : static_cast<std::int32_t>(n);
    }
    xt_psoutput(data, length);
    return 0;
}

std::int32_t psPrintf(const char* format, ...) {
    if (format == nullptr) return 0;
    char buffer[kPrintfBufferSize];
    std::va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (written <= 0) return 0;
    const std::size_t kept = std::min(static_cast<std::size_t>(written), sizeof buffer - 1);
    return psSend(buffer, static_cast<std::int32_t>(kept));
}

std::string formatFixed2(double value) {
    // A number PostScript cannot read would break the job; such values do
    // not arise from box bounds, so they read as 0.
    if (!std::isfinite(value)) value = 0.0;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    if (result.ec != std::errc{}) return "0.00";
    return std::string(buffer, result.ptr);
}

std::string escapePSString(std::string_view text) {
    std::string out;
    try {
        out.reserve(text.size() * 2);
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 || byte >= 0x7F) {
                // Octal keeps the job 7-bit, and a CR or LF in a name can
                // never start a line of the job (a "%%" comment, say).
                const char octal[4] = {'\\', static_cast<char>('0' + (byte >> 6)),
                                       static_cast<char>('0' + ((byte >> 3) & 7)), static_cast<char>('0' + (byte & 7))};
                out.append(octal, sizeof octal);
                continue;
            }
            if (c == '\\' || c == '(' || c == ')') out.push_back('\\');
            out.push_back(c);
        }
    } catch (const std::bad_alloc&) {
        return {};
    }
    return out;
}

bool isPlainPSName(const char* name) noexcept {
    if (name == nullptr || name[0] == '\0') return false;
    std::size_t n = 0;
    for (; name[n] != '\0'; ++n) {
        const unsigned char c = static_cast<unsigned char>(name[n]);
        if (c <= ' ' || c >= 0x7F) return false;
        if (std::strchr("()<>[]{}/%", c) != nullptr) return false;
        if (n >= 127) return false;
    }
    return true;
}

}  // namespace lumbrel

#include "util/string_functions.h"

#include <cctype>
#include <cstring>
#include <string>

#include "util/my_str.h"
#include "util/text_encoding.h"

namespace lumbrel {

void replace(char* text, signed char from, signed char to) noexcept {
    if (text == nullptr) return;
    const auto match = static_cast<char>(from);
    for (char* p = text; *p != '\0'; ++p) {
        if (*p == match) *p = static_cast<char>(to);
    }
}

void tolowerInPlace(char* text) noexcept {
    if (text == nullptr) return;
    for (char* p = text; *p != '\0'; ++p) *p = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
}

bool EnumString(const char* text, signed char separator, EnumStringCallback callback, std::intptr_t value) {
    if (text == nullptr || *text == '\0') return true;
    if (callback == nullptr) return false;
    const auto sep = static_cast<char>(separator);
    const char* p = text;
    bool answer = true;
    while (*p != '\0') {
        // A 0 separator never occurs inside the text: the rest is one piece.
        const char* end = sep != '\0' ? std::strchr(p, sep) : nullptr;
        const std::size_t length = end != nullptr ? static_cast<std::size_t>(end - p) : std::strlen(p);
        char piece[256] = {};
        std::memcpy(piece, p, length < sizeof piece ? length : sizeof piece - 1);
        answer = callback(piece, value);
        if (!answer || end == nullptr) break;
        p = end + 1;
    }
    return answer;
}

bool EnumString(char* text, EnumStringCallback callback, std::intptr_t value, std::size_t textSize) {
    if (text == nullptr) return true;
    const std::size_t length = strnlen(text, textSize);
    if (length > 0 && text[length - 1] != ';' && length + 2 <= textSize) {
        text[length] = ';';
        text[length + 1] = '\0';
    }
    return EnumString(static_cast<const char*>(text), ';', callback, value);
}

std::size_t wstrlen(const std::uint16_t* text) noexcept {
    if (text == nullptr) return 0;
    std::size_t n = 0;
    while (text[n] != 0) ++n;
    return n;
}

namespace {

// The text of a buffer of `max` bytes, or false when it is not terminated
// inside it.
bool boundedText(const char* text, std::size_t max, std::string& out) {
    if (text == nullptr || max == 0) return false;
    const std::size_t length = strnlen(text, max);
    if (length == max) return false;
    out.assign(text, length);
    return true;
}

}  // namespace

bool HostToUTF8(char* text, std::size_t max) {
    try {
        std::string source;
        if (!boundedText(text, max, source)) return false;
        const MyStr string(source.c_str(), kEncodingMacRoman);
        return string.getString(text, max, kEncodingUTF8);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool UTF8ToHost(char* text, std::size_t max) {
    try {
        std::string source;
        if (!boundedText(text, max, source)) return false;
        const MyStr string(source.c_str());
        return string.getString(text, max, kEncodingMacRoman);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace lumbrel

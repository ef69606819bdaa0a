#include "util/utf8_text.h"

#include <utf8proc.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace lumbrel {

namespace {

bool isAscii(std::string_view text) noexcept {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

struct FreeDeleter {
    void operator()(utf8proc_uint8_t* p) const noexcept { std::free(p); }
};

// utf8proc_map with the length given (a U+0000 is then a character, not the
// end); false when the text is not valid UTF-8 or memory ran out.
bool mapped(std::string_view text, utf8proc_option_t options, std::string& out) {
    utf8proc_uint8_t* result = nullptr;
    const utf8proc_ssize_t n = utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(text.data()),
                                            static_cast<utf8proc_ssize_t>(text.size()), &result, options);
    const std::unique_ptr<utf8proc_uint8_t, FreeDeleter> owned(result);
    if (n < 0 || result == nullptr) return false;
    out.assign(reinterpret_cast<const char*>(result), static_cast<std::size_t>(n));
    return true;
}

}  // namespace

UTF8Character utf8CharacterAt(std::string_view text, std::size_t at) noexcept {
    if (at >= text.size()) return {};
    utf8proc_int32_t codePoint = -1;
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data() + at);
    const utf8proc_ssize_t n = utf8proc_iterate(bytes, static_cast<utf8proc_ssize_t>(text.size() - at), &codePoint);
    if (n <= 0 || codePoint < 0) return UTF8Character{UTF8Character::kNotUTF8, 1};
    return UTF8Character{static_cast<char32_t>(codePoint), static_cast<std::size_t>(n)};
}

std::size_t utf8PrefixLength(std::string_view text, std::size_t maxCharacters) noexcept {
    std::size_t at = 0;
    for (std::size_t count = 0; count < maxCharacters && at < text.size(); ++count) {
        at += utf8CharacterAt(text, at).length;
    }
    return at;
}

std::string validUTF8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const UTF8Character c = utf8CharacterAt(text, at);
        if (c.codePoint == UTF8Character::kNotUTF8) {
            out += "\xEF\xBF\xBD";
        } else {
            out.append(text.substr(at, c.length));
        }
        at += c.length;
    }
    return out;
}

std::string composedUTF8(std::string_view text) {
    std::string out;
    if (isAscii(text) || !mapped(text, static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE), out)) {
        return std::string(text);
    }
    return out;
}

std::string caseFoldedKey(std::string_view text) {
    std::string out;
    if (isAscii(text) ||
        !mapped(text, static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE | UTF8PROC_CASEFOLD), out)) {
        return lowerAscii(text);
    }
    return out;
}

}  // namespace lumbrel

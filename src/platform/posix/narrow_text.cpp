// The narrow-character functions of this system take UTF-8: the text is
// only cut, between characters.
#include "platform/narrow_text.h"

#include <cstring>
#include <string_view>

#include "util/utf8_text.h"

namespace lumbrel::platform {

std::size_t toNarrowText(const char* text, std::size_t maxCharacters, char* out, std::size_t outSize) noexcept {
    if (out == nullptr || outSize == 0) return 0;
    out[0] = '\0';
    if (text == nullptr) return 0;
    const std::string_view whole(text);
    std::size_t kept = 0;
    std::size_t characters = 0;
    for (std::size_t at = 0; at < whole.size();) {
        const UTF8Character next = utf8CharacterAt(whole, at);
        if (next.codePoint == UTF8Character::kNotUTF8) return 0;
        at += next.length;
        if (characters < maxCharacters && at < outSize) {
            kept = at;
            ++characters;
        }
    }
    std::memcpy(out, text, kept);
    out[kept] = '\0';
    return kept;
}

}  // namespace lumbrel::platform

#include "labels/label_encoding.h"

#include <new>

#include "util/mac_roman.h"
#include "util/utf8_text.h"

namespace lumbrel {

std::string labelTextInWindowsLatin1(std::string_view utf8) {
    try {
        const std::string composed = composedUTF8(validUTF8(utf8));
        std::string out;
        out.reserve(composed.size());
        for (std::size_t at = 0; at < composed.size();) {
            const UTF8Character c = utf8CharacterAt(composed, at);
            unsigned char byte = 0;
            if (c.codePoint == UTF8Character::kNotUTF8 || !unicodeToWindowsLatin1(c.codePoint, byte)) byte = '?';
            out.push_back(static_cast<char>(byte));
            at += c.length;
        }
        return out;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

}  // namespace lumbrel

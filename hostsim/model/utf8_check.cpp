#include "utf8_check.h"

namespace hostsim {

bool isValidUtf8(std::string_view bytes) noexcept {
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        unsigned lower = 0x80;
        unsigned upper = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0) lower = 0xA0;  // no overlong forms
            if (c == 0xED) upper = 0x9F;  // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0) lower = 0x90;
            if (c == 0xF4) upper = 0x8F;  // nothing above U+10FFFF
        } else {
            return false;
        }
        if (i + length > n) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            const unsigned low = k == 1 ? lower : 0x80;
            const unsigned high = k == 1 ? upper : 0xBF;
            if (next < low || next > high) return false;
        }
        i += length;
    }
    return true;
}

}  // namespace hostsim

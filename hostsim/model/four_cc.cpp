#include "four_cc.h"

namespace hostsim {

namespace {

bool printable(unsigned value) noexcept { return value >= 0x20 && value <= 0x7E; }

}  // namespace

bool isPrintableFourCC(FourCC code) noexcept {
    for (int shift = 24; shift >= 0; shift -= 8) {
        if (!printable((code >> shift) & 0xFFu)) return false;
    }
    return true;
}

std::string fourCCText(FourCC code) {
    std::string text(4, '\0');
    for (std::size_t i = 0; i < 4; ++i) {
        text[i] = static_cast<char>((code >> (24 - 8 * i)) & 0xFFu);
    }
    return text;
}

std::optional<FourCC> fourCCFromText(std::string_view text) noexcept {
    if (text.size() != 4) return std::nullopt;
    FourCC code = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (!printable(byte)) return std::nullopt;
        code = (code << 8) | byte;
    }
    return code;
}

}  // namespace hostsim

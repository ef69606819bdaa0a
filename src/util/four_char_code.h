// Four-character codes (file types, commands, control kinds, property tags):
// a 32-bit value whose most significant byte is the first character, as the
// Mac toolbox and the host hand them over.
#pragma once

#include <cstdint>

namespace lumbrel {

constexpr std::uint32_t fourCC(const char (&text)[5]) noexcept {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) << 24) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 8) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[3]));
}

}  // namespace lumbrel

// Whether bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF): JSON text can hold only such strings.
#pragma once

#include <string_view>

namespace hostsim {

bool isValidUtf8(std::string_view bytes) noexcept;

}  // namespace hostsim

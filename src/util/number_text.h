// Numbers read from text the way the C library's atol and atof read them,
// but safe and independent of the C locale: settings files and XML written
// in one country are read in another, and an overlong number must not be
// undefined behaviour.
#pragma once

#include <cstdint>
#include <string_view>

namespace lumbrel {

// Leading blanks, an optional sign, then decimal digits; 0 when there are
// none. Values beyond 32 bits saturate.
std::int32_t parseLong(std::string_view text) noexcept;

// Leading blanks, then a decimal number with "." as decimal point and an
// optional exponent; 0 when there is none.
double parseDouble(std::string_view text) noexcept;

}  // namespace lumbrel

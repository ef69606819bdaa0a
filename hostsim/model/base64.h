// Base64 (RFC 4648, with padding) for binary slug values in document files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hostsim {

std::string base64Encode(std::string_view bytes);
// Nothing when the text is not canonical base64 (wrong alphabet, length,
// padding, or padding bits that are not zero).
std::optional<std::string> base64Decode(std::string_view text);

}  // namespace hostsim

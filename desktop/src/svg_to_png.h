// Turning a window's SVG picture into PNG bytes.
#pragma once

#include <optional>
#include <string>

namespace desktop::windows {

// The PNG bytes of `svg`; nothing when no converter runs or it fails.
std::optional<std::string> svgToPng(const std::string& svg);

}  // namespace desktop::windows

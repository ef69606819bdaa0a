// The paint target handed to window procedures: it records SVG elements into
// the picture being drawn, offset to the window's client area and clipped to it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window_system.h"

namespace lumbrel::platform {

struct Canvas {
    std::string* out = nullptr;
    int originX = 0;  // the client area's place in the picture
    int originY = 0;
    std::string clipId;  // empty: no clipping
};

}  // namespace lumbrel::platform

namespace desktop::windows {

// The dialog font is Tahoma at 8 points; DejaVu Sans Condensed comes closest in width.
inline constexpr const char* kFontFamily = "Tahoma, 'DejaVu Sans Condensed', 'DejaVu Sans', sans-serif";
inline constexpr int kFontSize = 11;

std::string svgColour(std::uint32_t rgb);
std::string svgEscape(std::string_view text);
// A text element, single line, vertically centred in `rect` (picture coordinates).
void svgText(std::string& out, const lumbrel::platform::WindowRect& rect, std::string_view text, int align,
             std::uint32_t rgb, bool bold, const std::string& clipId);

}  // namespace desktop::windows

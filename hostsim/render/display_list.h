// What a picture of a layout view is made of: filled and outlined
// rectangles, lines, decoded pictures and runs of text, in the order they
// are painted, in spread points (y downwards) as the host and the module
// hand them over. The SVG and PNG writers both read the same list, so the
// two pictures agree.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace hostsim::render {

// Red, green, blue and a strength in percent (0 transparent, 100 opaque),
// as the host's drawing colour carries them; strengths above 100 count as 100.
struct Color {
    std::uint8_t red = 0, green = 0, blue = 0;
    std::uint8_t strength = 100;
    bool operator==(const Color&) const = default;
};

// Left, top, right, bottom in points.
struct Area {
    double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;
    double width() const noexcept { return right - left; }
    double height() const noexcept { return bottom - top; }
    bool operator==(const Area&) const = default;
};

// An 8-bit RGB picture, rows top to bottom, no padding.
struct Raster {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // width * height * 3 bytes
    bool empty() const noexcept { return width <= 0 || height <= 0; }
    // The pixel at (x, y); the caller keeps inside.
    const std::uint8_t* at(int x, int y) const noexcept {
        return rgb.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
    }
};

struct FillOp {
    Area area;
    Color color;
};

// An outline drawn inside the area's edges, `width` points wide.
struct StrokeOp {
    Area area;
    Color color;
    double width = 1.0;
};

struct LineOp {
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
    Color color;
    double width = 1.0;
};

// A picture stretched over `area`, showing only what lies inside `clip`.
struct ImageOp {
    Area area;
    Area clip;
    std::shared_ptr<const Raster> pixels;
};

// Text from the baseline's left end at (x, y), in a font of the font
// catalogue (fontID; 0 or an unknown id: the host's substitute).
struct TextOp {
    std::int16_t fontID = 0;
    double hSize = 0.0, vSize = 0.0;  // points
    double x = 0.0, y = 0.0;
    Color color;
    std::u16string text;  // UTF-16 code units as the module passed them
};

using DrawOp = std::variant<FillOp, StrokeOp, LineOp, ImageOp, TextOp>;

struct DisplayList {
    std::vector<DrawOp> ops;
};

// What the module drew for one box during one redraw.
struct BoxDrawing {
    std::int32_t box = 0;
    DisplayList list;
};

}  // namespace hostsim::render

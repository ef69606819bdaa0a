// Rectangles in points. The model keeps doubles; the host interface speaks
// 16.16 fixed point, so conversions live here and nowhere else.
#pragma once

#include <cstdint>

namespace hostsim {

using Fixed = std::int32_t;  // 16.16 fixed point

inline constexpr Fixed kFixedOne = 65536;
// The span a 16.16 value can hold; coordinates outside it cannot be handed
// to a module, so documents keep every coordinate inside.
inline constexpr double kFixedMin = -32768.0;
inline constexpr double kFixedMax = 32767.0 + 65535.0 / 65536.0;

// True for a finite value that converts to 16.16 without overflow.
bool inFixedRange(double value) noexcept;

// Rounds to the nearest 16.16 value; values outside the range are clamped.
Fixed toFixed(double value) noexcept;
constexpr double fromFixed(Fixed value) noexcept { return static_cast<double>(value) / 65536.0; }

struct FixedRect {
    Fixed top = 0, left = 0, bottom = 0, right = 0;
    bool operator==(const FixedRect&) const = default;
};

// Top, left, bottom, right in points; y grows downwards as on the page.
struct Rect {
    double top = 0, left = 0, bottom = 0, right = 0;

    double width() const noexcept { return right - left; }
    double height() const noexcept { return bottom - top; }
    // Edges count as inside: a point on a box's border hits the box.
    bool contains(double v, double h) const noexcept;
    // True when the two rectangles share at least one point.
    bool meets(const Rect& other) const noexcept;
    // Every coordinate finite and in 16.16 range, top <= bottom, left <= right.
    bool valid() const noexcept;
    Rect unite(const Rect& other) const noexcept;

    bool operator==(const Rect&) const = default;
};

FixedRect toFixedRect(const Rect& rect) noexcept;
Rect fromFixedRect(const FixedRect& rect) noexcept;

}  // namespace hostsim

#include "geometry.h"

#include <algorithm>
#include <cmath>

namespace hostsim {

bool inFixedRange(double value) noexcept {
    return std::isfinite(value) && value >= kFixedMin && value <= kFixedMax;
}

Fixed toFixed(double value) noexcept {
    if (std::isnan(value)) return 0;
    const double clamped = std::clamp(value, kFixedMin, kFixedMax);
    return static_cast<Fixed>(std::lround(clamped * 65536.0));
}

bool Rect::contains(double v, double h) const noexcept {
    return v >= top && v <= bottom && h >= left && h <= right;
}

bool Rect::meets(const Rect& other) const noexcept {
    return other.left <= right && other.right >= left && other.top <= bottom && other.bottom >= top;
}

bool Rect::valid() const noexcept {
    return inFixedRange(top) && inFixedRange(left) && inFixedRange(bottom) && inFixedRange(right) && top <= bottom &&
           left <= right;
}

Rect Rect::unite(const Rect& other) const noexcept {
    return Rect{std::min(top, other.top), std::min(left, other.left), std::max(bottom, other.bottom),
                std::max(right, other.right)};
}

FixedRect toFixedRect(const Rect& rect) noexcept {
    return FixedRect{toFixed(rect.top), toFixed(rect.left), toFixed(rect.bottom), toFixed(rect.right)};
}

Rect fromFixedRect(const FixedRect& rect) noexcept {
    return Rect{fromFixed(rect.top), fromFixed(rect.left), fromFixed(rect.bottom), fromFixed(rect.right)};
}

}  // namespace hostsim

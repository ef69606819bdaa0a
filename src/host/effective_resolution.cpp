#include "host/effective_resolution.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "host/xt_pictures.h"

namespace lumbrel {

namespace {

std::optional<double> axisPpi(double resolution, Fixed scale) noexcept {
    if (!std::isfinite(resolution) || resolution <= 0.0 || scale == 0) return std::nullopt;
    const double factor = std::fabs(static_cast<double>(scale) / 65536.0);
    return resolution / factor;
}

}  // namespace

std::optional<double> effectivePpi(double resolutionH, double resolutionV, Fixed scaleH, Fixed scaleV) noexcept {
    const std::optional<double> h = axisPpi(resolutionH, scaleH);
    const std::optional<double> v = axisPpi(resolutionV, scaleV);
    if (!h || !v) return std::nullopt;
    return std::min(*h, *v);
}

std::optional<double> boxEffectivePpi(XTBoxID box, FileTypeCode type) {
    if (type == kTypeEPSF || type == fourCC("EPSP") || type == kTypePDF) return std::nullopt;
    PictureResolution resolution;
    Fixed scaleH = 0;
    Fixed scaleV = 0;
    if (!XTGetPictResolutionXY(box, &resolution) || !XTGetPictScale(box, &scaleH, &scaleV)) return std::nullopt;
    return effectivePpi(resolution.horizontal, resolution.vertical, scaleH, scaleV);
}

bool belowThreshold(double ppi, std::int32_t minPpi) noexcept {
    // 299.9994 ppi reads "300 ppi" and must not be warned about as less than 300.
    return std::round(ppi) < static_cast<double>(minPpi);
}

}  // namespace lumbrel

// The resolution a picture has on the page: the file's own resolution
// divided by the scale it is placed at, per axis.
#pragma once

#include <optional>

#include "xtapi.h"

namespace lumbrel {

// Pixels per inch on the page, the lower axis when they differ; nothing when
// a resolution or a scale is 0, negative resolution, or not a number. A
// negative scale (a flipped picture) counts by its size.
std::optional<double> effectivePpi(double resolutionH, double resolutionV, Fixed scaleH, Fixed scaleV) noexcept;

// The same for the picture of a box, as the host reports resolution and
// scale; nothing without a picture or when the host does not report both.
std::optional<double> boxEffectivePpi(XTBoxID box);

}  // namespace lumbrel

// The resolution a picture has on the page: the file's own resolution
// divided by the scale it is placed at, per axis.
#pragma once

#include <optional>

#include "filetypes/type_codes.h"
#include "xtapi.h"

namespace lumbrel {

// Pixels per inch on the page, the lower axis when they differ; nothing when
// a resolution or a scale is 0, negative resolution, or not a number. A
// negative scale (a flipped picture) counts by its size.
std::optional<double> effectivePpi(double resolutionH, double resolutionV, Fixed scaleH, Fixed scaleV) noexcept;

// The same for the picture of a box, as the host reports resolution and
// scale; nothing without a picture, when the host does not report both, and
// for EPS and PDF files, whose vector content has no resolution of its own
// (the host's figure for them says nothing).
std::optional<double> boxEffectivePpi(XTBoxID box, FileTypeCode type);

// The figure as the user reads it ("%.0f ppi") below the threshold.
bool belowThreshold(double ppi, std::int32_t minPpi) noexcept;

}  // namespace lumbrel

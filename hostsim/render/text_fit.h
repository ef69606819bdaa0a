// Fitting a line of text into a width, measured one UTF-16 unit at a time
// (the host's text has no kerning, so a run is as wide as the sum of its
// units). Each fit is one pass of cumulative widths over the units that
// fit, so a long text costs no more than reading it.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace hostsim::render {

// The width of one UTF-16 code unit, never negative.
using UnitWidth = std::function<double(char16_t)>;

// How many units of `line` go on a line `width` wide: all of them when they
// fit; else up to the last blank after the first unit that leaves a run that
// fits; else as many units as fit, and at least one of a line that is not
// empty.
std::size_t fitLine(std::u16string_view line, double width, const UnitWidth& unitWidth);

// Whether all of `text` fits in `width`; measures no further than it fits.
bool fitsWhole(std::u16string_view text, double width, const UnitWidth& unitWidth);

// How many units of `text` fit in `room` with an ellipsis of width
// `ellipsisWidth` after them, short of all of them; 0 when not even one does.
std::size_t fitBeforeEllipsis(std::u16string_view text, double ellipsisWidth, double room,
                              const UnitWidth& unitWidth);

}  // namespace hostsim::render

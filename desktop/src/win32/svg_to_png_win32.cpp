// The Windows host has no SVG converter: its dialogs are real windows, and
// pictures of the stand-in's windows are written as SVG only.
#include "svg_to_png.h"

namespace desktop::windows {

std::optional<std::string> svgToPng(const std::string&) { return std::nullopt; }

}  // namespace desktop::windows

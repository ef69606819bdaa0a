#include "hostsim/render/text_fit.h"

namespace hostsim::render {

namespace {

// The largest count of leading units whose width is not above `limit`
// (NaN and infinite limits take everything). Widths only grow, so the pass
// stops at the first unit that goes over.
std::size_t unitsWithin(std::u16string_view text, double limit, double extra, const UnitWidth& unitWidth) {
    double width = 0.0;
    for (std::size_t count = 0; count < text.size(); ++count) {
        width += unitWidth(text[count]);
        if (width + extra > limit) return count;
    }
    return text.size();
}

}  // namespace

std::size_t fitLine(std::u16string_view line, double width, const UnitWidth& unitWidth) {
    const std::size_t fit = unitsWithin(line, width, 0.0, unitWidth);
    if (fit == line.size()) return fit;
    // Break at a blank when one leaves a run that fits; a blank that starts
    // the line is no place to break.
    const std::size_t blank = fit == 0 ? std::u16string_view::npos : line.rfind(u' ', fit);
    if (blank != std::u16string_view::npos && blank > 0) return blank;
    return fit > 0 ? fit : 1;
}

bool fitsWhole(std::u16string_view text, double width, const UnitWidth& unitWidth) {
    // Nothing fits in less than no room, not even no text.
    return !(0.0 > width) && unitsWithin(text, width, 0.0, unitWidth) == text.size();
}

std::size_t fitBeforeEllipsis(std::u16string_view text, double ellipsisWidth, double room,
                              const UnitWidth& unitWidth) {
    const std::size_t fit = unitsWithin(text, room, ellipsisWidth, unitWidth);
    return fit < text.size() ? fit : text.size() - 1;
}

}  // namespace hostsim::render

#include "labels/label_state.h"

#include <cmath>
#include <limits>

#include "settings/preferences.h"

namespace lumbrel {

namespace {

LabelState gLabelState;

constexpr std::int32_t kDefaultFontSize = 8;
constexpr float kDefaultOffset = -3.0F;

std::int16_t toShort(std::int32_t value) noexcept {
    if (value > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    if (value < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(value);
}

// Truncation toward zero (-3.7 gives -3), held to the 16-bit range; a value
// that is no number keeps the default.
std::int16_t truncateOffset(float value) noexcept {
    if (std::isnan(value)) return static_cast<std::int16_t>(kDefaultOffset);
    const float truncated = std::trunc(value);
    if (truncated >= static_cast<float>(std::numeric_limits<std::int16_t>::max()))
        return std::numeric_limits<std::int16_t>::max();
    if (truncated <= static_cast<float>(std::numeric_limits<std::int16_t>::min()))
        return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(truncated);
}

}  // namespace

LabelState& labelState() noexcept {
    return gLabelState;
}

void setupDrawLabel() {
    CMySettings* prefs = getPrefs();
    LabelState& state = gLabelState;
    prefs->get(pref::kLabels, "FontName", state.printFontName, static_cast<std::int32_t>(sizeof state.printFontName));
    state.printFontSize = toShort(prefs->get(pref::kLabels, "FontSize", kDefaultFontSize));
    state.printOffset = truncateOffset(prefs->getfloat(pref::kLabels, "Offset", kDefaultOffset));
}

}  // namespace lumbrel

// The image-name labels' module-wide state: whether and how labels are
// shown, whether a print job runs and prints them, and the label font of
// print output. Shared by the screen labels and the print labels.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumbrel {

enum LabelMode : std::uint16_t {
    kLabelsOff = 0,
    kLabelsShift = 1,     // switched on with Shift held
    kLabelsFileName = 2,  // the picture's file name
};

inline constexpr std::size_t kLabelFontNameSize = 32;  // 31 characters and the terminator

struct LabelState {
    std::uint16_t mode = kLabelsOff;
    bool printing = false;    // a host print job runs
    bool printNames = false;  // the user agreed to print the labels in this job
    bool fontSent = false;    // the label font program went out in this job
    char printFontName[kLabelFontNameSize] = "__f1";
    std::int16_t printFontSize = 8;
    std::int16_t printOffset = -3;  // baseline offset from the box's top edge, points

    static constexpr const char* screenFontName = "Geneva";
    static constexpr std::int16_t screenFontSize = 10;
};

// The one instance, living as long as the module.
LabelState& labelState() noexcept;

// Reads the print label font from the settings section "Labels": "FontName"
// (at most 31 characters kept; missing keeps the current name), "FontSize"
// (default 8) and "Offset" (default -3.0, truncated toward zero). Called once
// at start-up, after the preferences are loaded.
void setupDrawLabel();

}  // namespace lumbrel

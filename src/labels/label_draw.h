// The two forms of a picture box's name label: drawn through the host's font
// and drawing functions (screen, and output the host draws itself), or
// written as a PostScript snippet into PostScript print output.
#pragma once

#include <cstdint>
#include <string_view>

#include "xtapi.h"

namespace lumbrel {

// The label of a box whose path or name is `pathOrName`. File-name mode: the
// part after the last "/" of a path that begins with "/", otherwise after the
// last ":" ("\" in the Windows build, whose paths are "C:\Folder\File"), the
// whole text without a separator. Shift mode shows the whole
// path or name. Views into `pathOrName`.
std::string_view labelText(std::string_view pathOrName, std::uint16_t mode) noexcept;

// Background and text colours of a label drawn through the host.
struct LabelColours {
    XTColor background{255, 255, 255, 100};  // white
    XTColor text{0, 0, 0, 100};              // black
};

// The colours of a screen label for the host's link status of its picture
// (XT_STATUS_...): missing white on red, modified black on amber, any other
// the plain black on white.
LabelColours statusLabelColours(std::int16_t status) noexcept;

// The label at the box's top-left corner in the host's drawing port, 10
// points high on screen at every view scale (16.16; 0.01 or less, and any
// scale that is no number, count as 1.0). Text that is not valid UTF-8 gets
// no label.
void drawScreenLabel(XTPort port, const XTFixedRect& bounds, Fixed viewScale, std::string_view text,
                     const LabelColours& colours = {});

// The label as PostScript at the current box: a white rectangle as wide as
// the text and the text in black, in the print label font, whose program is
// sent before the first label of each job.
void writePostScriptLabel(const XTFixedRect& bounds, std::string_view text);

// The point size printed labels use: the "FontSize" setting, with a size
// below 1 (a singular or flipped font matrix) read as the default 8 and one
// above 1000 held at 1000.
std::int16_t printLabelSize(std::int16_t setting) noexcept;

// The font name printed labels use: the "FontName" setting when it is one
// plain PostScript name, else the module's own label font "__f1".
const char* printLabelFontName(const char* setting) noexcept;

}  // namespace lumbrel

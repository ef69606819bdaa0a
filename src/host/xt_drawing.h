// Drawing a box's decoration through the host: the running output's kind,
// fonts and their widths, filled rectangles and text in document points, and
// raw PostScript into the page the host prints.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// XT_OUTPUT_... of the output in progress; XT_OUTPUT_SCREEN outside print
// jobs and when the host has no print group.
std::int16_t xt_outputkind();

// The host's font id for a font name; 0 (the host substitutes) when unknown.
std::int16_t xt_fontidfromname(const char* name);

// A font instance for the description, 0 when the host made none. Release
// every instance with xt_disposefontinstance.
XTFontInst xt_newfontinstance(const XTFontDesc& desc);
void xt_disposefontinstance(XTFontInst font);

// Advance width of one character by its code point, 16.16 points; 0
// without a font.
Fixed xt_charwidth(XTFontInst font, char32_t codePoint);

// Fills a rectangle of the draw's port (document points).
void xt_fillrect(XTPort port, double left, double top, double right, double bottom, XTColor color);

// Draws `count` UTF-16 units with the font, baseline starting at (x, y).
void xt_drawtext(XTPort port, XTFontInst font, const std::uint16_t* units, std::int32_t count, double x, double y,
                 XTColor color);

// Sends bytes into the PostScript the host writes, at the current box; the
// host's result, -1 when the host has no such function.
XTError xt_psoutput(const void* data, std::int32_t length);

}  // namespace lumbrel

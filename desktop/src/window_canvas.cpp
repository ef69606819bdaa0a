#include "window_canvas.h"

#include <algorithm>
#include <cstdio>

#include "windows_state.h"

namespace desktop::windows {

std::string svgColour(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

std::string svgEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default:
                // Control characters are not allowed in XML text.
                if (static_cast<unsigned char>(c) < 0x20) {
                    out += ' ';
                } else {
                    out += c;
                }
        }
    }
    return out;
}

namespace {

std::string clipAttribute(const std::string& clipId) {
    return clipId.empty() ? std::string() : " clip-path=\"url(#" + clipId + ")\"";
}

}  // namespace

void svgText(std::string& out, const lumbrel::platform::WindowRect& rect, std::string_view text, int align,
             std::uint32_t rgb, bool bold, const std::string& clipId) {
    if (text.empty()) return;
    int x = rect.left;
    const char* anchor = "start";
    if (align == 1) {
        x = rect.left + rect.width / 2;
        anchor = "middle";
    } else if (align == 2) {
        x = rect.left + rect.width;
        anchor = "end";
    }
    // The baseline that centres a 12-pixel line in the rectangle.
    const int baseline = rect.top + (rect.height + kFontSize) / 2 - 2;
    out += "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(baseline) + "\" text-anchor=\"" + anchor +
           "\" fill=\"" + svgColour(rgb) + "\"" + (bold ? " font-weight=\"bold\"" : "") + clipAttribute(clipId) +
           " xml:space=\"preserve\">" + svgEscape(text) + "</text>\n";
}

}  // namespace desktop::windows

namespace lumbrel::platform {

namespace dw = desktop::windows;

namespace {

std::string rectAttributes(const Canvas& canvas, const WindowRect& rect) {
    return "x=\"" + std::to_string(canvas.originX + rect.left) + "\" y=\"" + std::to_string(canvas.originY + rect.top) +
           "\" width=\"" + std::to_string(std::max(0, rect.width)) + "\" height=\"" +
           std::to_string(std::max(0, rect.height)) + "\"";
}

}  // namespace

void fillRect(Canvas* canvas, const WindowRect& rect, std::uint32_t rgb) noexcept {
    if (canvas == nullptr || canvas->out == nullptr) return;
    try {
        *canvas->out += "<rect " + rectAttributes(*canvas, rect) + " fill=\"" + dw::svgColour(rgb) + "\"" +
                        dw::clipAttribute(canvas->clipId) + "/>\n";
    } catch (...) {
    }
}

void frameRect(Canvas* canvas, const WindowRect& rect, std::uint32_t rgb) noexcept {
    if (canvas == nullptr || canvas->out == nullptr || rect.width <= 0 || rect.height <= 0) return;
    try {
        // A one-pixel frame inside the rectangle, as FrameRect draws it.
        const WindowRect inner{rect.left, rect.top, rect.width, rect.height};
        std::string attributes = "x=\"" + std::to_string(canvas->originX + inner.left) + ".5\" y=\"" +
                                 std::to_string(canvas->originY + inner.top) + ".5\" width=\"" +
                                 std::to_string(inner.width - 1) + "\" height=\"" + std::to_string(inner.height - 1) +
                                 "\"";
        *canvas->out += "<rect " + attributes + " fill=\"none\" stroke=\"" + dw::svgColour(rgb) + "\"" +
                        dw::clipAttribute(canvas->clipId) + "/>\n";
    } catch (...) {
    }
}

void drawLine(Canvas* canvas, int x1, int y1, int x2, int y2, std::uint32_t rgb) noexcept {
    if (canvas == nullptr || canvas->out == nullptr) return;
    try {
        // Pixel centres, so that a one-pixel line covers whole pixels.
        *canvas->out += "<line x1=\"" + std::to_string(canvas->originX + x1) + ".5\" y1=\"" +
                        std::to_string(canvas->originY + y1) + ".5\" x2=\"" + std::to_string(canvas->originX + x2) +
                        ".5\" y2=\"" + std::to_string(canvas->originY + y2) + ".5\" stroke=\"" + dw::svgColour(rgb) +
                        "\" stroke-width=\"1\"" + dw::clipAttribute(canvas->clipId) + "/>\n";
    } catch (...) {
    }
}

void drawText(Canvas* canvas, const WindowRect& rect, std::string_view utf8, int align, std::uint32_t rgb,
              FontRef font) noexcept {
    if (canvas == nullptr || canvas->out == nullptr) return;
    try {
        const dw::Font* face = dw::findFont(font);
        const WindowRect at{canvas->originX + rect.left, canvas->originY + rect.top, rect.width, rect.height};
        dw::svgText(*canvas->out, at, utf8, align, rgb, face != nullptr && face->weight >= 700, canvas->clipId);
    } catch (...) {
    }
}

void invertRect(Canvas* canvas, const WindowRect& rect) noexcept {
    if (canvas == nullptr || canvas->out == nullptr) return;
    try {
        *canvas->out += "<rect " + rectAttributes(*canvas, rect) + " fill=\"#FFFFFF\" style=\"mix-blend-mode:difference\"" +
                        dw::clipAttribute(canvas->clipId) + "/>\n";
    } catch (...) {
    }
}

}  // namespace lumbrel::platform

// The scene as SVG: one user unit is one spread point, the viewBox maps the
// shown area onto the picture's pixels, so the figures in the file are the
// ones the host and the module handed over.
#include "hostsim/render/page_renderer.h"

#include "desktop/utf8.h"
#include "hostsim/model/base64.h"
#include "hostsim/render/font_catalog.h"

#include <charconv>
#include <cmath>
#include <map>

namespace hostsim::render {

namespace {

std::string num(double value) {
    if (!std::isfinite(value)) value = 0.0;
    if (std::fabs(value) < 1e-9) value = 0.0;
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 10);
    if (result.ec != std::errc{}) return "0";
    return std::string(buffer, result.ptr);
}

std::string hex(Color c) {
    static const char* digits = "0123456789abcdef";
    std::string out = "#";
    for (const std::uint8_t v : {c.red, c.green, c.blue}) {
        out += digits[v >> 4];
        out += digits[v & 15];
    }
    return out;
}

std::string opacity(const char* attribute, Color c) {
    if (c.strength >= 100) return {};
    return std::string(" ") + attribute + "=\"" + num(c.strength / 100.0) + "\"";
}


// UTF-16 as XML character data: markup characters escaped; lone surrogates
// and characters XML does not allow become U+FFFD.
std::string xmlText(const std::u16string& units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = desktop::nextUtf16(units.data(), units.size(), i);
        if (c == 0xFFFE || c == 0xFFFF || (c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D)) c = 0xFFFD;
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            case 0x09: out += "&#9;"; break;
            case 0x0A: out += "&#10;"; break;
            case 0x0D: out += "&#13;"; break;
            default: desktop::appendUtf8(out, c);
        }
    }
    return out;
}

std::string rectAttributes(const Area& a) {
    return "x=\"" + num(a.left) + "\" y=\"" + num(a.top) + "\" width=\"" + num(std::fmax(0.0, a.width())) +
           "\" height=\"" + num(std::fmax(0.0, a.height())) + "\"";
}

class SvgWriter {
public:
    std::string out;

    void operator()(const FillOp& op) {
        out += "<rect " + rectAttributes(op.area) + " fill=\"" + hex(op.color) + "\"" + opacity("fill-opacity", op.color) +
               "/>\n";
    }
    void operator()(const StrokeOp& op) {
        // Inside the area's edges, as the raster draws it.
        const double w = op.width, half = w / 2.0;
        const Area inner{op.area.left + half, op.area.top + half, op.area.right - half, op.area.bottom - half};
        out += "<rect " + rectAttributes(inner) + " fill=\"none\" stroke=\"" + hex(op.color) + "\" stroke-width=\"" +
               num(w) + "\"" + opacity("stroke-opacity", op.color) + "/>\n";
    }
    void operator()(const LineOp& op) {
        out += "<line x1=\"" + num(op.x1) + "\" y1=\"" + num(op.y1) + "\" x2=\"" + num(op.x2) + "\" y2=\"" +
               num(op.y2) + "\" stroke=\"" + hex(op.color) + "\" stroke-width=\"" + num(op.width) + "\"" +
               opacity("stroke-opacity", op.color) + "/>\n";
    }
    void operator()(const ImageOp& op) {
        if (!op.pixels || op.pixels->empty()) return;
        const Raster* raster = op.pixels.get();
        auto [it, fresh] = images_.emplace(raster, "");
        if (fresh) {
            const std::optional<std::string> png = encodePng(*raster);
            if (!png) {
                images_.erase(it);
                return;
            }
            it->second = "data:image/png;base64," + base64Encode(*png);
        }
        const std::string clip = "clip" + std::to_string(++clips_);
        out += "<clipPath id=\"" + clip + "\"><rect " + rectAttributes(op.clip) + "/></clipPath>\n";
        out += "<image " + rectAttributes(op.area) + " preserveAspectRatio=\"none\" style=\"image-rendering:pixelated\"" +
               " clip-path=\"url(#" + clip + ")\" href=\"" + it->second + "\"/>\n";
    }
    void operator()(const TextOp& op) {
        const CatalogFont& font = fontByID(op.fontID);
        out += "<text x=\"" + num(op.x) + "\" y=\"" + num(op.y) + "\" font-family=\"" + font.family +
               "\" font-size=\"" + num(op.vSize) + "\"";
        if (op.hSize != op.vSize && op.vSize > 0 && std::isfinite(op.hSize / op.vSize)) {
            // A font stretched sideways: scaled about the text's own start.
            const double sx = op.hSize / op.vSize;
            out += " transform=\"translate(" + num(op.x) + " " + num(op.y) + ") scale(" + num(sx) + " 1) translate(" +
                   num(-op.x) + " " + num(-op.y) + ")\"";
        }
        out += " fill=\"" + hex(op.color) + "\"" + opacity("fill-opacity", op.color) + " xml:space=\"preserve\">" +
               xmlText(op.text) + "</text>\n";
    }

private:
    std::map<const Raster*, std::string> images_;  // each picture embedded as often as drawn, encoded once
    int clips_ = 0;
};

}  // namespace

std::string sceneToSvg(const Scene& scene) {
    SvgWriter writer;
    std::string& out = writer.out;
    const double viewWidth = scene.width / scene.scale, viewHeight = scene.height / scene.scale;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + std::to_string(scene.width) +
           "\" height=\"" + std::to_string(scene.height) + "\" viewBox=\"" + num(scene.area.left) + " " +
           num(scene.area.top) + " " + num(viewWidth) + " " + num(viewHeight) + "\">\n";
    for (const DrawOp& op : scene.list.ops) std::visit(writer, op);
    out += "</svg>\n";
    return out;
}

}  // namespace hostsim::render

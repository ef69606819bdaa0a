// The scene in pixels: areas with their partly covered edge pixels blended,
// lines by their distance from each pixel centre, pictures sampled at the
// nearest pixel, glyphs from FreeType's anti-aliased bitmaps.
#include "hostsim/render/page_renderer.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace hostsim::render {

namespace {

class Canvas {
public:
    Canvas(const Scene& scene, FontEngine& fonts) : scene_(scene), fonts_(fonts) {
        raster.width = scene.width;
        raster.height = scene.height;
        raster.rgb.assign(static_cast<std::size_t>(scene.width) * static_cast<std::size_t>(scene.height) * 3, 0xFF);
    }

    Raster raster;
    std::string error;

    double px(double x) const { return (x - scene_.area.left) * scene_.scale; }
    double py(double y) const { return (y - scene_.area.top) * scene_.scale; }

    void blend(int x, int y, Color c, double alpha) {
        if (x < 0 || y < 0 || x >= raster.width || y >= raster.height || !(alpha > 0.0)) return;
        alpha = std::min(alpha, 1.0) * std::min<double>(c.strength, 100) / 100.0;
        std::uint8_t* p = raster.rgb.data() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(raster.width) +
                                               static_cast<std::size_t>(x)) * 3;
        const std::uint8_t src[3] = {c.red, c.green, c.blue};
        for (int k = 0; k < 3; ++k) {
            p[k] = static_cast<std::uint8_t>(std::lround(p[k] + (src[k] - p[k]) * alpha));
        }
    }

    // Pixel rows or columns [lo, hi) clamped to [0, limit): the first index
    // and one past the last; empty for areas that are no numbers.
    static void span(double lo, double hi, int limit, int& first, int& last) {
        first = last = 0;
        if (!(lo < hi)) return;
        lo = std::clamp(lo, 0.0, static_cast<double>(limit));
        hi = std::clamp(hi, 0.0, static_cast<double>(limit));
        first = static_cast<int>(std::floor(lo));
        last = static_cast<int>(std::ceil(hi));
    }

    static double overlap(double lo, double hi, int pixel) {
        return std::max(0.0, std::min(hi, pixel + 1.0) - std::max(lo, static_cast<double>(pixel)));
    }

    void fill(const Area& area, Color color) {
        const double x0 = px(area.left), x1 = px(area.right), y0 = py(area.top), y1 = py(area.bottom);
        int fx = 0, lx = 0, fy = 0, ly = 0;
        span(x0, x1, raster.width, fx, lx);
        span(y0, y1, raster.height, fy, ly);
        for (int y = fy; y < ly; ++y) {
            const double cy = overlap(y0, y1, y);
            for (int x = fx; x < lx; ++x) blend(x, y, color, cy * overlap(x0, x1, x));
        }
    }

    void operator()(const FillOp& op) { fill(op.area, op.color); }

    void operator()(const StrokeOp& op) {
        const Area& a = op.area;
        const double w = std::min({op.width, a.width() / 2.0, a.height() / 2.0});
        if (!(w > 0.0)) return;
        fill(Area{a.left, a.top, a.right, a.top + w}, op.color);
        fill(Area{a.left, a.bottom - w, a.right, a.bottom}, op.color);
        fill(Area{a.left, a.top + w, a.left + w, a.bottom - w}, op.color);
        fill(Area{a.right - w, a.top + w, a.right, a.bottom - w}, op.color);
    }

    void operator()(const LineOp& op) {
        const double x1 = px(op.x1), y1 = py(op.y1), x2 = px(op.x2), y2 = py(op.y2);
        const double half = std::max(op.width * scene_.scale, 1.0) / 2.0;
        if (!std::isfinite(x1 + y1 + x2 + y2 + half)) return;
        const double dx = x2 - x1, dy = y2 - y1, length2 = dx * dx + dy * dy;
        // Walk the pixels near the line along its longer axis only.
        const bool steep = std::fabs(dy) > std::fabs(dx);
        const double a0 = steep ? std::min(y1, y2) : std::min(x1, x2);
        const double a1 = steep ? std::max(y1, y2) : std::max(x1, x2);
        const int limitA = steep ? raster.height : raster.width;
        const int limitB = steep ? raster.width : raster.height;
        int first = 0, last = 0;
        span(a0 - half, a1 + half + 1.0, limitA, first, last);
        const double slope = steep ? (dy != 0.0 ? dx / dy : 0.0) : (dx != 0.0 ? dy / dx : 0.0);
        const double reach = half * std::sqrt(1.0 + slope * slope) + 1.0;
        for (int a = first; a < last; ++a) {
            const double centreA = a + 0.5;
            const double along = std::clamp(centreA, a0, a1);
            const double b = steep ? x1 + (along - y1) * slope : y1 + (along - x1) * slope;
            const int bFirst = std::max(0, static_cast<int>(std::floor(b - reach)));
            const int bLast = std::min(limitB - 1, static_cast<int>(std::ceil(b + reach)));
            for (int bb = bFirst; bb <= bLast; ++bb) {
                const double cx = steep ? bb + 0.5 : centreA, cy = steep ? centreA : bb + 0.5;
                double t = length2 > 0.0 ? ((cx - x1) * dx + (cy - y1) * dy) / length2 : 0.0;
                t = std::clamp(t, 0.0, 1.0);
                const double distance = std::hypot(cx - (x1 + t * dx), cy - (y1 + t * dy));
                const double coverage = std::clamp(half + 0.5 - distance, 0.0, 1.0);
                if (steep) {
                    blend(bb, a, op.color, coverage);
                } else {
                    blend(a, bb, op.color, coverage);
                }
            }
        }
    }

    void operator()(const ImageOp& op) {
        if (!op.pixels || op.pixels->empty()) return;
        const Raster& src = *op.pixels;
        if (src.rgb.size() < static_cast<std::size_t>(src.width) * static_cast<std::size_t>(src.height) * 3) return;
        const double x0 = px(op.area.left), x1 = px(op.area.right), y0 = py(op.area.top), y1 = py(op.area.bottom);
        if (!(x1 > x0) || !(y1 > y0)) return;
        int fx = 0, lx = 0, fy = 0, ly = 0;
        span(std::max(x0, px(op.clip.left)), std::min(x1, px(op.clip.right)), raster.width, fx, lx);
        span(std::max(y0, py(op.clip.top)), std::min(y1, py(op.clip.bottom)), raster.height, fy, ly);
        for (int y = fy; y < ly; ++y) {
            const int sy = std::clamp(static_cast<int>((y + 0.5 - y0) / (y1 - y0) * src.height), 0, src.height - 1);
            for (int x = fx; x < lx; ++x) {
                const int sx = std::clamp(static_cast<int>((x + 0.5 - x0) / (x1 - x0) * src.width), 0, src.width - 1);
                const std::uint8_t* s = src.at(sx, sy);
                blend(x, y, Color{s[0], s[1], s[2], 100}, 1.0);
            }
        }
    }

    void operator()(const TextOp& op) {
        if (!error.empty()) return;
        const double hPixels = op.hSize * scene_.scale, vPixels = op.vSize * scene_.scale;
        double penX = px(op.x);
        // The baseline on a pixel boundary keeps small text crisp.
        const double baseline = std::round(py(op.y));
        if (!std::isfinite(penX) || !std::isfinite(baseline)) return;
        for (std::size_t i = 0; i < op.text.size(); ++i) {
            std::uint32_t c = op.text[i];
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < op.text.size() && op.text[i + 1] >= 0xDC00 &&
                op.text[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (op.text[i + 1] - 0xDC00U);
                ++i;
            }
            if (penX > raster.width + 1.0) break;
            const double whole = std::floor(penX);
            GlyphBitmap glyph;
            if (!fonts_.glyph(op.fontID, hPixels, vPixels, c, penX - whole, 0.0, glyph)) {
                error = fonts_.error();
                return;
            }
            const int left = static_cast<int>(whole) + glyph.left;
            const int top = static_cast<int>(baseline) - glyph.top;
            for (int row = 0; row < glyph.rows && glyph.buffer != nullptr; ++row) {
                const std::uint8_t* line = glyph.buffer + static_cast<std::ptrdiff_t>(row) * glyph.pitch;
                for (int col = 0; col < glyph.width; ++col) {
                    if (line[col] != 0) blend(left + col, top + row, op.color, line[col] / 255.0);
                }
            }
            penX += glyph.advance;
        }
    }

private:
    const Scene& scene_;
    FontEngine& fonts_;
};

}  // namespace

std::optional<Raster> rasterize(const Scene& scene, FontEngine& fonts, std::string* error) {
    if (scene.width <= 0 || scene.height <= 0 || scene.width > kMaxPixels || scene.height > kMaxPixels ||
        !(scene.scale > 0.0)) {
        if (error != nullptr) *error = "the picture has no size or is larger than the limit";
        return std::nullopt;
    }
    try {
        Canvas canvas(scene, fonts);
        for (const DrawOp& op : scene.list.ops) {
            std::visit(canvas, op);
            if (!canvas.error.empty()) {
                if (error != nullptr) *error = canvas.error;
                return std::nullopt;
            }
        }
        return std::move(canvas.raster);
    } catch (const std::bad_alloc&) {
        if (error != nullptr) *error = "out of memory";
        return std::nullopt;
    }
}

}  // namespace hostsim::render

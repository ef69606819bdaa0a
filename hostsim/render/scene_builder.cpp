// The host's own part of a view: pasteboard, pages, box frames, previews of
// pictures and the text of text boxes; the module's drawings go after their
// boxes, as the box-drawing callback runs after the host drew the box.
#include "hostsim/render/page_renderer.h"

#include "hostsim/render/font_catalog.h"
#include "hostsim/render/picture_decode.h"
#include "hostsim/render/text_fit.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>

namespace hostsim::render {

namespace {

constexpr double kPasteboardMargin = 36.0;  // points of pasteboard around the spread
constexpr double kMaxScale = 80.0;          // 8000 %
constexpr Color kPasteboard{0xD6, 0xD6, 0xD6, 100};
constexpr Color kPaper{0xFF, 0xFF, 0xFF, 100};
constexpr Color kPageEdge{0x70, 0x70, 0x70, 100};
constexpr Color kPictureFrame{0x30, 0x30, 0x30, 100};
constexpr Color kTextFrame{0x4A, 0x6E, 0xA8, 100};
constexpr Color kEmptyCross{0x9A, 0x9A, 0x9A, 100};
constexpr Color kPlaceholder{0xE8, 0xE8, 0xE8, 100};
constexpr Color kPlaceholderCross{0xB4, 0xB4, 0xB4, 100};
constexpr Color kPlaceholderContent{0xD2, 0xD2, 0xD2, 100};
constexpr Color kInk{0x20, 0x20, 0x20, 100};
constexpr Color kLine{0x00, 0x00, 0x00, 100};

// Box text and the names on placeholders, in document points.
constexpr std::int16_t kBoxTextFont = 21;  // "Helvetica"
constexpr double kBoxTextSize = 10.0;
constexpr double kNameSize = 8.0;
constexpr double kTextInset = 4.0;

Area areaOf(const Rect& r) { return Area{r.left, r.top, r.right, r.bottom}; }

Area unite(const Area& a, const Area& b) {
    return Area{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

bool finiteArea(const Area& a) {
    return std::isfinite(a.left) && std::isfinite(a.top) && std::isfinite(a.right) && std::isfinite(a.bottom) &&
           a.left <= a.right && a.top <= a.bottom;
}

std::u16string utf16(std::string_view utf8) {
    std::u16string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        std::uint32_t c = 0xFFFD;
        std::size_t n = 1;
        if (b < 0x80) {
            c = b;
        } else if (b >= 0xC2 && b < 0xE0) {
            n = 2;
        } else if (b >= 0xE0 && b < 0xF0) {
            n = 3;
        } else if (b >= 0xF0 && b < 0xF5) {
            n = 4;
        }
        if (n > 1) {
            if (i + n > utf8.size()) {
                n = 1;
            } else {
                c = b & (0x7FU >> n);
                for (std::size_t k = 1; k < n; ++k) {
                    const auto cont = static_cast<unsigned char>(utf8[i + k]);
                    if ((cont & 0xC0) != 0x80) {
                        c = 0xFFFD;
                        n = k;
                        break;
                    }
                    c = (c << 6) | (cont & 0x3FU);
                }
            }
        }
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
        i += n;
    }
    return out;
}

class Builder {
public:
    Builder(Scene& scene, const SceneOptions& options) : scene_(scene), options_(options) {}

    void add(DrawOp op) { scene_.list.ops.push_back(std::move(op)); }
    double hairline() const { return 1.0 / scene_.scale; }

    double unitWidth(char16_t unit, double size) {
        std::optional<double> w;
        if (options_.fonts != nullptr) w = options_.fonts->advance(kBoxTextFont, size, unit);
        return w ? *w : size * 0.55;
    }

    UnitWidth unitWidths(double size) {
        return [this, size](char16_t unit) { return unitWidth(unit, size); };
    }

    void text(const std::u16string& units, double x, double y, double size, Color color) {
        add(TextOp{kBoxTextFont, size, size, x, y, color, units});
    }

    // The box's text broken into lines at blanks (and at CR or LF), as many
    // lines as fit in the box.
    void boxText(const Box& box) {
        const Rect& b = box.bounds();
        const double width = b.width() - 2 * kTextInset;
        const double lineHeight = kBoxTextSize * 1.2;
        double y = b.top + kTextInset + kBoxTextSize;
        if (width <= 0) return;
        const std::u16string all = utf16(box.text());
        const UnitWidth widths = unitWidths(kBoxTextSize);
        std::size_t start = 0;
        while (start <= all.size() && y <= b.bottom - kTextInset + 0.01) {
            std::size_t end = all.find_first_of(u"\r\n", start);
            if (end == std::u16string::npos) end = all.size();
            std::u16string_view paragraph = std::u16string_view(all).substr(start, end - start);
            start = end + 1;
            while (y <= b.bottom - kTextInset + 0.01) {
                const std::size_t cut = fitLine(paragraph, width, widths);
                text(std::u16string(paragraph.substr(0, cut)), b.left + kTextInset, y, kBoxTextSize, kInk);
                y += lineHeight;
                std::size_t next = cut;
                while (next < paragraph.size() && paragraph[next] == u' ') ++next;
                paragraph.remove_prefix(next);
                if (paragraph.empty()) break;
            }
            if (end >= all.size()) break;
        }
    }

    void cross(const Rect& b, Color color) {
        add(LineOp{b.left, b.top, b.right, b.bottom, color, hairline()});
        add(LineOp{b.left, b.bottom, b.right, b.top, color, hairline()});
    }

    // Where the picture sits: its origin offset from the box's corner, its
    // own size times its scale.
    static Area placement(const Rect& b, const Picture& picture) {
        return Area{b.left + picture.offsetH, b.top + picture.offsetV,
                    b.left + picture.offsetH + picture.bounds.width() * picture.scaleH,
                    b.top + picture.offsetV + picture.bounds.height() * picture.scaleV};
    }

    // A picture with no preview: light grey, its own extent (a PDF's chosen
    // page box, say) darker within the box, a cross, the file name at the foot.
    void placeholder(const Box& box, const Picture& picture, bool missing) {
        const Rect& b = box.bounds();
        add(FillOp{areaOf(b), kPlaceholder});
        const Area at = placement(b, picture);
        const Area shown{std::max(at.left, b.left), std::max(at.top, b.top), std::min(at.right, b.right),
                         std::min(at.bottom, b.bottom)};
        if (finiteArea(shown) && shown.width() > 0 && shown.height() > 0) {
            add(FillOp{shown, kPlaceholderContent});
        }
        cross(b, kPlaceholderCross);
        std::string name = picture.path.substr(picture.path.rfind('/') == std::string::npos ? 0
                                                                                           : picture.path.rfind('/') + 1);
        if (missing) name += " (missing)";
        std::u16string units = utf16(name);
        const double room = b.width() - 2 * kTextInset;
        if (room <= 0 || b.height() < kNameSize + kTextInset) return;
        const UnitWidth widths = unitWidths(kNameSize);
        if (!fitsWhole(units, room, widths)) {
            const char16_t dots = u'\u2026';
            units.resize(fitBeforeEllipsis(units, unitWidth(dots, kNameSize), room, widths));
            if (units.empty()) return;
            units += dots;
        }
        text(units, b.left + kTextInset, b.bottom - kTextInset, kNameSize, kInk);
    }

    void picture(const Box& box) {
        const Rect& b = box.bounds();
        const std::optional<Picture>& picture = box.picture();
        if (!picture) {
            if (options_.frames) cross(b, kEmptyCross);
            return;
        }
        std::shared_ptr<const Raster> pixels;
        bool missing = !fileStamp(picture->path).has_value();
        if (options_.previews && !missing) pixels = decoded(picture->path);
        if (!pixels) {
            placeholder(box, *picture, missing);
            return;
        }
        // A picture of no size fills the box.
        Area at = placement(b, *picture);
        if (!finiteArea(at) || at.width() <= 0 || at.height() <= 0) at = areaOf(b);
        add(ImageOp{at, areaOf(b), pixels});
    }

    std::shared_ptr<const Raster> decoded(const std::string& path) {
        if (const auto it = cache_.find(path); it != cache_.end()) return it->second;
        std::shared_ptr<const Raster> pixels;
        if (std::optional<Raster> raster = decodePicture(path)) pixels = std::make_shared<Raster>(std::move(*raster));
        cache_.emplace(path, pixels);
        return pixels;
    }

    void box(const Box& box) {
        const Rect& b = box.bounds();
        switch (box.kind()) {
            case kBoxGroup: return;  // its members draw themselves
            case kBoxLine: {
                Area line = areaOf(b);
                // At least a pixel, so thin rules stay visible.
                if (line.height() < hairline()) line.bottom = line.top + hairline();
                if (line.width() < hairline()) line.right = line.left + hairline();
                add(FillOp{line, kLine});
                return;
            }
            case kBoxText:
                boxText(box);
                if (options_.frames) add(StrokeOp{areaOf(b), kTextFrame, hairline()});
                return;
            case kBoxPicture:
                picture(box);
                if (options_.frames) add(StrokeOp{areaOf(b), kPictureFrame, hairline()});
                return;
            default: return;
        }
    }

private:
    Scene& scene_;
    const SceneOptions& options_;
    std::map<std::string, std::shared_ptr<const Raster>> cache_;
};

int pixels(double points, double scale) {
    const double n = std::ceil(points * scale - 1e-9);
    if (!(n >= 1.0)) return 1;
    return n > kMaxPixels ? kMaxPixels : static_cast<int>(n);
}

}  // namespace

double sanitizeScale(double scale) noexcept {
    if (!std::isfinite(scale) || scale < 0.01) return 1.0;
    return scale > kMaxScale ? kMaxScale : scale;
}

Scene spreadScene(const Document& doc, int spread, double scale, const std::vector<BoxDrawing>& drawings,
                  const SceneOptions& options) {
    Scene scene;
    scene.scale = sanitizeScale(scale);
    Builder build(scene, options);
    const Spread* shown = doc.spread(spread);

    Area area{0.0, 0.0, 612.0, 792.0};
    if (shown != nullptr) {
        area = Area{0.0, 0.0, shown->width, shown->height};
        for (const BoxId id : shown->boxes) {
            const Box* box = doc.findBox(id);
            if (box != nullptr && finiteArea(areaOf(box->bounds()))) area = unite(area, areaOf(box->bounds()));
        }
        area = Area{area.left - kPasteboardMargin, area.top - kPasteboardMargin, area.right + kPasteboardMargin,
                    area.bottom + kPasteboardMargin};
    }
    if (options.area && finiteArea(*options.area) && options.area->width() > 0 && options.area->height() > 0) {
        area = *options.area;
    }
    scene.area = area;
    scene.width = pixels(area.width(), scene.scale);
    scene.height = pixels(area.height(), scene.scale);

    build.add(FillOp{area, options.pasteboard ? kPasteboard : kPaper});
    if (shown == nullptr) return scene;
    for (const Page& page : shown->pages) {
        const Area paper{page.left, page.top, page.left + doc.pageWidth, page.top + doc.pageHeight};
        build.add(FillOp{paper, kPaper});
        if (options.frames) {
            const double edge = build.hairline();
            build.add(StrokeOp{Area{paper.left - edge, paper.top - edge, paper.right + edge, paper.bottom + edge},
                               kPageEdge, edge});
        }
    }
    std::vector<bool> used(drawings.size(), false);
    for (const BoxId id : shown->boxes) {
        if (const Box* box = doc.findBox(id)) build.box(*box);
        for (std::size_t i = 0; i < drawings.size(); ++i) {
            if (drawings[i].box != id) continue;
            used[i] = true;
            for (const DrawOp& op : drawings[i].list.ops) build.add(op);
        }
    }
    // Drawings of boxes no longer in the chain (the module removed them while drawing) still show.
    for (std::size_t i = 0; i < drawings.size(); ++i) {
        if (used[i]) continue;
        for (const DrawOp& op : drawings[i].list.ops) build.add(op);
    }
    return scene;
}

}  // namespace hostsim::render

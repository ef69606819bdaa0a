// Pictures of windows: every standard control is drawn from its geometry and
// state in a Windows-like look; the module's own classes paint themselves on
// Message::Paint, owner-drawn list boxes through Message::DrawItem to their
// parent. Hidden windows are left out, disabled ones drawn grey.
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>

#include "desktop/desktop.h"
#include "desktop/files/file_replace.h"
#include "dialog_view.h"
#include "svg_to_png.h"
#include "window_canvas.h"
#include "windows_state.h"

namespace desktop::windows {

namespace ps = lumbrel::platform::style;
using lumbrel::platform::Canvas;

namespace {

constexpr std::uint32_t kFace = 0xF0F0F0;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kText = 0x000000;
constexpr std::uint32_t kGreyText = 0xA0A0A0;
constexpr std::uint32_t kBorder = 0x7A7A7A;
constexpr std::uint32_t kButtonFace = 0xE1E1E1;
constexpr std::uint32_t kButtonBorder = 0xADADAD;
constexpr std::uint32_t kAccent = 0x0078D7;
constexpr std::uint32_t kGroupLine = 0xDCDCDC;
constexpr std::uint32_t kProgressBar = 0x06B025;
constexpr int kRowHeight = 16;
constexpr int kComboHeight = 21;
constexpr int kTabHeight = 21;
constexpr int kScrollBarWidth = 17;

struct Painter {
    std::string out;
    int clips = 0;

    void rect(int x, int y, int w, int h, std::uint32_t fill) {
        if (w <= 0 || h <= 0) return;
        out += "<rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" width=\"" + std::to_string(w) +
               "\" height=\"" + std::to_string(h) + "\" fill=\"" + svgColour(fill) + "\"/>\n";
    }
    // A frame of `thickness` pixels inside the rectangle, optionally filled.
    void frame(int x, int y, int w, int h, std::uint32_t stroke, int thickness = 1, const char* fill = "none") {
        if (w <= thickness || h <= thickness) return;
        const double half = thickness / 2.0;
        char attributes[160];
        std::snprintf(attributes, sizeof attributes,
                      "x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" stroke-width=\"%d\"", x + half, y + half,
                      w - 2 * half, h - 2 * half, thickness);
        out += std::string("<rect ") + attributes + " fill=\"" + fill + "\" stroke=\"" + svgColour(stroke) + "\"/>\n";
    }
    void text(const WindowRect& at, std::string_view content, int align, std::uint32_t colour, bool bold,
              const std::string& clip = std::string()) {
        svgText(out, at, content, align, colour, bold, clip);
    }
    // A clip path for a rectangle; answers its id.
    std::string clip(int x, int y, int w, int h) {
        const std::string id = "clip" + std::to_string(++clips);
        out += "<clipPath id=\"" + id + "\"><rect x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) +
               "\" width=\"" + std::to_string(std::max(0, w)) + "\" height=\"" + std::to_string(std::max(0, h)) +
               "\"/></clipPath>\n";
        return id;
    }
};

bool isBold(const Window& w) noexcept {
    const Font* font = findFont(w.font);
    return font != nullptr && font->weight >= 700;
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
    return lines;
}

int characterCount(std::string_view text) noexcept {
    int count = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    }
    return count;
}

std::string maskedText(std::string_view text) {
    std::string out;
    for (int i = characterCount(text); i > 0; --i) out += "\xE2\x97\x8F";  // a black circle per character
    return out;
}

// Text lines from the top of `at` (several) or centred (one line).
void textBlock(Painter& p, const WindowRect& at, std::string_view text, int align, std::uint32_t colour, bool bold,
               const std::string& clip) {
    const std::vector<std::string_view> lines = linesOf(text);
    if (lines.size() <= 1) {
        p.text(at, text, align, colour, bold, clip);
        return;
    }
    int top = at.top + 1;
    for (const auto line : lines) {
        p.text({at.left, top, at.width, kRowHeight}, line, align, colour, bold, clip);
        top += kRowHeight - 2;
    }
}

void drawButton(Painter& p, const Window& w, int x, int y, bool enabled) {
    const int width = w.rect.width;
    const int height = w.rect.height;
    const std::uint32_t textColour = enabled ? kText : kGreyText;
    const bool bold = isBold(w);
    const std::uint32_t type = buttonType(w);
    if (type == ps::kGroupBox) {
        const int top = y + 7;
        p.frame(x, top, width, height - 7, kGroupLine);
        if (!w.text.empty()) {
            const int labelWidth = 7 * characterCount(w.text) + 6;
            p.rect(x + 6, y, labelWidth, 14, kFace);
            p.text({x + 9, y, labelWidth, 14}, w.text, 0, textColour, bold);
        }
        return;
    }
    if (isCheckBox(w)) {
        const int boxTop = y + (height - 13) / 2;
        p.frame(x, boxTop, 13, 13, enabled ? 0x333333 : 0xBCBCBC, 1, enabled ? "#FFFFFF" : "#F0F0F0");
        if (w.value != 0) {
            p.out += "<path d=\"M" + std::to_string(x + 3) + ' ' + std::to_string(boxTop + 6) + " L" +
                     std::to_string(x + 5) + ' ' + std::to_string(boxTop + 9) + " L" + std::to_string(x + 10) + ' ' +
                     std::to_string(boxTop + 3) + "\" fill=\"none\" stroke=\"" + svgColour(enabled ? kText : kGreyText) +
                     "\" stroke-width=\"2\"/>\n";
        }
        p.text({x + 18, y, width - 18, height}, w.text, 0, textColour, bold);
        return;
    }
    if (isRadioButton(w)) {
        const int cy = y + height / 2;
        p.out += "<circle cx=\"" + std::to_string(x + 6) + ".5\" cy=\"" + std::to_string(cy) + ".5\" r=\"6\" fill=\"" +
                 (enabled ? "#FFFFFF" : "#F0F0F0") + "\" stroke=\"" + svgColour(enabled ? 0x333333 : 0xBCBCBC) + "\"/>\n";
        if (w.value != 0) {
            p.out += "<circle cx=\"" + std::to_string(x + 6) + ".5\" cy=\"" + std::to_string(cy) + ".5\" r=\"3\" fill=\"" +
                     svgColour(enabled ? kText : kGreyText) + "\"/>\n";
        }
        p.text({x + 18, y, width - 18, height}, w.text, 0, textColour, bold);
        return;
    }
    // Push buttons: the default one has the thicker, coloured border.
    p.rect(x, y, width, height, enabled ? kButtonFace : 0xCCCCCC);
    if (type == ps::kDefPushButton && enabled) {
        p.frame(x, y, width, height, kAccent, 2);
    } else {
        p.frame(x, y, width, height, enabled ? kButtonBorder : 0xBFBFBF);
    }
    p.text({x, y, width, height}, w.text, 1, textColour, bold);
}

int styleAlignment(std::uint32_t style) noexcept {
    const std::uint32_t low = style & 0x3;
    return low == 1 ? 1 : low == 2 ? 2 : 0;
}

void drawStatic(Painter& p, const Window& w, int x, int y, bool enabled) {
    const int align = (w.style & 0xF) == ps::kStaticLeftNoWordWrap ? 0 : styleAlignment(w.style);
    const std::string clip = p.clip(x, y, w.rect.width, w.rect.height);
    const std::vector<std::string_view> lines = linesOf(w.text);
    if (lines.size() <= 1) {
        // One line sits at the top of the field, as a static text does.
        p.text({x, y, w.rect.width, std::min(w.rect.height, kRowHeight)}, w.text, align, enabled ? kText : kGreyText,
               isBold(w), clip);
    } else {
        textBlock(p, {x, y - 1, w.rect.width, w.rect.height}, w.text, align, enabled ? kText : kGreyText, isBold(w), clip);
    }
}

void drawEdit(Painter& p, const Window& w, int x, int y, bool enabled) {
    const int width = w.rect.width;
    const int height = w.rect.height;
    p.rect(x, y, width, height, enabled ? kWhite : kFace);
    p.frame(x, y, width, height, (w.exStyle & ps::kExClientEdge) != 0 ? kBorder : 0xBCBCBC);
    const std::string shown = (w.style & ps::kEditPassword) != 0 ? maskedText(w.text) : w.text;
    const std::string clip = p.clip(x + 2, y + 2, width - 4, height - 4);
    const WindowRect inner{x + 4, y, width - 8, height};
    if ((w.style & ps::kEditMultiLine) != 0) {
        textBlock(p, {inner.left, y + 2, inner.width, height - 4}, shown, styleAlignment(w.style),
                  enabled ? kText : kGreyText, isBold(w), clip);
    } else {
        p.text(inner, shown, styleAlignment(w.style), enabled ? kText : kGreyText, isBold(w), clip);
    }
}

void drawCombo(Painter& p, const Window& w, int x, int y, bool enabled) {
    const int width = w.rect.width;
    const int height = std::min(w.rect.height, kComboHeight);
    const bool list = (w.style & ps::kComboTypeMask) == ps::kComboDropDownList;
    p.rect(x, y, width, height, list ? (enabled ? kButtonFace : 0xCCCCCC) : (enabled ? kWhite : kFace));
    p.frame(x, y, width, height, enabled ? kButtonBorder : 0xBFBFBF);
    std::string shown = w.text;
    if (list) shown = w.value >= 0 && static_cast<std::size_t>(w.value) < w.items.size()
                          ? w.items[static_cast<std::size_t>(w.value)].text
                          : std::string();
    const std::string clip = p.clip(x + 2, y + 2, width - kScrollBarWidth - 2, height - 4);
    p.text({x + 4, y, width - kScrollBarWidth - 6, height}, shown, 0, enabled ? kText : kGreyText, isBold(w), clip);
    // The drop-down arrow.
    const int ax = x + width - kScrollBarWidth / 2 - 1;
    const int ay = y + height / 2 - 1;
    p.out += "<path d=\"M" + std::to_string(ax - 4) + ' ' + std::to_string(ay - 2) + " L" + std::to_string(ax + 4) + ' ' +
             std::to_string(ay - 2) + " L" + std::to_string(ax) + ' ' + std::to_string(ay + 3) + " Z\" fill=\"" +
             svgColour(enabled ? 0x404040 : kGreyText) + "\"/>\n";
}

void drawList(Painter& p, const Window& w, int x, int y, bool enabled) {
    const std::uint64_t number = w.number;
    const int width = w.rect.width;
    const int height = w.rect.height;
    p.rect(x, y, width, height, kWhite);
    p.frame(x, y, width, height, (w.exStyle & ps::kExClientEdge) != 0 ? kBorder : 0xBCBCBC);
    int ox = 0;
    int oy = 0;
    clientOrigin(w, ox, oy);
    const int rows = static_cast<int>(w.items.size());
    const int clientWidth = width - 2 * ox;
    const int clientHeight = height - 2 * oy;
    const bool scrolls = (w.style & ps::kVScroll) != 0 && rows * kRowHeight > clientHeight;
    const int rowWidth = clientWidth - (scrolls ? kScrollBarWidth : 0);
    const std::string clip = p.clip(x + ox, y + oy, rowWidth, clientHeight);
    const bool ownerDrawn = (w.style & ps::kListOwnerDrawFixed) != 0;
    const int id = w.id;
    const std::uint64_t parent = w.parent;
    for (int row = 0; row < rows && row * kRowHeight < clientHeight; ++row) {
        // The list may change while its parent draws a row: look it up each time.
        const Window* list = find(number);
        if (list == nullptr || static_cast<std::size_t>(row) >= list->items.size()) break;
        const bool selected = isMultipleSelection(*list) ? list->items[static_cast<std::size_t>(row)].selected
                                                          : list->value == row;
        const lumbrel::platform::WindowRect rowRect{0, row * kRowHeight, rowWidth, kRowHeight};
        if (ownerDrawn && find(parent) != nullptr) {
            p.out += "<g clip-path=\"url(#" + clip + ")\">\n";
            Canvas canvas{&p.out, x + ox, y + oy, std::string()};
            lumbrel::platform::DrawItem item{toRef(number), id, row, rowRect, selected, &canvas};
            sendQuietly(toRef(parent), Message::DrawItem, static_cast<std::uintptr_t>(static_cast<std::uint32_t>(id)),
                        reinterpret_cast<std::intptr_t>(&item));
            p.out += "</g>\n";
            continue;
        }
        const WindowRect at{x + ox, y + oy + rowRect.top, rowWidth, kRowHeight};
        if (selected) p.rect(at.left, at.top, at.width, at.height, enabled ? kAccent : 0xCCCCCC);
        p.text({at.left + 2, at.top, at.width - 4, at.height}, list->items[static_cast<std::size_t>(row)].text, 0,
               !enabled ? kGreyText : selected ? kWhite : kText, isBold(*list), clip);
    }
    if (scrolls) {
        p.rect(x + ox + rowWidth, y + oy, kScrollBarWidth, clientHeight, kFace);
        p.rect(x + ox + rowWidth + 4, y + oy + kScrollBarWidth, kScrollBarWidth - 8,
               std::max(8, clientHeight * clientHeight / std::max(1, rows * kRowHeight) - 2 * kScrollBarWidth), 0xCDCDCD);
    }
}

void drawProgress(Painter& p, const Window& w, int x, int y) {
    p.rect(x, y, w.rect.width, w.rect.height, 0xE6E6E6);
    p.frame(x, y, w.rect.width, w.rect.height, 0xBCBCBC);
    const long long span = static_cast<long long>(w.maximum) - w.minimum;
    if (span <= 0) return;
    const long long done = std::clamp<long long>(static_cast<long long>(w.value) - w.minimum, 0, span);
    const auto filled = static_cast<int>((static_cast<long long>(w.rect.width - 2) * done) / span);
    p.rect(x + 1, y + 1, filled, w.rect.height - 2, kProgressBar);
}

void drawTabs(Painter& p, const Window& w, int x, int y, bool enabled) {
    const bool buttons = (w.style & ps::kTabButtons) != 0;
    if (!buttons) {
        p.rect(x, y + kTabHeight, w.rect.width, w.rect.height - kTabHeight, kWhite);
        p.frame(x, y + kTabHeight - 1, w.rect.width, w.rect.height - kTabHeight + 1, 0xD9D9D9);
    }
    int left = x;
    for (std::size_t i = 0; i < w.items.size(); ++i) {
        const int width = tabLabelWidth(w.items[i].text);
        const bool current = w.value == static_cast<int>(i);
        const int top = current || buttons ? y : y + 2;
        p.rect(left, top, width, kTabHeight - (top - y), current ? (buttons ? 0xCCE4F7 : kWhite) : kButtonFace);
        p.frame(left, top, width, kTabHeight - (top - y), current && buttons ? kAccent : 0xD9D9D9);
        p.text({left, top, width, kTabHeight - (top - y)}, w.items[i].text, 1, enabled ? kText : kGreyText,
               current || isBold(w));
        left += width + (buttons ? 3 : 0);
    }
}

void drawFrame(Painter& p, const Window& w, int x, int y) {
    p.rect(x, y, w.rect.width, w.rect.height, kFace);
    p.frame(x, y, w.rect.width, w.rect.height, 0x888888);
    p.rect(x + 1, y + 1, w.rect.width - 2, kFrameBorder + titleBarHeight(w) - 1, kWhite);
    p.text({x + 8, y + 1, w.rect.width - 50, kFrameBorder + titleBarHeight(w) - 1}, w.text, 0, kText, false);
    // The close box.
    const int cx = x + w.rect.width - 18;
    const int cy = y + (kFrameBorder + titleBarHeight(w)) / 2;
    p.out += "<path d=\"M" + std::to_string(cx - 5) + ' ' + std::to_string(cy - 5) + " L" + std::to_string(cx + 5) + ' ' +
             std::to_string(cy + 5) + " M" + std::to_string(cx + 5) + ' ' + std::to_string(cy - 5) + " L" +
             std::to_string(cx - 5) + ' ' + std::to_string(cy + 5) + "\" stroke=\"#000000\" stroke-width=\"1\"/>\n";
}

// Where the keyboard focus is, as Windows marks it: fields and lists get the
// accent border, buttons a dotted rectangle inside them or around their label.
void drawFocus(Painter& p, const Window& w, int x, int y) {
    const int width = w.rect.width;
    if (isEditClass(w) || isListClass(w)) {
        p.frame(x, y, width, w.rect.height, kAccent);
    } else if (isComboClass(w)) {
        p.frame(x, y, width, std::min(w.rect.height, kComboHeight), kAccent);
    } else if (isButtonClass(w) && buttonType(w) != ps::kGroupBox) {
        const bool labelled = isCheckBox(w) || isRadioButton(w);
        const WindowRect mark = labelled ? WindowRect{x + 16, y + 1, width - 16, w.rect.height - 2}
                                         : WindowRect{x + 3, y + 3, width - 6, w.rect.height - 6};
        if (mark.width <= 1 || mark.height <= 1) return;
        char attributes[160];
        std::snprintf(attributes, sizeof attributes, "x=\"%d.5\" y=\"%d.5\" width=\"%d\" height=\"%d\"", mark.left,
                      mark.top, mark.width - 1, mark.height - 1);
        p.out += std::string("<rect class=\"focus\" ") + attributes +
                 " fill=\"none\" stroke=\"#000000\" stroke-width=\"1\" stroke-dasharray=\"1 1\"/>\n";
    }
}

void drawWindow(Painter& p, std::uint64_t number, int x, int y, bool root) {
    const Window* w = find(number);
    if (w == nullptr) return;
    if (!root && (w->style & ps::kVisible) == 0) return;
    const bool enabled = isEffectivelyEnabled(toRef(number));
    if (hasFrame(*w)) {
        drawFrame(p, *w, x, y);
    } else if (w->parent == 0) {
        p.rect(x, y, w->rect.width, w->rect.height, kFace);
    } else if (isButtonClass(*w)) {
        drawButton(p, *w, x, y, enabled);
    } else if (w->className == lumbrel::platform::kStaticClass) {
        drawStatic(p, *w, x, y, enabled);
    } else if (isEditClass(*w)) {
        drawEdit(p, *w, x, y, enabled);
    } else if (isComboClass(*w)) {
        drawCombo(p, *w, x, y, enabled);
    } else if (isListClass(*w)) {
        drawList(p, *w, x, y, enabled);
    } else if (isProgressClass(*w)) {
        drawProgress(p, *w, x, y);
    } else if (isTabClass(*w)) {
        drawTabs(p, *w, x, y, enabled);
    }
    if (!root && number == state().focus && enabled) drawFocus(p, *w, x, y);
    w = find(number);
    if (w == nullptr) return;
    int ox = 0;
    int oy = 0;
    clientOrigin(*w, ox, oy);
    if (!isStandardClass(w->className)) {
        // The module's classes paint themselves, clipped to their client area.
        const WindowRect client = lumbrel::platform::clientRect(toRef(number));
        Canvas canvas{&p.out, x + ox, y + oy, p.clip(x + ox, y + oy, client.width, client.height)};
        sendQuietly(toRef(number), Message::Paint, 0, reinterpret_cast<std::intptr_t>(&canvas));
        w = find(number);
        if (w == nullptr) return;
    }
    const std::vector<std::uint64_t> children = w->children;
    for (const std::uint64_t child : children) {
        const Window* c = find(child);
        if (c == nullptr) continue;
        drawWindow(p, child, x + ox + c->rect.left, y + oy + c->rect.top, false);
    }
}

}  // namespace

}  // namespace desktop::windows

namespace desktop {

std::string Desktop::windowPicture(lumbrel::platform::WindowRef window) {
    const windows::Window* w = windows::find(window);
    if (w == nullptr) return {};
    const int width = std::max(1, w->rect.width);
    const int height = std::max(1, w->rect.height);
    windows::Painter painter;
    windows::drawWindow(painter, w->number, 0, 0, true);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      std::to_string(width) + "\" height=\"" + std::to_string(height) + "\" viewBox=\"0 0 " +
                      std::to_string(width) + ' ' + std::to_string(height) + "\" font-family=\"" +
                      windows::kFontFamily + "\" font-size=\"" + std::to_string(windows::kFontSize) + "\">\n";
    svg += painter.out;
    svg += "</svg>\n";
    return svg;
}

namespace {

bool writeText(const std::string& path, const std::string& text) {
    std::string reason;
    return files::replaceFile(path, text, reason);
}

bool endsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

bool Desktop::writeWindowPicture(lumbrel::platform::WindowRef window, const std::string& path) {
    if (windows::find(window) == nullptr || path.empty()) return false;
    const std::string svg = windowPicture(window);
    if (!endsWith(path, ".png")) return writeText(path, svg);
    const std::optional<std::string> png = windows::svgToPng(svg);
    return png && writeText(path, *png);
}

}  // namespace desktop

#include "hostsim/print/postscript_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace hostsim::print {

namespace {

// Helpers every page uses; x y w h on the stack as rectfill takes them.
std::string prolog() {
    return "/hsframe { gsave " + PostScriptWriter::number(kFrameGrey) + " setgray " +
           PostScriptWriter::number(kFrameWidth) + " setlinewidth rectstroke grestore } bind def\n"
           "/hsfill { gsave setgray rectfill grestore } bind def\n";
}

std::string boundingBox(double width, double height) {
    // Whole points that enclose the page.
    return "0 0 " + std::to_string(static_cast<long long>(std::ceil(width))) + " " +
           std::to_string(static_cast<long long>(std::ceil(height)));
}

}  // namespace

std::string PostScriptWriter::number(double value) {
    if (!std::isfinite(value)) value = 0.0;
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3);
    if (result.ec != std::errc{}) return "0";
    std::string out(text, result.ptr);
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
    if (out == "-0") out = "0";
    return out;
}

std::string PostScriptWriter::dscText(std::string_view text) {
    std::string out = "(";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte > 0x7E) {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", static_cast<unsigned>(byte));
            out += octal;
        } else {
            out += c;
        }
    }
    out += ')';
    return out;
}

PostScriptWriter::PostScriptWriter(std::string_view title, double width, double height)
    : title_(title), width_(width), height_(height) {}

void PostScriptWriter::setupData(std::string_view bytes) {
    if (bytes.empty()) return;
    std::string& target = setupClosed_ ? body_ : setup_;
    target += "gsave\n";
    target += bytes;
    target += "\ngrestore\n";
}

void PostScriptWriter::closeSetup() { setupClosed_ = true; }

void PostScriptWriter::beginPage(int ordinal, const Rect& pageRect) {
    if (inPage_) endPage();
    closeSetup();
    inPage_ = true;
    ++pages_;
    const std::string n = std::to_string(ordinal);
    body_ += "%%Page: " + n + " " + n + "\n";
    body_ += "%%PageBoundingBox: " + boundingBox(width_, height_) + "\n";
    body_ += "%%BeginPageSetup\n";
    // Spread coordinates, y down, the page's top-left at the sheet's top-left.
    body_ += "gsave\n0 " + number(height_) + " translate 1 -1 scale " + number(-pageRect.left) + " " +
             number(-pageRect.top) + " translate\n";
    body_ += "%%EndPageSetup\n";
}

void PostScriptWriter::drawBox(const Box& box) {
    if (!inPage_) return;
    const Rect& b = box.bounds();
    const std::string rect = number(b.left) + " " + number(b.top) + " " + number(b.width()) + " " + number(b.height());
    body_ += "% box " + std::to_string(box.id()) + " " + boxKindName(box.kind()) + "\n";
    switch (box.kind()) {
        case kBoxPicture:
            body_ += "gsave\n";
            if (const auto& picture = box.picture()) {
                body_ += "gsave " + rect + " rectclip\n";
                body_ += rect + " " + number(kPictureGrey) + " hsfill\n";
                const double w = picture->bounds.width() * picture->scaleH;
                const double h = picture->bounds.height() * picture->scaleV;
                if (w > 0.0 && h > 0.0) {
                    body_ += number(b.left + picture->offsetH) + " " + number(b.top + picture->offsetV) + " " +
                             number(w) + " " + number(h) + " " + number(kContentGrey) + " hsfill\n";
                }
                body_ += "grestore\n";
            } else {
                // An empty picture box shows a cross, as on screen.
                body_ += number(kFrameGrey) + " setgray " + number(kFrameWidth) + " setlinewidth newpath " +
                         number(b.left) + " " + number(b.top) + " moveto " + number(b.right) + " " + number(b.bottom) +
                         " lineto " + number(b.left) + " " + number(b.bottom) + " moveto " + number(b.right) + " " +
                         number(b.top) + " lineto stroke\n";
            }
            body_ += rect + " hsframe\ngrestore\n";
            break;
        case kBoxText:
            body_ += rect + " hsframe\n";
            break;
        case kBoxLine:
            body_ += rect + " " + number(kFrameGrey) + " hsfill\n";
            break;
        default:
            // A group draws nothing of its own; its members are drawn.
            break;
    }
}

void PostScriptWriter::splice(std::string_view bytes) {
    if (bytes.empty() || !inPage_) return;
    body_ += "gsave\n";
    body_ += bytes;
    body_ += "\ngrestore\n";
}

void PostScriptWriter::endPage() {
    if (!inPage_) return;
    inPage_ = false;
    body_ += "grestore\nshowpage\n%%PageTrailer\n";
}

void PostScriptWriter::trailerData(std::string_view bytes) {
    if (bytes.empty()) return;
    trailer_ += "gsave\n";
    trailer_ += bytes;
    trailer_ += "\ngrestore\n";
}

std::string PostScriptWriter::finish() {
    endPage();
    std::string out;
    out.reserve(body_.size() + setup_.size() + trailer_.size() + 1024);
    out += "%!PS-Adobe-3.0\n";
    out += "%%Creator: hostsim\n";
    out += "%%Title: " + dscText(title_) + "\n";
    out += "%%LanguageLevel: 2\n";
    out += "%%Pages: " + std::to_string(pages_) + "\n";
    out += "%%BoundingBox: " + boundingBox(width_, height_) + "\n";
    out += "%%HiResBoundingBox: 0 0 " + number(width_) + " " + number(height_) + "\n";
    out += "%%EndComments\n";
    out += "%%BeginProlog\n";
    out += prolog();
    out += "%%EndProlog\n";
    out += "%%BeginSetup\n";
    out += "<< /PageSize [" + number(width_) + " " + number(height_) + "] >> setpagedevice\n";
    out += setup_;
    out += "%%EndSetup\n";
    out += body_;
    out += "%%Trailer\n";
    out += trailer_;
    out += "%%EOF\n";
    return out;
}

}  // namespace hostsim::print

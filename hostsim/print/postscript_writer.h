// A print job's PostScript file as the host writes it: a DSC 3.0 document
// with one page per printed layout page, the host's own drawing of each box,
// and the PostScript a module sends while a box is drawn spliced in at that
// box.
//
// The page transform: each page starts with
//     0 H translate 1 -1 scale -L -T translate
// (H the page height, L and T the page's left and top in its spread), so
// the current coordinates are the host's spread coordinates in points with
// the y axis running down, the page's top-left corner at the sheet's
// top-left. Modules write their PostScript in these coordinates (and flip
// their fonts themselves).
//
// Pages are bracketed by gsave/grestore, not save/restore: what a module
// sends once per job (a font program) defines things in VM that later pages
// use, and a restore at the end of a page would throw them away. Every box
// and every spliced piece of module PostScript has a gsave/grestore of its
// own, so nothing leaks from one box to the next.
//
// Host drawing uses greys only (no pure black, no pure white), so that on a
// rendering black and white pixels can be told apart from what the host drew.
#pragma once

#include "hostsim/model/box.h"
#include "hostsim/model/geometry.h"

#include <string>
#include <string_view>

namespace hostsim::print {

// Grey levels of the host's drawing (PostScript setgray values).
inline constexpr double kFrameGrey = 0.4;     // box outlines, empty-box crosses, lines
inline constexpr double kPictureGrey = 0.85;  // a picture box holding a picture
inline constexpr double kContentGrey = 0.7;   // the picture's own extent inside it
inline constexpr double kFrameWidth = 0.5;    // points

class PostScriptWriter {
public:
    // title: the document's name (%%Title); width, height: the page size in points.
    PostScriptWriter(std::string_view title, double width, double height);

    // Job-wide data (what a module sends at job start), into the document setup.
    void setupData(std::string_view bytes);
    // Starts page `ordinal` (from 1) showing `pageRect` of its spread.
    void beginPage(int ordinal, const Rect& pageRect);
    // The host's own drawing of a box (picture placeholder, frame), in a gsave of its own.
    void drawBox(const Box& box);
    // Module PostScript at the current point of the current page, in a gsave
    // of its own; nothing for no bytes.
    void splice(std::string_view bytes);
    void endPage();
    // Data sent at job end: into the trailer.
    void trailerData(std::string_view bytes);
    // The whole file, ending in "%%EOF\n". Ends an open page first.
    std::string finish();

    int pages() const noexcept { return pages_; }

    // A number as PostScript reads it: at most three decimals, no trailing
    // zeros, never an exponent ("12", "-0.5", "420.125").
    static std::string number(double value);
    // A DSC text value: a PostScript string literal with (, ) and \ escaped
    // and bytes outside printable ASCII as \ooo.
    static std::string dscText(std::string_view text);

private:
    void closeSetup();

    std::string title_;
    double width_, height_;
    std::string setup_, body_, trailer_;
    bool inPage_ = false;
    bool setupClosed_ = false;
    int pages_ = 0;
};

}  // namespace hostsim::print

// Helpers of the print tests: the PostScript file's lines and pages, and
// Ghostscript as the oracle that the file is valid PostScript and puts the
// labels where the geometry says.
#pragma once

#include "hostsim/model/document.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumbrel::integration {

// Lines split at CR, LF and CR LF alike (the module ends its lines in CR).
std::vector<std::string> psLines(std::string_view text);
// How often `needle` occurs in `text` (not overlapping).
std::size_t occurrences(std::string_view text, std::string_view needle);
// The text of each page: from its "%%Page:" line up to the next one (or to
// "%%Trailer"); index 0 is page 1.
std::vector<std::string> psPages(std::string_view text);

bool ghostscriptPresent();

// A picture box the module labels: it holds a picture with a path and its
// top-left corner lies on a document page.
struct LabelledBox {
    int page = 0;
    hostsim::BoxId id = 0;
    hostsim::Rect bounds;    // spread points
    hostsim::Rect pageRect;  // the page, spread points
    std::string path;
    std::string fileName() const { return path.substr(path.rfind('/') + 1); }
};

// Page by page, in chain order.
std::vector<LabelledBox> labelledBoxes(const hostsim::Document& doc);

// An 8-bit RGB picture, rows from the top.
struct Rgb {
    int width = 0, height = 0;
    std::vector<std::uint8_t> pixels;
    const std::uint8_t* at(int x, int y) const {
        return pixels.data() +
               (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
    }
    bool black(int x, int y) const {
        const std::uint8_t* p = at(x, y);
        return p[0] == 0 && p[1] == 0 && p[2] == 0;
    }
    bool white(int x, int y) const {
        const std::uint8_t* p = at(x, y);
        return p[0] == 255 && p[1] == 255 && p[2] == 255;
    }
};
std::optional<Rgb> readPng(const std::string& path);

struct GhostscriptRun {
    int exitCode = -1;
    std::string output;      // what Ghostscript printed (standard output and error)
    std::vector<Rgb> pages;  // one picture per page
};
// Renders every page of the file at `dpi` on sheets of width x height points
// (the media fixed, whatever the file asks for) into `folder`.
GhostscriptRun renderWithGhostscript(const std::string& psFile, const std::filesystem::path& folder, int dpi,
                                     double width, double height);

}  // namespace lumbrel::integration

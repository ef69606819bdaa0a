// The PDF facts import needs, read with qpdf. This part is compiled as
// C++17 on its own: qpdf 11's headers do not compile as C++20 with clang
// (a vector of an incomplete class), so nothing of the model is included.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace hostsim::pdf {

// [llx, lly, urx, ury], normalised so that llx <= urx and lly <= ury.
struct Box {
    double llx = 0, lly = 0, urx = 0, ury = 0;
};

// One page's boxes after inheritance and defaulting (see picture_probe.h).
struct PageBoxes {
    Box media, crop, bleed, trim, art;
    int rotate = 0;  // 0, 90, 180 or 270
};

enum class Outcome { ok, damaged, password, noMemory };

struct Pages {
    Outcome outcome = Outcome::ok;
    std::string message;  // why, when not ok
    std::vector<PageBoxes> pages;
};

// Never throws.
Pages readPages(const std::string& path);
// The same from an open file read from its start; `file` stays open and its
// position is left wherever qpdf moved it. `description` names it in messages.
Pages readPages(std::FILE* file, const std::string& description);

}  // namespace hostsim::pdf

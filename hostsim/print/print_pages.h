// What a print job prints: every document page in spread order (master pages
// are templates and are not printed), each with its rectangle in its spread's
// coordinates and the boxes of its spread that reach onto it, in chain order.
// A box that spans two pages of a spread is drawn on both; each page shows
// its own part.
#pragma once

#include "hostsim/model/document.h"

#include <vector>

namespace hostsim::print {

struct PrintPage {
    int number = 0;   // document page number, from 1
    int spread = 0;   // its document spread
    Rect rect;        // in the spread's coordinates
    std::vector<BoxId> boxes;  // chain order
};

std::vector<PrintPage> printPages(const Document& doc);

}  // namespace hostsim::print

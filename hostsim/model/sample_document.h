// Documents made by rule, for tests and load measurements: master spreads,
// facing or single-page spreads, and on every spread a mix of picture, text
// and line boxes with pictures (TIFF, EPS and PDF facts, no files read),
// slugs of both kinds (text and binary) and groups.
#pragma once

#include "document.h"

#include <string>

namespace hostsim {

struct SampleSpec {
    int masterSpreads = 1;
    int spreads = 3;
    bool facingPages = true;  // facing: the first spread holds one right page, then pairs
    int boxesPerSpread = 7;   // before groups; every fourth box is a text box, every seventh a line
    bool pictures = true;     // picture boxes get pictures
    bool slugs = true;
    bool groups = true;       // the first two boxes of every spread form a group
    std::string pictureFolder = "/samples/pictures";
};

Document makeSampleDocument(const SampleSpec& spec);

}  // namespace hostsim

// The body of the image list file in its two layouts.
//
// Page by page: for each page its heading ("kPageStr" with the page's label,
// line breaks as they stand in the string table), one line per picture box
// meeting the page (prefixed by a tab), then an empty line.
//
// Sorted: one line per picture box of the document whose path can be read,
// ordered by the file name (the last path component, byte order, so upper
// case comes first; boxes of equal names keep their document order), each
// line once, no headings. The file name is the key with whole paths shown
// too, so the list reads in the same order whichever way names are shown.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "imagelist/image_list_options.h"
#include "xtapi.h"

namespace lumbrel {

void writePageOrderedList(std::FILE* file, const ImageListOptions& options);

// False when the lists could not be had; nothing is written then.
bool writeSortedList(std::FILE* file, const ImageListOptions& options);

// The boxes of the sorted layout in their order; false when memory ran out.
bool sortedPictureBoxes(std::vector<XTBoxID>& boxes);

// The page heading: `format` with its one "%s" replaced by the label and
// "%%" by "%"; any other "%" stays as it is, so a string table can never make
// the heading read arguments that are not there.
std::string pageHeading(const char* format, const char* label);

}  // namespace lumbrel

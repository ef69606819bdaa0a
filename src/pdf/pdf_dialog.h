// The PDF dialog of a picture box: the file, its status, the page now
// placed and the page count; another page and page box re-import the
// picture. Show… and Edit… reveal and open the file.
#pragma once

#include "xtapi.h"

namespace lumbrel {

// Runs the modal dialog for the PDF picture `path` of `box`: 1 after OK,
// 2 after Cancel, 0 when the dialog could not be shown.
long doPDFImport(XTBoxID box, const char* path);

}  // namespace lumbrel

// One swap run over the pictures in scope: every picture box of the document
// (spreads 1 to 2000), or the given box (a picture box, or each picture box
// of a group). A picture whose twin exists is replaced by it in its box and
// counted; the others stay as they are.
#pragma once

#include "swap/swap_options.h"

namespace lumbrel {

// `box` 0 means the whole document. Counts into options.swapCount and, low
// to high, options.loResCount (always over the whole document). Existence
// of files is asked of `exists`.
void swapPictures(SwapOptions& options, XTBoxID box, FileExistsProc exists);

}  // namespace lumbrel

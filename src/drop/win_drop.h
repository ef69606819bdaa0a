// Files dropped onto a document window, all of them, placed at idle time:
// the drag callbacks only test the drag and keep the dropped files; the next
// idle step works them off in order — relink lists, folders, then files into
// the box under the point or into new boxes cascading 20 apart — and the
// step after opens the PDF dialog for a new box that shows a PDF.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// The drag callbacks (531, 532, 534); each gets an XTWinDragRec, leaves its
// answer in `accept` and returns 0.
std::int32_t winDragEntered(void* record);
std::int32_t winDragOver(void* record);
std::int32_t winDrop(void* record);

// The idle step: first the PDF dialog of the box the last placement made,
// then the files of the last drop.
void workOffDrop();

// The drop's state back to nothing kept, for tests that start the module
// many times.
void resetWinDrop() noexcept;

}  // namespace lumbrel

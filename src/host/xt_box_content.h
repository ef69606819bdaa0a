// Making boxes, filling them with pictures and selecting them: box records
// for new boxes, the host's picture fit and error display, the current box,
// and the host's test for boxes that can take a picture without being
// picture boxes.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// A record of a box about to be made in the document (kind XT_BOX_..., shape
// XT_SHAPE_...); 0 when the host has none to give.
XTHandle xt_newboxrecord(XTDocID doc, std::int16_t kind, std::int16_t shape);
void xt_setrecordbounds(XTHandle record, const XTFixedRect& bounds);
// Makes the box of the record on the spread; the new box, 0 when none.
XTBoxID xt_installbox(XTDocID doc, std::int16_t spread, XTHandle record);
void xt_disposeboxrecord(XTHandle record);

// Asks the host to fit the box's picture (mode XT_FIT_..., and a flag whose
// meaning is the host's); the host's answer.
XTError xt_fitpicture(XTBoxID box, std::int16_t mode, std::int16_t flag);

// Shows the host's own alert for one of its error codes.
void xt_showerror(XTError error);

// Makes the box current and selected; 0 makes no box current.
void setcurbox(XTBoxID box);

// True when the host can import a picture into the box although it is no
// picture box; false for box 0, without a document, and from hosts that do
// not answer this question.
bool xt_cantakepict(XTBoxID box);

}  // namespace lumbrel

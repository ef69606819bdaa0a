// Image names on the layout and in print: the menu switch, the print-job
// callbacks and the box-drawing callback.
#pragma once

#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// The "Show Image Names" command. With Shift held the labels go on in Shift
// mode and the item is checked; otherwise labels that are on go off
// (unchecked) and labels that are off go on in file-name mode (checked).
// The caller redraws the document.
void doShowPath(XTMenuRef menu, XTCommandID item);

// Print job start and end (callbacks 282 and 283). At the start, with labels
// on, the user is asked whether the names are printed (unless "Ask" of
// "Labels" is not 1, which prints them without asking). Both answer 0.
std::int32_t doJobStart(const XTPrintJobRec* record);
std::int32_t doJobEnd(const XTPrintJobRec* record);

// Box drawing (callback 66); answers 0.
std::int32_t drawBox(const XTDrawBoxRec* record);

}  // namespace lumbrel

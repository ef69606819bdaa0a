// The host's documents through plain functions: the current document, its
// change state, paths and names, redrawing and print state.
#pragma once

#include <cstddef>
#include <cstdint>

#include "xtapi.h"

namespace lumbrel {

// The current document, -1 when none is open.
XTDocID XTGetCurDocID();
// Its host reference, -1 when none is open.
XTDocRef XTGetCurDocRef();
// True when a document is open. Every wrapper that needs a document asks
// this first, so no document call reaches the host without one.
bool hasCurrentDocument();

// True for a library document; false for any other and for no document.
bool isalib(XTDocID doc);

// The current document's change state (XT_DIRTY_CHANGED = unsaved changes);
// 0 without a document.
std::int16_t xtget_dirtyflag();
// The current document's horizontal measurement unit (XT_UNIT_...); inches
// without a document or from a host that does not tell.
std::int16_t xtget_horzmeasure();

// Marks the current document changed since its last save.
void verydirty();

// Redraws the document's current page; 0 means the current document.
void redrawDoc(XTDocID doc);

// The document's POSIX path and 1 when it has one (longer than one
// character); otherwise the project name and 0. `buffer` is always
// terminated; a path that does not fit whole counts as none.
int XTGetDocPath(XTDocID doc, char* buffer, std::size_t size);

// The project (layout) name, UTF-8, cut to the buffer; its length.
std::int32_t XTGetMyProjectName(char* buffer, std::size_t size);

// The host's print state (outside output jobs the output kind is the screen).
XTPrintInfo xtget_printinfo();

// 1 when the file exists; otherwise shows "imgMissing" with the path as the
// second line and answers 0.
int checkImagePath(const char* path);

}  // namespace lumbrel

// Relinking pictures by a list of old and new paths: every picture whose
// path the list names is linked to its new file, and a log of what was done
// is written beside the list and opened.
#pragma once

namespace lumbrel {

// Applies the relink list at `listPath` to the current document. The log is
// the list's path with the extension ".log". Nothing happens, and no log is
// written, without a document or when the list cannot be read.
void remapImages(const char* listPath);

}  // namespace lumbrel

// Renaming the file of the current picture from the layout (Command-Shift-R):
// the user types the new name, the file is renamed on disk without ever
// replacing another file, and every picture box of the document that showed
// the old file is linked to the new name.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumbrel {

// Runs the command on the current box. The answer becomes the key event's
// type: 0 swallows the key.
std::int16_t renamePicture();

// How many bytes of `name` the dialog selects at first: the part before the
// last ".", or the whole name when it has no "." or begins with one.
std::size_t renameSelectionLength(const char* name) noexcept;

}  // namespace lumbrel

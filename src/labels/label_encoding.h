// The label text in the encoding of the print label font: the font reads
// its strings as Windows code page 1252, while names arrive as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace lumbrel {

// The UTF-8 text composed (Normalization Form C, so a name from a Mac volume
// prints as the same letters) and written in code page 1252; a character the
// code page lacks becomes one "?", and so does each byte that is no UTF-8.
// ASCII comes out unchanged. Empty when memory runs out.
std::string labelTextInWindowsLatin1(std::string_view utf8);

}  // namespace lumbrel

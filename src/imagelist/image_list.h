// The image list of the current document (the "Image List" menu command):
// asks for the file name and the columns, writes the list into the user's
// temporary folder as UTF-8 text with a byte-order mark, page by page or
// sorted by name, and opens it in another application.
#pragma once

#include <cstdint>

namespace lumbrel {

void createImageList();

// The creator code of the open-with pop-up's item (from 1): TextEdit, BBEdit,
// Excel; TextEdit for any other item.
std::uint32_t listCreator(std::int16_t openWith) noexcept;

}  // namespace lumbrel

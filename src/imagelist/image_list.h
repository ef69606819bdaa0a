// The image list of the current document (the "Image List" menu command).
#pragma once

namespace lumbrel {

void createImageList();

}  // namespace lumbrel

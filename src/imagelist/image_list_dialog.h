// The image list's dialog ("IMGLIST"): the file name (item 8, with the
// focus), the open-with pop-up (6), "Sort by name" (7) and the columns
// "Path", "Type" and "Size" (3 to 5). The controls start from the settings
// of section "ImgList" (the options' values where a key is missing). OK with
// a name that is no plain file name beeps and keeps the dialog open; OK with
// a good one writes the five values into the settings, saves them and fills
// the options. Cancel changes nothing.
#pragma once

#include "imagelist/image_list_options.h"

namespace lumbrel {

// True on OK, with `options` filled; false on Cancel or when the dialog
// could not be shown.
bool runImageListDialog(ImageListOptions& options);

// The open-with pop-up's items beyond the first, the applications a list can
// be opened in by creator; their number.
inline constexpr int kOpenWithItems = 3;

}  // namespace lumbrel

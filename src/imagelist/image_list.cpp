#include "imagelist/image_list.h"

#include "platform/platform_traits.h"
#include "util/log.h"

namespace lumbrel {

void createImageList() {
    // The list itself (dialog, page walk, sorted output, opening it in
    // another application) comes with the image list feature; the log shows
    // that the command reached the module.
    dprintf("createImageList%s", platform::Traits::kLineEnd);
}

}  // namespace lumbrel

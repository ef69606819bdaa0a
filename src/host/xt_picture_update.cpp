#include "host/xt_picture_update.h"

#include "host/xt_boxes.h"
#include "host/xt_groups.h"

namespace lumbrel {

XTError XTUpdatePicture(XTBoxID box) {
    if (!xt_ispictbox(box)) return -1;
    return gXtPicture.updatePicture(box, 0);
}

}  // namespace lumbrel

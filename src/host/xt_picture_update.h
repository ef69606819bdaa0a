// Having the host re-read a picture file that was changed outside.
#pragma once

#include "xtapi.h"

namespace lumbrel {

// Asks the host to update the box's picture from its file (option 0): the
// host's result; -1 when there is no document or the box holds no picture.
XTError XTUpdatePicture(XTBoxID box);

}  // namespace lumbrel

// The "Edit" dialog of a picture: its path and status, opening it in the
// default or a chosen application, revealing it, having the host re-read it.
// The applications offered are kept in section "OpenWith" of the settings.
#pragma once

#include "xtapi.h"

namespace lumbrel {

// Runs the modal dialog for the picture of `box`, whose file is `path`.
void runEditDialog(XTBoxID box, const char* path);

}  // namespace lumbrel

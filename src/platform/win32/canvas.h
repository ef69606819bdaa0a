// The paint target of Message::Paint and DrawItem: a device context of GDI.
#pragma once

#include "platform/win32/windows_api.h"
#include "platform/window_system.h"

namespace lumbrel::platform {

struct Canvas {
    HDC dc = nullptr;
};

}  // namespace lumbrel::platform

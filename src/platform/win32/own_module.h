// The module holding this code: the plug-in DLL, or the program a test links it into.
#pragma once
#include "platform/win32/windows_api.h"
namespace lumbrel::platform::win32 { HMODULE ownModule() noexcept; }

// comctl32's declarations (progress bars, tab controls), after <windows.h>.
#pragma once

#include "platform/win32/windows_api.h"

#include <commctrl.h>

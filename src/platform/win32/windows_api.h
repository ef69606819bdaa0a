// The one way the Win32 layer includes <windows.h>: Unicode entry points,
// strict handle types, no min/max macros. Only files of this folder include it.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef STRICT
#define STRICT
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

static_assert(sizeof(void*) == 8, "the Windows build is 64-bit: its callbacks rely on one calling convention");

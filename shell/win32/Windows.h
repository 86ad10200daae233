// <windows.h> for the Win32 shell and dialog layers. The system's headers turn names such as
// LoadString, near and far into macros that would rename or erase the project's own names, so
// the clashing ones are taken back here; every call into the system names the W variant itself.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

#include <windows.h>

#undef LoadString
#undef near
#undef far

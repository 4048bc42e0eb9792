// <windows.h> as the Windows sources of the platform layer (and their tests)
// include it: without the min/max macros that break std::min and
// std::numeric_limits<>::max, and without the rarely used parts. Windows
// sources only; never included by a header of the platform's interface.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

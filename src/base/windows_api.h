// The Windows API for the few files that call it, without the min and max macros (which
// break std::min and std::max) and the rarely used parts. Include it only under _WIN32.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

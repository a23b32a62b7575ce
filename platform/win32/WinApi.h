#pragma once
// <windows.h> for the platform layer and the Windows tests: include this instead, so that
// the macros that clash with names of the platform interfaces are gone.

#include <windows.h>

// <windows.h> maps AnsiToOem onto CharToOemA, which would rename ITextServices::AnsiToOem.
#undef AnsiToOem

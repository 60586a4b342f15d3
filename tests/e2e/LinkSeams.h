// Link-time seams of the e2e_startup program (see CMakeLists.txt): the audio library reports
// the version word a test sets, and the program's calls of DefWindowProcW are counted.
#pragma once

#include "platform/Win32.h"

namespace seams {

// The version word BASS_GetVersion reports from now on.
void SetVersionWord(DWORD word);

// How many times DefWindowProcW was called for `window` with `message`.
int DefWindowProcCalls(HWND window, UINT message);

}  // namespace seams

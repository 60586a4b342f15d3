// Seams of the e2e_startup program: the audio library reports the version word a test sets (a
// link-time wrap, see CMakeLists.txt), and the program's calls of DefWindowProcW are counted
// (through the window system's observer).
#pragma once

#include "platform/Win32.h"

namespace seams {

// The version word BASS_GetVersion reports from now on.
void SetVersionWord(DWORD word);

// How many times DefWindowProcW was called for `window` with `message`.
int DefWindowProcCalls(HWND window, UINT message);

}  // namespace seams

// Start-up of the audio library and of the application folder, while the main window is created.
#pragma once

#include "platform/Win32Types.h"

// Runs first thing in WM_CREATE, with the window being created (mainWindow is not set yet).
// When the audio device cannot be opened it says so in a message box owned by `window` and
// returns at once: the application folder, the cover path and COM then stay unset.
void InitPlayback(HWND window);

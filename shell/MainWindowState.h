// The program's window-wide state that the playback code shares with the window code: the
// module, the main window, the application folder and the screen shown. One copy each, for the
// whole run.
#pragma once

#include <atomic>

#include "platform/Win32Types.h"

// Stored by CreateMainWindow before anything else.
extern HINSTANCE appInstance;
// Stored first thing while the window is created, before any worker thread exists, so workers
// may read it without a lock.
extern HWND mainWindow;
// The executable's folder with its final separator; filled once by InitPlayback during window
// creation, before any worker thread exists.
extern WCHAR applicationFolder[260];
// A ScreenState; written on the window's thread, read by the album-art worker too.
extern std::atomic<int> screenState;

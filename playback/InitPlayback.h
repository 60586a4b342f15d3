// Start-up of the audio library and of the application folder, while the main window is created.
#pragma once

#include "platform/Win32Types.h"

// Runs first thing in WM_CREATE, with the window being created (mainWindow is not set yet).
// Fills the application folder, WebClient::folder and the cover path whatever becomes of the
// audio device; when the device cannot be opened it says so in a message box owned by `window`.
void InitPlayback(HWND window);

// What the status line says when it is created: "Ready", or "Can't initialize device" when that
// message box could not be shown. Window's thread, after InitPlayback.
LPCWSTR StartupStatus();

// Opens the default sound device unless it is open already; true when it is open. A device that
// was missing at start-up is tried again this way before each tune-in. Any thread.
bool OpenAudioDevice();

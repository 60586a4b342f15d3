// Start-up of the audio library and of the application folder, while the main window is created.
#pragma once

#include "platform/Win32.h"

// Posted to the main window by InitPlayback: the sound device is looked for once the genre list
// is on the screen (CheckAudioDevice), since opening it takes a sound server's or driver's time.
constexpr UINT WM_CHECK_AUDIO_DEVICE = WM_APP + 3;

// Runs first thing in WM_CREATE, with the window being created (mainWindow is not set yet).
// Fills the application folder, WebClient::folder and the cover path whatever becomes of the
// audio device, and posts WM_CHECK_AUDIO_DEVICE to `window`.
void InitPlayback(HWND window);

// The main window's WM_CHECK_AUDIO_DEVICE handler: paints and shows the window as it stands,
// then opens the sound device; when it cannot be opened a message box owned by `window` says
// "Can't initialize device", and the status line does where that box could not be shown.
void CheckAudioDevice(HWND window);

// Opens the default sound device unless it is open already; true when it is open. A device that
// was missing at start-up is tried again this way before each tune-in. Any thread.
bool OpenAudioDevice();

// Showing a new cover on the screen that is up.
#pragma once

#include "platform/Win32Types.h"

// By screenState: in PlayerScreen, when the now-playing view is up (the station list hidden),
// the Back, add and Exit buttons are shown and the whole window is redrawn; a station list shown
// there (a genre just chosen) stays as it is. In StationScreen the station list is laid out and
// shown and only the strip's band below it is redrawn; otherwise nothing.
// Nothing is erased first. Any thread: the platform carries each change to the window's thread.
void RedrawNowPlaying(HWND window);

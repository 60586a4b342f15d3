// The user's taps: buttons and text lines, list choices, and the now-playing strip. Window's
// thread only.
#pragma once

#include "platform/Win32.h"

// WM_COMMAND with the command id (the low 16 bits of wParam).
void OnCommand(HWND window, int commandId);

// WM_NOTIFY: a row chosen (tap or Enter) in the genre list or the station list.
void OnListChoice(HWND window, const NMHDR* notification);

// WM_LBUTTONDOWN on the main window itself, with the tap's y in client pixels: a tap on the
// strip opens the now-playing view.
void OnPanelClick(HWND window, int y);

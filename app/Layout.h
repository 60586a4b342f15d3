// Placing the main window and its controls; every position follows the screen, never the window.
#pragma once

#include "platform/Win32.h"

// WM_SIZE: re-reads the screen size and places the two text lines (the search line on the
// title line), the three image buttons
// (a column at the right edge below the title line: Back, add, Exit) and both lists.
void LayoutControls(HWND window);

// WM_ACTIVATE, on activation and deactivation alike: the window covers the whole screen again.
void RestoreFullScreen(HWND window);

// Inserts the report columns `names[0..count)` into list `listId`, each at position 0, so the
// last name heads column 0.
void SetupListColumns(HWND window, int listId, const LPCWSTR* names, int count);

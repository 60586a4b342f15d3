// Placing a list view for the screen shown.
#pragma once

#include "platform/Win32Types.h"

// Sizes list `listId` of `window` below the title line for the current screenState: full height,
// or three line heights shorter in StationScreen to leave room for the now-playing strip. The
// list is wider than the screen by two scroll-bar widths and its window region cuts the scroll
// bar away, so rows use the whole width while the list still scrolls. Any thread.
void LayoutList(HWND window, int listId);

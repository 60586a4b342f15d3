// Everything the program paints itself: the now-playing view and strip, the image buttons and
// the list rows. Window's thread only.
#pragma once

#include "platform/Win32.h"

// WM_PAINT: the now-playing view in PlayerScreen (the cover faded in over 1.1 s, then the
// panel), the now-playing strip in StationScreen, nothing in GenreScreen.
void PaintMainWindow(HWND window);

// WM_DRAWITEM: an image button or a list row of control `controlId`.
void DrawOwnerItem(HWND window, int controlId, const DRAWITEMSTRUCT* item);

// One row of list `listId`: its column-0 text, highlighted when selected; in a station list with
// logos, the row's logo at its left and the text after it.
void DrawListRow(HWND window, const DRAWITEMSTRUCT* item, int listId);

// Draws the PNG or JPEG file at `path` stretched into `rect` of `dc`; a missing or unreadable
// file draws nothing.
void DrawImageFile(HDC dc, LPCWSTR path, RECT rect);

// Draws the PNG or JPEG file at `path` into `rect` of `dc` with its aspect kept, centred: a
// station's logo. A missing or unreadable file draws nothing.
void DrawLogoFile(HDC dc, LPCWSTR path, RECT rect);

// The screen's size and the lengths every layout and paint is built from. Only lineHeight and
// listItemHeight follow the screen's density; every other length is in plain pixels.
#pragma once

#include <atomic>

// Read from the screen before the entry point runs, and again on every WM_SIZE and WM_ACTIVATE
// (the window's thread); the album-art worker reads them too.
extern std::atomic<int> screenWidth;
extern std::atomic<int> screenHeight;
// Height of the title line, the status line and one text line of the panels.
extern const int lineHeight;
// Height of one list-view row.
extern const int listItemHeight;

constexpr int buttonWidth = 49;
constexpr int buttonHeight = 49;
constexpr int panelMargin = 2;

// A length given for 96 pixels per inch, scaled to `dpi` and rounded half up (away from zero
// for negative lengths).
int ScaleLength(int v, int dpi);

// A length given for 96 pixels per inch, scaled to the screen's vertical density. The density is
// read on first use and kept; a screen without a device context counts as -1, which makes every
// scaled length 0.
int ScaleToDpiY(int v);

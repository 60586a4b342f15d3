// The screen's size and the lengths every layout and paint is built from. Only lineHeight and
// listItemHeight follow the screen's density; every other length is in plain pixels.
#pragma once

#include <atomic>

// Read from the screen on every WM_SIZE (the main window's creation sends one) and WM_ACTIVATE
// (the window's thread); the album-art worker reads them too. 0 until the main window exists.
extern std::atomic<int> screenWidth;
extern std::atomic<int> screenHeight;

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

// A length given for 96 pixels per inch that reads as ScaleToDpiY of it wherever it is used as
// an int. Nothing is read while the program loads: the display opens first, in main.
class DensityLength {
 public:
  explicit constexpr DensityLength(int at96) : at96_(at96) {}
  operator int() const { return ScaleToDpiY(at96_); }

 private:
  int at96_;
};

// Height of the title line, the status line and one text line of the panels.
inline constexpr DensityLength lineHeight{20};
// Height of one list-view row.
inline constexpr DensityLength listItemHeight{40};

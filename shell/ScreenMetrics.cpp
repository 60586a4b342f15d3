#include "shell/ScreenMetrics.h"

#include <cstdlib>

#include "platform/Win32.h"

int ScaleLength(int v, int dpi) {
  const int sign = v < 0 ? -1 : 1;
  return sign * ((std::abs(v) * dpi + 48) / 96);
}

namespace {

int ReadScreenDpiY() {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) {
    return -1;
  }
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

}  // namespace

int ScaleToDpiY(int v) {
  static const int screenDpiY = ReadScreenDpiY();
  return ScaleLength(v, screenDpiY);
}

// Initialised in this order before the entry point runs: the screen, then the scaled heights.
std::atomic<int> screenWidth{GetSystemMetrics(SM_CXSCREEN)};
std::atomic<int> screenHeight{GetSystemMetrics(SM_CYSCREEN)};
const int lineHeight = ScaleToDpiY(20);
const int listItemHeight = ScaleToDpiY(40);

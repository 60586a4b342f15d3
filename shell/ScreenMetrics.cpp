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

std::atomic<int> screenWidth{0};
std::atomic<int> screenHeight{0};

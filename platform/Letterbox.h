// Where the screen image shows in a window of another size: as large as fits with its
// proportions kept, centred, black bars on the rest; and where a pointer in the window lands on
// the image.
#pragma once

#include "platform/Win32.h"

namespace winsys {

struct PixelSize {
  LONG width = 0;
  LONG height = 0;
};

struct Letterbox {
  PixelSize image;
  RECT shown{};  // the image's place in the window, in window pixels

  // The image as it shows in a window of `window` size.
  static Letterbox Fit(PixelSize image, PixelSize window);
  // A point in window pixels as a point on the image (outside it when outside what shows).
  POINT ImagePoint(POINT windowPoint) const;
};

}  // namespace winsys

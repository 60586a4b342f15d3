#include "platform/Letterbox.h"

#include <algorithm>
#include <cmath>

namespace winsys {

Letterbox Letterbox::Fit(PixelSize image, PixelSize window) {
  Letterbox box{image, RECT{0, 0, window.width, window.height}};
  if (image.width <= 0 || image.height <= 0) {
    return box;
  }
  const double scale = std::min(static_cast<double>(window.width) / image.width,
                                static_cast<double>(window.height) / image.height);
  const auto width = static_cast<LONG>(std::lround(image.width * scale));
  const auto height = static_cast<LONG>(std::lround(image.height * scale));
  box.shown.left = (window.width - width) / 2;
  box.shown.top = (window.height - height) / 2;
  box.shown.right = box.shown.left + width;
  box.shown.bottom = box.shown.top + height;
  return box;
}

POINT Letterbox::ImagePoint(POINT windowPoint) const {
  const LONG width = shown.right - shown.left;
  const LONG height = shown.bottom - shown.top;
  if (width <= 0 || height <= 0) {
    return windowPoint;
  }
  return POINT{static_cast<LONG>(std::floor(static_cast<double>(windowPoint.x - shown.left) *
                                            image.width / width)),
               static_cast<LONG>(std::floor(static_cast<double>(windowPoint.y - shown.top) *
                                            image.height / height))};
}

}  // namespace winsys

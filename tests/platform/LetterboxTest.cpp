// The screen image in a window of another size: where it shows, and where a tap lands on it.
#include <gtest/gtest.h>

#include "platform/Letterbox.h"

namespace {

using winsys::Letterbox;
using winsys::PixelSize;

TEST(LetterboxTest, ImageFitsCentredAndTapsLandOnItsPixels) {
  struct Case {
    PixelSize window;
    RECT shown;
    POINT tap;      // in the window
    POINT onImage;  // where it lands on the 480x640 image
  };
  const Case cases[] = {
      {{480, 640}, {0, 0, 480, 640}, {479, 639}, {479, 639}},     // the same size
      {{960, 1280}, {0, 0, 960, 1280}, {961, 1279}, {480, 639}},  // twice the size
      {{1000, 640}, {260, 0, 740, 640}, {260, 10}, {0, 10}},      // bars left and right
      {{1000, 640}, {260, 0, 740, 640}, {259, 10}, {-1, 10}},     // on a bar: off the image
      {{240, 1000}, {0, 340, 240, 660}, {120, 500}, {240, 320}},  // smaller, bars above/below
  };
  for (const Case& c : cases) {
    const Letterbox box = Letterbox::Fit(PixelSize{480, 640}, c.window);
    EXPECT_EQ(box.shown.left, c.shown.left);
    EXPECT_EQ(box.shown.top, c.shown.top);
    EXPECT_EQ(box.shown.right, c.shown.right);
    EXPECT_EQ(box.shown.bottom, c.shown.bottom);
    const POINT p = box.ImagePoint(c.tap);
    EXPECT_EQ(p.x, c.onImage.x) << c.window.width << "x" << c.window.height;
    EXPECT_EQ(p.y, c.onImage.y) << c.window.width << "x" << c.window.height;
  }
}

}  // namespace

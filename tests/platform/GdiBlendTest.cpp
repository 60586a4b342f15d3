// Constant-alpha blends from a memory bitmap: one blend weighs by its alpha, the fade of eleven
// blends leaves the image at about 81 %, and stretched or misplaced sources behave.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/DeviceContext.h"
#include "platform/Gdi.h"
#include "tests/platform/GdiTestSupport.h"

namespace {

constexpr BLENDFUNCTION Blend(BYTE alpha) {
  return {AC_SRC_OVER, 0, alpha, 0};
}

// A memory context holding a white bitmap of the given size, as the fade composes its image.
class WhiteMemoryBitmap {
 public:
  WhiteMemoryBitmap(HDC screen, int width, int height)
      : dc_(CreateCompatibleDC(screen)), bitmap_(CreateCompatibleBitmap(screen, width, height)) {
    previous_ = SelectObject(dc_, bitmap_);
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    RECT all{0, 0, width, height};
    FillRect(dc_, &all, white);
    DeleteObject(white);
  }
  ~WhiteMemoryBitmap() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

class GdiBlendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    surface_ = BlackSurface(120, 100);
    hdc_ = CreateSurfaceDC(surface_, {0, 0}, nullptr);
  }
  void TearDown() override {
    DestroySurfaceDC(hdc_);
    cairo_surface_destroy(surface_);
  }
  cairo_surface_t* surface_ = nullptr;
  HDC hdc_ = nullptr;
};

TEST_F(GdiBlendTest, OneBlendAtAlphaTenOfWhiteOverBlackGivesTen) {
  WhiteMemoryBitmap image(hdc_, 50, 40);
  ASSERT_TRUE(AlphaBlend(hdc_, 10, 20, 50, 40, image.dc(), 0, 0, 50, 40, Blend(10)));
  EXPECT_EQ(PixelAt(surface_, 10, 20), (Pixel{10, 10, 10, 255}));
  EXPECT_EQ(PixelAt(surface_, 59, 59), (Pixel{10, 10, 10, 255}));
  EXPECT_EQ(PixelAt(surface_, 60, 59), kBlack);
  EXPECT_EQ(PixelAt(surface_, 10, 19), kBlack);
}

TEST_F(GdiBlendTest, ElevenBlendsFromTenToSixtyLeaveAboutEightyOnePercent) {
  WhiteMemoryBitmap image(hdc_, 120, 80);
  double expectedDark = 1.0;
  for (int alpha = 10; alpha <= 60; alpha += 5) {
    AlphaBlend(hdc_, 0, 20, 120, 80, image.dc(), 0, 0, 120, 80, Blend(static_cast<BYTE>(alpha)));
    expectedDark *= 1.0 - alpha / 255.0;
  }
  const double expected = 255.0 * (1.0 - expectedDark);
  EXPECT_NEAR(expected / 255.0, 0.81, 0.01);
  for (auto [x, y] : {std::pair{0, 20}, std::pair{60, 60}, std::pair{119, 99}}) {
    const Pixel p = PixelAt(surface_, x, y);
    EXPECT_NEAR(p.r, expected, 3.0) << x << "," << y;
    EXPECT_EQ(p.r, p.g);
    EXPECT_EQ(p.a, 255);
  }
  EXPECT_EQ(PixelAt(surface_, 60, 19), kBlack);
}

TEST_F(GdiBlendTest, UndrawnCompatibleBitmapIsOpaqueBlack) {
  HDC memory = CreateCompatibleDC(hdc_);
  HBITMAP bitmap = CreateCompatibleBitmap(hdc_, 20, 20);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  RECT all{0, 0, 120, 100};
  FillRect(hdc_, &all, white);
  AlphaBlend(hdc_, 0, 0, 20, 20, memory, 0, 0, 20, 20, Blend(255));
  EXPECT_EQ(PixelAt(surface_, 5, 5), kBlack);
  DeleteObject(white);
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(bitmap);
}

TEST_F(GdiBlendTest, StretchesSourceOverDestination) {
  WhiteMemoryBitmap image(hdc_, 10, 10);
  ASSERT_TRUE(AlphaBlend(hdc_, 0, 0, 100, 50, image.dc(), 0, 0, 10, 10, Blend(255)));
  EXPECT_EQ(PixelAt(surface_, 0, 0), (Pixel{255, 255, 255, 255}));
  EXPECT_EQ(PixelAt(surface_, 99, 49), (Pixel{255, 255, 255, 255}));
  EXPECT_EQ(PixelAt(surface_, 100, 49), kBlack);
  EXPECT_EQ(PixelAt(surface_, 50, 50), kBlack);
}

TEST_F(GdiBlendTest, RefusesSourceOutsideItsBitmapAndBadArguments) {
  WhiteMemoryBitmap image(hdc_, 10, 10);
  EXPECT_FALSE(AlphaBlend(hdc_, 0, 0, 10, 10, image.dc(), 5, 0, 10, 10, Blend(255)));
  EXPECT_FALSE(AlphaBlend(hdc_, 0, 0, 10, 10, image.dc(), -1, 0, 10, 10, Blend(255)));
  EXPECT_FALSE(AlphaBlend(hdc_, 0, 0, 0, 10, image.dc(), 0, 0, 10, 10, Blend(255)));
  EXPECT_FALSE(AlphaBlend(hdc_, 0, 0, 10, 10, nullptr, 0, 0, 10, 10, Blend(255)));
  EXPECT_FALSE(AlphaBlend(hdc_, 0, 0, 10, 10, image.dc(), 0, 0, 10, 10, {1, 0, 255, 0}));
  EXPECT_EQ(PixelAt(surface_, 5, 5), kBlack);
}

TEST_F(GdiBlendTest, MemoryContextWithoutBitmapDrawsNothingAndBlendsNothing) {
  HDC memory = CreateCompatibleDC(hdc_);
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  RECT all{0, 0, 10, 10};
  EXPECT_EQ(FillRect(memory, &all, white), 0);
  EXPECT_FALSE(AlphaBlend(hdc_, 0, 0, 10, 10, memory, 0, 0, 1, 1, Blend(255)));
  EXPECT_EQ(PixelAt(surface_, 5, 5), kBlack);
  DeleteObject(white);
  DeleteDC(memory);
}

}  // namespace

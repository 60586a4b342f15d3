// Filled and rounded rectangles land on the pixels GDI puts them on, at the context's origin and
// inside its clip.
#include <gtest/gtest.h>

#include "platform/DeviceContext.h"
#include "platform/Gdi.h"
#include "tests/platform/GdiTestSupport.h"

namespace {

constexpr Pixel kPanel{38, 38, 40, 255};
constexpr Pixel kRed{255, 0, 0, 255};

using GdiFillTest = SurfaceTest<100, 80>;

TEST_F(GdiFillTest, FillRectCoversLeftTopButNotRightBottomEdge) {
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT r{10, 20, 30, 25};
  EXPECT_EQ(FillRect(hdc_, &r, red), 1);
  EXPECT_EQ(At(10, 20), kRed);
  EXPECT_EQ(At(29, 24), kRed);
  EXPECT_EQ(At(30, 24), kBlack);
  EXPECT_EQ(At(29, 25), kBlack);
  EXPECT_EQ(At(9, 20), kBlack);
  EXPECT_EQ(At(10, 19), kBlack);
  EXPECT_TRUE(DeleteObject(red));
}

TEST_F(GdiFillTest, EmptyOrInvertedRectangleDrawsNothing) {
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT inverted{30, 30, 10, 10};
  FillRect(hdc_, &inverted, red);
  EXPECT_EQ(At(20, 20), kBlack);
  DeleteObject(red);
}

TEST_F(GdiFillTest, RoundRectFillsWithBrushOutlinesWithPenAndRoundsCorners) {
  HPEN pen = CreatePen(PS_SOLID, 0, RGB(255, 0, 0));
  HBRUSH brush = CreateSolidBrush(RGB(38, 38, 40));
  HGDIOBJ oldPen = SelectObject(hdc_, pen);
  HGDIOBJ oldBrush = SelectObject(hdc_, brush);
  ASSERT_TRUE(RoundRect(hdc_, 10, 10, 90, 70, 20, 20));

  EXPECT_EQ(At(50, 40), kPanel);  // inside
  EXPECT_EQ(At(50, 10), kRed);    // top edge, one pixel wide
  EXPECT_EQ(At(50, 11), kPanel);
  EXPECT_EQ(At(50, 69), kRed);  // bottom edge is bottom - 1
  EXPECT_EQ(At(50, 70), kBlack);
  EXPECT_EQ(At(10, 40), kRed);  // left edge
  EXPECT_EQ(At(89, 40), kRed);  // right edge is right - 1
  EXPECT_EQ(At(90, 40), kBlack);
  EXPECT_EQ(At(10, 10), kBlack);  // the corners are cut away
  EXPECT_EQ(At(89, 69), kBlack);
  EXPECT_EQ(At(12, 12), kBlack);  // outside the corner's arc
  EXPECT_EQ(At(16, 16), kPanel);  // inside it

  SelectObject(hdc_, oldPen);
  SelectObject(hdc_, oldBrush);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_TRUE(DeleteObject(brush));
}

TEST_F(GdiFillTest, NullPenLeavesOnlyTheFill) {
  HBRUSH brush = CreateSolidBrush(RGB(38, 38, 40));
  SelectObject(hdc_, GetStockObject(NULL_PEN));
  HGDIOBJ oldBrush = SelectObject(hdc_, brush);
  RoundRect(hdc_, 10, 10, 90, 70, 10, 10);
  EXPECT_EQ(At(50, 40), kPanel);
  EXPECT_EQ(At(50, 12), kPanel);
  SelectObject(hdc_, oldBrush);
  DeleteObject(brush);
}

TEST(GdiSurfaceContextTest, DrawsAtItsOriginAndOnlyInsideItsClip) {
  cairo_surface_t* surface = BlackSurface(100, 100);
  const cairo_rectangle_int_t visible{20, 20, 30, 30};
  cairo_region_t* clip = cairo_region_create_rectangle(&visible);
  HDC hdc = CreateSurfaceDC(surface, {10, 20}, clip);
  cairo_region_destroy(clip);  // the context keeps its own copy

  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT everything{-100, -100, 200, 200};
  FillRect(hdc, &everything, red);
  EXPECT_EQ(PixelAt(surface, 20, 20), kRed);
  EXPECT_EQ(PixelAt(surface, 49, 49), kRed);
  EXPECT_EQ(PixelAt(surface, 50, 49), kBlack);
  EXPECT_EQ(PixelAt(surface, 19, 30), kBlack);

  RECT logicalOrigin{0, 0, 1, 1};
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(hdc, &logicalOrigin, white);  // surface (10, 20): outside the clip
  EXPECT_EQ(PixelAt(surface, 10, 20), kBlack);
  RECT inside{15, 5, 16, 6};
  FillRect(hdc, &inside, white);  // surface (25, 25)
  EXPECT_EQ(PixelAt(surface, 25, 25), (Pixel{255, 255, 255, 255}));

  DeleteObject(red);
  DeleteObject(white);
  DestroySurfaceDC(hdc);
  cairo_surface_destroy(surface);
}

TEST(GdiSurfaceContextTest, ClipMadeFromRectRegionsCutsDrawing) {
  cairo_surface_t* surface = BlackSurface(60, 60);
  HRGN left = CreateRectRgn(0, 0, 20, 60);
  HRGN right = CreateRectRgn(40, 0, 60, 60);
  cairo_region_t* clip = cairo_region_copy(RegionArea(left));
  cairo_region_union(clip, RegionArea(right));
  HDC hdc = CreateSurfaceDC(surface, {0, 0}, clip);
  cairo_region_destroy(clip);

  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT all{0, 0, 60, 60};
  FillRect(hdc, &all, red);
  EXPECT_EQ(PixelAt(surface, 10, 30), kRed);
  EXPECT_EQ(PixelAt(surface, 30, 30), kBlack);
  EXPECT_EQ(PixelAt(surface, 50, 30), kRed);

  EXPECT_TRUE(DeleteObject(left));
  EXPECT_TRUE(DeleteObject(right));
  EXPECT_EQ(RegionArea(left), nullptr);
  DeleteObject(red);
  DestroySurfaceDC(hdc);
  cairo_surface_destroy(surface);
}

TEST(GdiSurfaceContextTest, OnDrawnRunsAfterEachDrawingCallWithThePixelsInPlace) {
  cairo_surface_t* surface = BlackSurface(10, 10);
  int calls = 0;
  Pixel seen{};
  HDC hdc = CreateSurfaceDC(surface, {0, 0}, nullptr, [&] {
    ++calls;
    seen = PixelAt(surface, 1, 1);
  });
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT r{0, 0, 5, 5};
  FillRect(hdc, &r, red);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(seen, kRed);
  RoundRect(hdc, 0, 0, 10, 10, 2, 2);
  EXPECT_EQ(calls, 2);
  SetTextColor(hdc, RGB(1, 2, 3));  // attributes are not drawing
  EXPECT_EQ(calls, 2);
  RECT text{0, 0, 10, 10};
  DrawTextW(hdc, L"x", -1, &text, 0);
  EXPECT_EQ(calls, 3);
  DrawTextW(hdc, L"x", -1, &text, DT_CALCRECT);  // measuring is not drawing either
  EXPECT_EQ(calls, 3);
  HDC memory = CreateCompatibleDC(hdc);
  HBITMAP bitmap = CreateCompatibleBitmap(hdc, 4, 4);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  for (int i = 0; i < 3; ++i) {  // each step of a fade is presented
    AlphaBlend(hdc, 0, 0, 4, 4, memory, 0, 0, 4, 4, {AC_SRC_OVER, 0, 40, 0});
  }
  EXPECT_EQ(calls, 6);
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(bitmap);
  DeleteObject(red);
  DestroySurfaceDC(hdc);
  cairo_surface_destroy(surface);
}

}  // namespace

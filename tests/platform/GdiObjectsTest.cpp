// Selecting and deleting GDI objects: what SelectObject hands back, stock objects, and objects
// deleted while still selected (freed later, never used after they are gone).
#include <gtest/gtest.h>

#include "platform/DeviceContext.h"
#include "platform/DisplayMetrics.h"
#include "platform/Gdi.h"
#include "tests/platform/GdiTestSupport.h"

namespace {

TEST(GdiObjectsTest, SelectObjectReturnsThePreviousObjectOfTheSameKind) {
  HDC memory = CreateCompatibleDC(nullptr);
  HPEN pen = CreatePen(PS_SOLID, 0, RGB(1, 2, 3));
  HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
  EXPECT_EQ(SelectObject(memory, pen), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(memory, brush), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(memory, GetStockObject(BLACK_PEN)), pen);
  EXPECT_EQ(SelectObject(memory, GetStockObject(WHITE_BRUSH)), brush);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_TRUE(DeleteDC(memory));
}

TEST(GdiObjectsTest, ABitmapLivesInOneMemoryContextAtATime) {
  HDC first = CreateCompatibleDC(nullptr);
  HDC second = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(first, 8, 8);
  HGDIOBJ stock = SelectObject(first, bitmap);
  ASSERT_NE(stock, nullptr);
  EXPECT_EQ(SelectObject(second, bitmap), nullptr);
  EXPECT_FALSE(DeleteObject(bitmap));  // still selected: deleted once the context lets go
  EXPECT_EQ(SelectObject(first, stock), bitmap);
  EXPECT_FALSE(DeleteObject(bitmap));  // already gone
  EXPECT_TRUE(DeleteDC(first));
  EXPECT_TRUE(DeleteDC(second));
}

TEST(GdiObjectsTest, PenDeletedWhileSelectedStaysUsableUntilTheContextGoes) {
  cairo_surface_t* surface = BlackSurface(20, 20);
  HDC hdc = CreateSurfaceDC(surface, {0, 0}, nullptr);
  HPEN pen = CreatePen(PS_SOLID, 0, RGB(255, 0, 0));
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  SelectObject(hdc, pen);
  SelectObject(hdc, brush);
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_FALSE(DeleteObject(brush));
  EXPECT_EQ(SelectObject(nullptr, pen), nullptr);
  RoundRect(hdc, 0, 0, 20, 20, 0, 0);  // the context still draws with them
  EXPECT_EQ(PixelAt(surface, 0, 10), (Pixel{255, 0, 0, 255}));
  EXPECT_EQ(PixelAt(surface, 10, 10), (Pixel{0, 0, 255, 255}));
  DestroySurfaceDC(hdc);  // frees both; ASan reports a leak or a use after free otherwise
  cairo_surface_destroy(surface);
}

TEST(GdiObjectsTest, StaleAndForeignHandlesAreRefused) {
  HBRUSH brush = CreateSolidBrush(RGB(1, 1, 1));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(DeleteObject(brush));
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));  // stock objects are kept
  EXPECT_EQ(GetStockObject(99), nullptr);
  HDC memory = CreateCompatibleDC(nullptr);
  EXPECT_TRUE(DeleteDC(memory));
  EXPECT_FALSE(DeleteDC(memory));
  HRGN region = CreateRectRgn(0, 0, 5, 5);
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, region), nullptr);
  EXPECT_TRUE(DeleteObject(region));
  DeleteDC(other);
}

TEST(GdiObjectsTest, CompatibleBitmapOfNoSizeIsTheStockBitmapAndHugeOnesAreRefused) {
  HBITMAP empty = CreateCompatibleBitmap(nullptr, 0, 10);
  ASSERT_NE(empty, nullptr);
  EXPECT_TRUE(DeleteObject(empty));
  EXPECT_EQ(CreateCompatibleBitmap(nullptr, 1 << 20, 1 << 20), nullptr);
}

TEST(GdiObjectsTest, DeviceCapsReportTheCurrentDisplay) {
  const DisplayMetrics saved = CurrentDisplay();
  HDC memory = CreateCompatibleDC(nullptr);
  SetCurrentDisplay({240, 320, 96});
  EXPECT_EQ(GetDeviceCaps(memory, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(memory, HORZRES), 240);
  EXPECT_EQ(GetDeviceCaps(memory, VERTRES), 320);
  SetCurrentDisplay({0, -1, 128});  // only the positive value changes
  EXPECT_EQ(GetDeviceCaps(memory, LOGPIXELSY), 128);
  EXPECT_EQ(GetDeviceCaps(memory, HORZRES), 240);
  EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSY), 0);
  DeleteDC(memory);
  SetCurrentDisplay(saved);
}

}  // namespace

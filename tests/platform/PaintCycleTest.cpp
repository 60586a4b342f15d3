// Invalid areas are painted once the queue is empty, clipped to what changed; what is drawn
// shows on the screen.
#include "tests/platform/WindowTestSupport.h"

TEST_F(WindowTest, AShownWindowIsPaintedWithItsClassBackground) {
  EXPECT_EQ(headless::Pixel(100, 100), kParentColor);
  EXPECT_FALSE(Got(WM_ERASEBKGND, main).empty());
}

TEST_F(WindowTest, PaintComesAfterPostedMessagesAndOncePerInvalidation) {
  headless::RunUntilIdle();
  received.clear();
  InvalidateRect(main, nullptr, FALSE);
  InvalidateRect(main, nullptr, FALSE);
  PostMessageW(main, WM_USER, 0, 0);
  headless::RunUntilIdle();
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].message, WM_USER);
  EXPECT_EQ(received[1].message, WM_PAINT);
}

TEST_F(WindowTest, EraseOnlyWhenAsked) {
  received.clear();
  InvalidateRect(main, nullptr, FALSE);
  headless::RunUntilIdle();
  EXPECT_TRUE(Got(WM_ERASEBKGND).empty());
  InvalidateRect(main, nullptr, TRUE);
  headless::RunUntilIdle();
  EXPECT_EQ(Got(WM_ERASEBKGND).size(), 1u);
}

TEST_F(WindowTest, BeginPaintDrawsOnlyOverTheUpdateRegion) {
  colors[main] = RGB(255, 0, 0);
  const RECT part{10, 10, 20, 20};
  InvalidateRect(main, &part, FALSE);
  headless::RunUntilIdle();
  EXPECT_EQ(headless::Pixel(15, 15), RGB(255, 0, 0));
  EXPECT_EQ(headless::Pixel(25, 25), kParentColor);
  EXPECT_EQ(headless::Pixel(9, 15), kParentColor);
}

TEST_F(WindowTest, UpdateWindowPaintsAtOnce) {
  colors[main] = RGB(0, 255, 0);
  InvalidateRect(main, nullptr, FALSE);
  UpdateWindow(main);
  EXPECT_EQ(headless::Pixel(5, 5), RGB(0, 255, 0));
}

TEST_F(WindowTest, RedrawWindowPaintsTheChildrenAtOnceOnlyWhenAsked) {
  HWND child = Child(1, RECT{50, 50, 100, 100}, RGB(0, 0, 9));
  headless::RunUntilIdle();
  colors[main] = RGB(0, 255, 0);
  colors[child] = RGB(255, 0, 0);
  InvalidateRect(main, nullptr, FALSE);
  InvalidateRect(child, nullptr, FALSE);
  const RECT whole{0, 0, kWidth, kHeight};
  EXPECT_FALSE(RedrawWindow(main, &whole, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN));
  EXPECT_TRUE(RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW));
  EXPECT_EQ(headless::Pixel(5, 5), RGB(0, 255, 0));
  EXPECT_EQ(headless::Pixel(75, 75), RGB(0, 0, 9));
  EXPECT_TRUE(RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN));
  EXPECT_EQ(headless::Pixel(75, 75), RGB(255, 0, 0));
}

TEST_F(WindowTest, AWindowContextDrawsAtOnceWithinTheWindow) {
  HWND child = Child(1, RECT{50, 50, 100, 100}, RGB(9, 9, 9));
  headless::RunUntilIdle();
  HDC hdc = GetDC(child);
  HBRUSH brush = CreateSolidBrush(RGB(255, 255, 0));
  const RECT overflowing{-20, -20, 200, 200};
  FillRect(hdc, &overflowing, brush);
  DeleteObject(brush);
  ReleaseDC(child, hdc);
  EXPECT_EQ(headless::Pixel(50, 50), RGB(255, 255, 0));
  EXPECT_EQ(headless::Pixel(99, 99), RGB(255, 255, 0));
  EXPECT_EQ(headless::Pixel(100, 100), kParentColor);
  EXPECT_EQ(headless::Pixel(49, 49), kParentColor);
}

TEST_F(WindowTest, AParentNeverDrawsOverItsChildren) {
  Child(1, RECT{50, 50, 100, 100}, RGB(0, 200, 0));
  headless::RunUntilIdle();
  HDC hdc = GetDC(main);
  HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
  const RECT all{0, 0, kWidth, kHeight};
  FillRect(hdc, &all, brush);
  DeleteObject(brush);
  ReleaseDC(main, hdc);
  EXPECT_EQ(headless::Pixel(75, 75), RGB(0, 200, 0));
  EXPECT_EQ(headless::Pixel(10, 10), RGB(255, 255, 255));
}

TEST_F(WindowTest, MovingAWindowRepaintsWhereItWasAndWhereItIs) {
  HWND child = Child(1, RECT{0, 0, 40, 40}, RGB(200, 0, 0));
  headless::RunUntilIdle();
  MoveWindow(child, 100, 100, 40, 40, TRUE);
  headless::RunUntilIdle();
  EXPECT_EQ(headless::Pixel(20, 20), kParentColor);
  EXPECT_EQ(headless::Pixel(120, 120), RGB(200, 0, 0));
}

TEST_F(WindowTest, TheScreenSavesAsPng) {
  const std::string path = ::testing::TempDir() + "/screen.png";
  ASSERT_TRUE(headless::SaveScreen(path));
  cairo_surface_t* saved = cairo_image_surface_create_from_png(path.c_str());
  EXPECT_EQ(cairo_image_surface_get_width(saved), kWidth);
  EXPECT_EQ(cairo_image_surface_get_height(saved), kHeight);
  cairo_surface_destroy(saved);
}

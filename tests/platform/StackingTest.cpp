// Siblings created earlier lie above later ones; hidden windows are neither drawn nor reached;
// a window region cuts both drawing and taps.
#include "tests/platform/WindowTestSupport.h"

namespace {

constexpr COLORREF kFirst = RGB(200, 0, 0);
constexpr COLORREF kSecond = RGB(0, 200, 0);

}  // namespace

class StackingTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    first = Child(1, RECT{0, 0, 100, 100}, kFirst);
    second = Child(2, RECT{50, 50, 150, 150}, kSecond);
    headless::RunUntilIdle();
    received.clear();
  }

  HWND TappedAt(int x, int y) {
    received.clear();
    headless::Tap(x, y);
    headless::RunUntilIdle();
    const auto downs = Got(WM_LBUTTONDOWN);
    return downs.size() == 1 ? downs[0].hwnd : nullptr;
  }

  HWND first = nullptr;
  HWND second = nullptr;
};

TEST_F(StackingTest, AnEarlierChildLiesAboveALaterOne) {
  EXPECT_EQ(headless::Pixel(75, 75), kFirst);
  EXPECT_EQ(headless::Pixel(125, 125), kSecond);
  EXPECT_EQ(TappedAt(75, 75), first);
  EXPECT_EQ(TappedAt(125, 125), second);
  EXPECT_EQ(TappedAt(200, 200), main);
}

TEST_F(StackingTest, ATapArrivesInClientCoordinates) {
  ASSERT_EQ(TappedAt(125, 130), second);
  const auto down = Got(WM_LBUTTONDOWN).front();
  EXPECT_EQ(GET_X_LPARAM(down.lParam), 75);
  EXPECT_EQ(GET_Y_LPARAM(down.lParam), 80);
  EXPECT_EQ(Got(WM_LBUTTONUP, second).size(), 1u);
}

TEST_F(StackingTest, AHiddenWindowIsNotDrawnAndGetsNoInput) {
  ShowWindow(first, SW_HIDE);
  headless::RunUntilIdle();
  EXPECT_EQ(headless::Pixel(75, 75), kSecond);
  EXPECT_EQ(headless::Pixel(25, 25), kParentColor);
  EXPECT_EQ(TappedAt(75, 75), second);
  EXPECT_EQ(TappedAt(25, 25), main);
  ShowWindow(first, SW_SHOW);
  headless::RunUntilIdle();
  EXPECT_EQ(headless::Pixel(75, 75), kFirst);
}

TEST_F(StackingTest, ChildrenOfAHiddenParentAreHiddenToo) {
  HWND grandchild = CreateWindowExW(0, L"TestWindow", L"", WS_CHILD | WS_VISIBLE, 60, 60, 20, 20,
                                    second, reinterpret_cast<HMENU>(3), nullptr, nullptr);
  colors[grandchild] = RGB(1, 2, 250);
  headless::RunUntilIdle();
  EXPECT_EQ(headless::Pixel(115, 115), RGB(1, 2, 250)) << "at 110..130 on the screen";
  EXPECT_TRUE(IsWindowVisible(grandchild));
  ShowWindow(second, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(grandchild));
  headless::RunUntilIdle();
  EXPECT_EQ(headless::Pixel(140, 140), kParentColor);
}

TEST_F(StackingTest, AWindowRegionClipsDrawingAndTaps) {
  SetWindowRgn(first, CreateRectRgn(0, 0, 60, 60), TRUE);
  headless::RunUntilIdle();
  EXPECT_EQ(headless::Pixel(30, 30), kFirst);
  EXPECT_EQ(headless::Pixel(80, 30), kParentColor);
  EXPECT_EQ(headless::Pixel(75, 75), kSecond);
  EXPECT_EQ(TappedAt(30, 30), first);
  EXPECT_EQ(TappedAt(80, 30), main);
  EXPECT_EQ(TappedAt(75, 75), second);
  HDC hdc = GetDC(first);
  HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
  const RECT all{0, 0, 100, 100};
  FillRect(hdc, &all, brush);
  DeleteObject(brush);
  ReleaseDC(first, hdc);
  EXPECT_EQ(headless::Pixel(30, 30), RGB(255, 255, 255));
  EXPECT_EQ(headless::Pixel(80, 30), kParentColor);
}

TEST_F(StackingTest, ADragStaysWithTheWindowItStartedIn) {
  received.clear();
  headless::Drag(POINT{25, 25}, POINT{200, 200}, 4, 1);
  headless::RunUntilIdle();
  EXPECT_FALSE(Got(WM_MOUSEMOVE, first).empty());
  EXPECT_EQ(Got(WM_LBUTTONUP, first).size(), 1u);
  EXPECT_TRUE(Got(WM_MOUSEMOVE, main).empty());
}

TEST_F(StackingTest, KeysGoToTheFocusedWindowOnlyWhileItIsShown) {
  SetFocus(second);
  headless::PressKey(VK_DOWN);
  headless::RunUntilIdle();
  EXPECT_EQ(Got(WM_KEYDOWN, second).size(), 1u);
  ShowWindow(second, SW_HIDE);
  headless::PressKey(VK_DOWN);
  headless::RunUntilIdle();
  EXPECT_EQ(Got(WM_KEYDOWN, second).size(), 1u);
  EXPECT_EQ(Got(WM_KEYDOWN, main).size(), 1u);
}

// Owner-drawn buttons and static text lines: how they are drawn and what a tap on them sends.
#include "tests/platform/WindowTestSupport.h"

namespace {

constexpr DWORD kButtonStyle = 0x5000000B;  // child, visible, owner-drawn
constexpr DWORD kLineStyle = 0x50000101;    // child, visible, centred, notify

}  // namespace

class ControlsTest : public WindowTest {
 protected:
  HWND Control(LPCWSTR className, LPCWSTR text, DWORD style, int id, RECT r) {
    return CreateWindowExW(0, className, text, style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, main, reinterpret_cast<HMENU>(id), nullptr, nullptr);
  }

  std::vector<WPARAM> Commands() {
    std::vector<WPARAM> ids;
    for (const Received& r : Got(WM_COMMAND, main)) {
      ids.push_back(r.wParam);
    }
    return ids;
  }

  // The columns of the rectangle that hold anything but the background colour.
  std::pair<int, int> InkColumns(RECT r, COLORREF background) {
    int left = r.right;
    int right = r.left - 1;
    for (int x = r.left; x < r.right; ++x) {
      for (int y = r.top; y < r.bottom; ++y) {
        if (headless::Pixel(x, y) != background) {
          left = std::min(left, x);
          right = std::max(right, x);
        }
      }
    }
    return {left, right};
  }
};

TEST_F(ControlsTest, AnOwnerDrawnButtonAsksItsParentToDrawIt) {
  std::vector<DRAWITEMSTRUCT> drawn;
  handler = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (message == WM_DRAWITEM) {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      drawn.push_back(*item);
      HBRUSH brush = CreateSolidBrush(RGB(250, 100, 0));
      FillRect(item->hDC, &item->rcItem, brush);
      DeleteObject(brush);
      return TRUE;
    }
    return std::nullopt;
  };
  HWND button = Control(L"Button", L"Back", kButtonStyle, 3040, RECT{191, 22, 240, 71});
  headless::RunUntilIdle();
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.back().CtlType, ODT_BUTTON);
  EXPECT_EQ(drawn.back().CtlID, 3040u);
  EXPECT_EQ(drawn.back().hwndItem, button);
  EXPECT_EQ(drawn.back().rcItem.right, 49);
  EXPECT_EQ(drawn.back().rcItem.bottom, 49);
  EXPECT_EQ(headless::Pixel(191, 22), RGB(250, 100, 0));
  EXPECT_EQ(headless::Pixel(239, 70), RGB(250, 100, 0));
  EXPECT_EQ(headless::Pixel(190, 22), kParentColor);
}

TEST_F(ControlsTest, ATapOnAButtonSendsItsIdToTheParent) {
  HWND button = Control(L"Button", L"Exit", kButtonStyle, 3050, RECT{10, 10, 59, 59});
  headless::Tap(30, 30);
  headless::RunUntilIdle();
  ASSERT_EQ(Commands().size(), 1u);
  EXPECT_EQ(LOWORD(Commands()[0]), 3050);
  EXPECT_EQ(HIWORD(Commands()[0]), BN_CLICKED);
  EXPECT_EQ(Got(WM_COMMAND, main)[0].lParam, reinterpret_cast<LPARAM>(button));
}

TEST_F(ControlsTest, APressReleasedOutsideTheButtonSendsNothing) {
  Control(L"Button", L"Exit", kButtonStyle, 3050, RECT{10, 10, 59, 59});
  headless::Drag(POINT{30, 30}, POINT{150, 150}, 3, 1);
  headless::RunUntilIdle();
  EXPECT_TRUE(Commands().empty());
}

TEST_F(ControlsTest, AHiddenButtonIsNotTapped) {
  HWND button = Control(L"Button", L"Back", kButtonStyle, 3040, RECT{10, 10, 59, 59});
  ShowWindow(button, SW_HIDE);
  headless::Tap(30, 30);
  headless::RunUntilIdle();
  EXPECT_TRUE(Commands().empty());
}

TEST_F(ControlsTest, ATapOnANotifyingTextLineSendsItsId) {
  Control(L"Static", L"Ready", kLineStyle, 3030, RECT{0, 300, 240, 320});
  Control(L"Static", L"quiet", WS_CHILD | WS_VISIBLE | SS_CENTER, 3031, RECT{0, 0, 240, 20});
  headless::Tap(120, 310);
  headless::Tap(120, 10);
  headless::RunUntilIdle();
  ASSERT_EQ(Commands().size(), 1u);
  EXPECT_EQ(LOWORD(Commands()[0]), 3030);
}

TEST_F(ControlsTest, ATextLineShowsItsTextCentredOnItsBackground) {
  const RECT line{0, 280, 240, 320};
  HWND status = Control(L"Static", L"Ready", kLineStyle, 3030, line);
  headless::RunUntilIdle();
  const COLORREF background = headless::Pixel(1, 281);
  EXPECT_NE(background, kParentColor);
  const auto [left, right] = InkColumns(line, background);
  ASSERT_LT(left, right) << "some text is drawn";
  EXPECT_NEAR((left + right) / 2, 120, 4);
  EXPECT_GT(left, 60);

  SetWindowTextW(status, L"a much longer text that fills the line");
  headless::RunUntilIdle();
  const auto [wideLeft, wideRight] = InkColumns(line, background);
  EXPECT_LT(wideLeft, left);
  EXPECT_GT(wideRight, right);
  WCHAR text[64];
  GetWindowTextW(status, text, 64);
  EXPECT_STREQ(text, L"a much longer text that fills the line");
}

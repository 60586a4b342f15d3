// DrawTextW: where the ink falls for centred, wrapped, clipped and single-line text in Latin,
// Cyrillic and CJK script, and what the background mode and DT_CALCRECT do.
#include <gtest/gtest.h>

#include "platform/DeviceContext.h"
#include "platform/DisplayMetrics.h"
#include "platform/Gdi.h"
#include "tests/platform/GdiTestSupport.h"

namespace {

constexpr COLORREF kPanelText = RGB(116, 140, 38);

class GdiTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = CurrentDisplay();
    SetCurrentDisplay({480, 640, 192});
    surface_ = BlackSurface(480, 300);
    hdc_ = CreateSurfaceDC(surface_, {0, 0}, nullptr);
    SetTextColor(hdc_, kPanelText);
    SetBkMode(hdc_, TRANSPARENT);
  }
  void TearDown() override {
    DestroySurfaceDC(hdc_);
    cairo_surface_destroy(surface_);
    SetCurrentDisplay(saved_);
  }
  InkBox Draw(const wchar_t* text, RECT rect, UINT format) {
    DrawTextW(hdc_, text, -1, &rect, format);
    return FindInk(surface_);
  }
  bool HasPixel(Pixel wanted) {
    for (int y = 0; y < 300; ++y) {
      for (int x = 0; x < 480; ++x) {
        if (PixelAt(surface_, x, y) == wanted) {
          return true;
        }
      }
    }
    return false;
  }

  DisplayMetrics saved_{};
  cairo_surface_t* surface_ = nullptr;
  HDC hdc_ = nullptr;
};

TEST_F(GdiTextTest, CentredTextHasEqualMarginsAtTheTopOfItsRectangle) {
  const InkBox ink = Draw(L"Now Playing", {8, 100, 472, 220}, DT_CENTER);
  ASSERT_FALSE(ink.empty());
  EXPECT_NEAR(ink.left - 8, 472 - ink.right, 4);
  EXPECT_GT(ink.width(), 100);
  EXPECT_GE(ink.top, 100);
  EXPECT_LT(ink.bottom, 100 + 40);  // one line, well inside a 40-pixel line at 192 dpi
  EXPECT_GT(ink.height(), 12);      // and large enough to read at that density
  EXPECT_TRUE(HasPixel({116, 140, 38, 255}));
}

TEST_F(GdiTextTest, LeftAlignedByDefault) {
  const InkBox ink = Draw(L"Jazz", {50, 0, 400, 100}, 0);
  ASSERT_FALSE(ink.empty());
  EXPECT_GE(ink.left, 50);
  EXPECT_LT(ink.left, 50 + 6);
}

TEST_F(GdiTextTest, WordBreakWrapsLongTextOntoMoreLinesInsideTheWidth) {
  const wchar_t* text = L"Deep House Radio from the Heart of the City of Lights";
  const InkBox ink = Draw(text, {10, 10, 210, 290}, DT_WORDBREAK);
  ASSERT_FALSE(ink.empty());
  EXPECT_LE(ink.right, 210);
  EXPECT_GT(ink.bottom, 10 + 3 * 28);  // at least four lines
}

TEST_F(GdiTextTest, WithoutWordBreakCentredLongTextStaysOnOneLineCutAtBothEdges) {
  const wchar_t* text = L"A very long artist name that does not fit into the panel at all";
  const InkBox ink = Draw(text, {100, 50, 380, 250}, DT_CENTER);
  ASSERT_FALSE(ink.empty());
  EXPECT_LE(ink.left, 101);
  EXPECT_GE(ink.right, 379);
  EXPECT_GE(ink.left, 100);
  EXPECT_LE(ink.right, 380);
  EXPECT_LT(ink.bottom, 50 + 40);
}

TEST_F(GdiTextTest, WrappedLinesBeyondTheBottomAreCutOff) {
  const wchar_t* text = L"Row text that wraps onto several lines in a narrow list row";
  const InkBox ink = Draw(text, {8, 18, 200, 80}, DT_WORDBREAK);
  ASSERT_FALSE(ink.empty());
  EXPECT_GE(ink.top, 18);
  EXPECT_EQ(ink.bottom, 80);  // the second line is cut through at the bottom
}

TEST_F(GdiTextTest, NoClipLetsTextRunPastTheRectangle) {
  const InkBox ink = Draw(L"Overflowing text", {10, 10, 40, 20}, DT_NOCLIP);
  EXPECT_GT(ink.right, 40);
  EXPECT_GT(ink.bottom, 20);
}

TEST_F(GdiTextTest, SingleLineVerticalCentreSitsInTheMiddle) {
  const InkBox ink = Draw(L"Ready", {0, 0, 480, 300}, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ASSERT_FALSE(ink.empty());
  EXPECT_NEAR((ink.top + ink.bottom) / 2, 150, 8);
  EXPECT_NEAR((ink.left + ink.right) / 2, 240, 4);
}

TEST_F(GdiTextTest, SingleLineIgnoresLineBreaks) {
  const InkBox ink = Draw(L"first\nsecond", {0, 0, 480, 300}, DT_SINGLELINE);
  EXPECT_LT(ink.bottom, 40);
}

TEST_F(GdiTextTest, CyrillicIsDrawn) {
  const InkBox ink = Draw(L"Радио Рекорд", {0, 0, 480, 60}, DT_CENTER);
  ASSERT_FALSE(ink.empty());
  EXPECT_GT(ink.width(), 100);
}

TEST_F(GdiTextTest, CjkFallsBackToAnInstalledFontRatherThanEmptyBoxes) {
  // U+4E00 is one horizontal stroke; a missing-glyph box would be as tall as the line.
  const InkBox strokes = Draw(L"一一一", {0, 0, 480, 60}, 0);
  ASSERT_FALSE(strokes.empty());
  EXPECT_GT(strokes.width(), 40);
  EXPECT_LT(strokes.height(), 6);
}

TEST_F(GdiTextTest, MixedScriptsShareOneLine) {
  const InkBox ink = Draw(L"東京 FM — Радио", {0, 0, 480, 100}, DT_CENTER);
  ASSERT_FALSE(ink.empty());
  EXPECT_LT(ink.bottom, 45);
  EXPECT_GT(ink.width(), 150);
}

TEST_F(GdiTextTest, WrappedRightToLeftNamesStillStartAtTheRectanglesLeft) {
  for (const wchar_t* name : {L"רדיו תל אביב", L"إذاعة القرآن الكريم", L"Radio صوت"}) {
    SCOPED_TRACE(testing::Message() << "name " << name);
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    const RECT all{0, 0, 480, 300};
    FillRect(hdc_, &all, black);
    DeleteObject(black);
    const InkBox ink = Draw(name, {50, 0, 470, 100}, DT_WORDBREAK);
    ASSERT_FALSE(ink.empty());
    EXPECT_LT(ink.left, 50 + 8);
    EXPECT_LT(ink.right, 300);
  }
}

TEST_F(GdiTextTest, OpaqueModeFillsTheLineBackground) {
  SetBkMode(hdc_, OPAQUE);
  SetBkColor(hdc_, RGB(0, 0, 255));
  Draw(L"Rock", {10, 10, 300, 100}, 0);
  EXPECT_EQ(PixelAt(surface_, 11, 11), (Pixel{0, 0, 255, 255}));
  EXPECT_EQ(PixelAt(surface_, 200, 11), kBlack);  // beyond the text's width
}

TEST_F(GdiTextTest, CalcRectMeasuresWithoutDrawing) {
  RECT rect{10, 20, 10, 20};
  const int height = DrawTextW(hdc_, L"Measure me", -1, &rect, DT_CALCRECT);
  EXPECT_GT(rect.right - rect.left, 50);
  EXPECT_EQ(rect.bottom - rect.top, height);
  EXPECT_GT(height, 20);
  EXPECT_TRUE(FindInk(surface_).empty());
}

TEST_F(GdiTextTest, CountLimitsTheCharactersDrawn) {
  RECT whole{0, 0, 480, 60};
  RECT part{0, 0, 480, 60};
  DrawTextW(hdc_, L"Classic Rock", -1, &whole, DT_CALCRECT);
  DrawTextW(hdc_, L"Classic Rock", 3, &part, DT_CALCRECT);
  EXPECT_LT(part.right, whole.right / 2);
}

TEST_F(GdiTextTest, TextHeightFollowsTheDensity) {
  RECT at192{0, 0, 480, 100};
  DrawTextW(hdc_, L"Hg", -1, &at192, DT_CALCRECT);
  SetCurrentDisplay({240, 320, 96});
  RECT at96{0, 0, 480, 100};
  DrawTextW(hdc_, L"Hg", -1, &at96, DT_CALCRECT);
  EXPECT_NEAR(at192.bottom, 2 * at96.bottom, 2);
}

TEST_F(GdiTextTest, InvalidArgumentsDrawNothing) {
  RECT rect{0, 0, 100, 100};
  EXPECT_EQ(DrawTextW(hdc_, nullptr, -1, &rect, 0), 0);
  EXPECT_EQ(DrawTextW(hdc_, L"x", 0, &rect, 0), 0);
  EXPECT_EQ(DrawTextW(nullptr, L"x", -1, &rect, 0), 0);
  const wchar_t bad[] = {0xD800, 0x110000, static_cast<wchar_t>(-5), 0};
  EXPECT_GT(DrawTextW(hdc_, bad, -1, &rect, 0), 0);  // drawn as replacement characters
}

}  // namespace

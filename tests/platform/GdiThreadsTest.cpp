// Drawing on several threads at once, each on its own context, while the display metrics change:
// the shared handle table, the per-thread text layout and the decoders must not race (TSan).
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/DeviceContext.h"
#include "platform/DisplayMetrics.h"
#include "platform/Gdi.h"
#include "platform/Image.h"
#include "platform/Utf8.h"
#include "tests/platform/GdiTestSupport.h"

namespace {

void DrawRepeatedly(cairo_surface_t* surface, int rounds) {
  HDC hdc = CreateSurfaceDC(surface, {0, 0}, nullptr);
  const std::wstring cover = Utf8ToWide(std::string(TUNEDECK_FIXTURES) + "/platform/top-green.jpg");
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, RGB(255, 255, 255));
  for (int i = 0; i < rounds; ++i) {
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 0));
    RECT all{0, 0, 200, 100};
    FillRect(hdc, &all, brush);
    DeleteObject(brush);
    DrawImageStretched(hdc, cover.c_str(), {0, 0, 40, 40});
    RECT text{50, 0, 200, 100};
    DrawTextW(hdc, L"Радио 東京", -1, &text, DT_WORDBREAK);
  }
  DestroySurfaceDC(hdc);
}

TEST(GdiThreadsTest, ThreadsDrawOnTheirOwnContextsAtTheSameTime) {
  const DisplayMetrics saved = CurrentDisplay();
  std::vector<cairo_surface_t*> surfaces;
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    surfaces.push_back(BlackSurface(200, 100));
    threads.emplace_back(DrawRepeatedly, surfaces.back(), 15);
  }
  threads.emplace_back([] {
    for (int i = 0; i < 50; ++i) {
      SetCurrentDisplay({480, 640, i % 2 ? 96 : 192});
    }
  });
  for (auto& thread : threads) {
    thread.join();
  }
  for (cairo_surface_t* surface : surfaces) {
    EXPECT_FALSE(PixelAt(surface, 20, 5) == kBlack);  // the cover's green top
    EXPECT_FALSE(FindInk(surface).empty());
    cairo_surface_destroy(surface);
  }
  SetCurrentDisplay(saved);
}

}  // namespace

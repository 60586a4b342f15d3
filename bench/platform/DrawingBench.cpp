// What one paint of the program costs in the drawing layer: a list row's text, the fade's
// full-screen blend, a cover decoded into the view and into the strip's thumbnail.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/DeviceContext.h"
#include "platform/DisplayMetrics.h"
#include "platform/Gdi.h"
#include "platform/Image.h"
#include "platform/Utf8.h"

namespace {

// A 480 x 640 screen at 192 dpi with a window context on it.
class Screen {
 public:
  Screen() : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 480, 640)) {
    SetCurrentDisplay({480, 640, 192});
    hdc_ = CreateSurfaceDC(surface_, {0, 0}, nullptr);
  }
  ~Screen() {
    DestroySurfaceDC(hdc_);
    cairo_surface_destroy(surface_);
  }
  HDC dc() const { return hdc_; }

 private:
  cairo_surface_t* surface_;
  HDC hdc_ = nullptr;
};

std::wstring Fixture(const char* name) {
  return Utf8ToWide(std::string(TUNEDECK_FIXTURES) + "/platform/" + name);
}

void BM_DrawTextListRow(benchmark::State& state) {
  Screen screen;
  SetTextColor(screen.dc(), RGB(128, 128, 128));
  SetBkMode(screen.dc(), TRANSPARENT);
  const wchar_t* text = state.range(0) == 0 ? L"Deep House Radio - the best of house music 24/7"
                                            : L"東京 FM — Радио Рекорд — Classic Rock";
  for (auto _ : state) {
    RECT row{8, 18, 470, 80};
    benchmark::DoNotOptimize(DrawTextW(screen.dc(), text, -1, &row, DT_WORDBREAK));
  }
}
BENCHMARK(BM_DrawTextListRow)->Arg(0)->Arg(1)->ArgNames({"cjk"});

void BM_RoundRectPanel(benchmark::State& state) {
  Screen screen;
  HPEN pen = CreatePen(PS_SOLID, 0, RGB(38, 38, 40));
  HBRUSH brush = CreateSolidBrush(RGB(38, 38, 40));
  SelectObject(screen.dc(), pen);
  SelectObject(screen.dc(), brush);
  for (auto _ : state) {
    RoundRect(screen.dc(), 8, 476, 472, 596, 10, 10);
  }
  SelectObject(screen.dc(), GetStockObject(BLACK_PEN));
  SelectObject(screen.dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(pen);
  DeleteObject(brush);
}
BENCHMARK(BM_RoundRectPanel);

void BM_AlphaBlendFullView(benchmark::State& state) {
  Screen screen;
  HDC memory = CreateCompatibleDC(screen.dc());
  HBITMAP bitmap = CreateCompatibleBitmap(screen.dc(), 480, 560);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  for (auto _ : state) {
    AlphaBlend(screen.dc(), 0, 40, 480, 560, memory, 0, 0, 480, 560, {AC_SRC_OVER, 0, 30, 0});
  }
  state.SetItemsProcessed(state.iterations() * 480 * 560);
  SelectObject(memory, previous);
  DeleteDC(memory);
  DeleteObject(bitmap);
}
BENCHMARK(BM_AlphaBlendFullView);

void BM_DrawCoverJpeg(benchmark::State& state) {
  Screen screen;
  const std::wstring cover = Fixture("cover-300.jpg");
  const RECT view{0, 40, 480, 600};
  const RECT thumbnail{12, 442, 62, 594};
  const RECT& target = state.range(0) == 0 ? view : thumbnail;
  for (auto _ : state) {
    benchmark::DoNotOptimize(DrawImageStretched(screen.dc(), cover.c_str(), target));
  }
}
BENCHMARK(BM_DrawCoverJpeg)->Arg(0)->Arg(1)->ArgNames({"thumbnail"});

void BM_DrawButtonPng(benchmark::State& state) {
  Screen screen;
  const std::wstring button = Fixture("halves.png");
  for (auto _ : state) {
    benchmark::DoNotOptimize(DrawImageStretched(screen.dc(), button.c_str(), {431, 42, 480, 91}));
  }
}
BENCHMARK(BM_DrawButtonPng);

}  // namespace

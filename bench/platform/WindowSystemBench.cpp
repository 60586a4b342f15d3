// Composing a full 480 x 640 frame with a full owner-drawn list (the genre screen), and showing
// a composed frame through SDL's software renderer.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/HeadlessScreen.h"
#include "platform/Screen.h"
#include "platform/Win32.h"

namespace {

constexpr int kRowHeight = 80;
constexpr int kLineHeight = 40;

LRESULT CALLBACK ScreenProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kRowHeight;
      return TRUE;
    case WM_DRAWITEM: {
      // What the program draws for a row: a fill or a rounded highlight, then wrapped text.
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      WCHAR text[260];
      LVITEMW column{};
      column.pszText = text;
      column.cchTextMax = 260;
      SendMessageW(item->hwndItem, LVM_GETITEMTEXTW, item->itemID,
                   reinterpret_cast<LPARAM>(&column));
      RECT textRect{8, item->rcItem.top + 18, item->rcItem.right - 10, item->rcItem.bottom};
      HBRUSH brush = CreateSolidBrush((item->itemState & ODS_SELECTED) ? RGB(38, 38, 40) : 0);
      if (item->itemState & ODS_SELECTED) {
        HGDIOBJ old = SelectObject(item->hDC, brush);
        RoundRect(item->hDC, item->rcItem.left, item->rcItem.top, item->rcItem.right,
                  item->rcItem.bottom, 10, 10);
        SelectObject(item->hDC, old);
        SetTextColor(item->hDC, RGB(116, 140, 38));
      } else {
        FillRect(item->hDC, &item->rcItem, brush);
        SetTextColor(item->hDC, RGB(128, 128, 128));
      }
      DeleteObject(brush);
      DrawTextW(item->hDC, text, -1, &textRect, DT_WORDBREAK);
      return TRUE;
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

struct GenreScreen {
  HWND main = nullptr;
  HWND list = nullptr;
  HWND title = nullptr;
  HWND status = nullptr;

  GenreScreen() {
    headless::UseHeadlessScreen(480, 640, 192);
    static const bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = ScreenProc;
      wc.hbrBackground = CreateSolidBrush(RGB(0, 0, 0));
      wc.lpszClassName = L"BenchScreen";
      return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
    main = CreateWindowExW(0, L"BenchScreen", L"bench", WS_VISIBLE, 0, 0, 480, 640, nullptr,
                           nullptr, nullptr, nullptr);
    list = CreateWindowExW(0, L"SysListView32", nullptr, 0x50014C09, 0, kLineHeight, 480,
                           640 - 2 * kLineHeight, main, reinterpret_cast<HMENU>(3070), nullptr,
                           nullptr);
    title = CreateWindowExW(0, L"Static", L"Top 40", 0x50000101, 0, 0, 480, kLineHeight, main,
                            reinterpret_cast<HMENU>(3020), nullptr, nullptr);
    status = CreateWindowExW(0, L"Static", L"Ready", 0x50000101, 0, 640 - kLineHeight, 480,
                             kLineHeight, main, reinterpret_cast<HMENU>(3030), nullptr, nullptr);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 480;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    for (int i = 0; i < 40; ++i) {
      std::wstring name = L"Genre number " + std::to_wstring(i) + L" — Радио 東京";
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      item.pszText = name.data();
      SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    LVITEMW selected{};
    selected.state = LVIS_SELECTED;
    selected.stateMask = 0xF;
    SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));
    headless::RunUntilIdle();
  }
  ~GenreScreen() {
    DestroyWindow(main);
    headless::RunUntilIdle();
  }

  void Redraw() {
    for (HWND w : {main, list, title, status}) {
      InvalidateRect(w, nullptr, TRUE);
    }
    headless::RunUntilIdle();
  }
};

void BM_ComposeGenreScreen(benchmark::State& state) {
  GenreScreen screen;
  for (auto _ : state) {
    screen.Redraw();
  }
  state.SetLabel("480x640, 7 of 40 rows visible, 2 text lines");
}
BENCHMARK(BM_ComposeGenreScreen)->Unit(benchmark::kMillisecond);

void BM_PresentFrameThroughSdl(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  GenreScreen screen;
  ThreadQueue queue;
  std::unique_ptr<winsys::Presenter> presenter =
      winsys::OpenSdlScreen(queue, DisplayMetrics{480, 640, 192}, L"bench");
  if (presenter == nullptr) {
    state.SkipWithError("no SDL video");
    return;
  }
  for (auto _ : state) {
    presenter->Present(winsys::ScreenSurface());
  }
  state.SetLabel("software renderer, dummy video driver");
}
BENCHMARK(BM_PresentFrameThroughSdl)->Unit(benchmark::kMillisecond);

}  // namespace

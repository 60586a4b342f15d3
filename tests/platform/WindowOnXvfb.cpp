// Shows a list with Latin, Cyrillic and CJK rows and a rounded panel on a real (virtual) display,
// takes a screenshot of the display with xwd, and checks it at known pixels.
// Usage: window_on_xvfb SCREENSHOT.png   (under xvfb-run with a 480x640 screen)
// Exit code 0 when every pixel checked is right.
#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/Win32.h"

namespace {

constexpr COLORREF kPanel = RGB(38, 38, 40);
constexpr COLORREF kPanelText = RGB(116, 140, 38);
constexpr COLORREF kRowText = RGB(128, 128, 128);
constexpr int kListId = 1;
constexpr UINT_PTR kShotTimer = 1;
const wchar_t* const kRows[] = {L"Radio Paradise", L"Радио Рекорд", L"東京ラジオ 中文电台",
                                L"Latin again"};

std::string screenshot;
int result = 1;

int LineHeight() {
  return GetSystemMetrics(SM_CYSCREEN) / 16;
}
RECT PanelRect() {
  const int w = GetSystemMetrics(SM_CXSCREEN);
  const int h = GetSystemMetrics(SM_CYSCREEN);
  return RECT{8, h - 4 * LineHeight() - 4, w - 8, h - LineHeight() - 4};
}

void DrawRow(const DRAWITEMSTRUCT* item) {
  WCHAR text[260];
  LVITEMW column{};
  column.pszText = text;
  column.cchTextMax = 260;
  SendMessageW(item->hwndItem, LVM_GETITEMTEXTW, item->itemID, reinterpret_cast<LPARAM>(&column));
  RECT textRect = item->rcItem;
  textRect.left = 8;
  textRect.top += LineHeight() / 2;
  if (item->itemState & ODS_SELECTED) {
    HBRUSH brush = CreateSolidBrush(kPanel);
    HGDIOBJ old = SelectObject(item->hDC, brush);
    RoundRect(item->hDC, item->rcItem.left, item->rcItem.top, item->rcItem.right,
              item->rcItem.bottom, 10, 10);
    SelectObject(item->hDC, old);
    DeleteObject(brush);
    SetTextColor(item->hDC, kPanelText);
  } else {
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    FillRect(item->hDC, &item->rcItem, black);
    DeleteObject(black);
    SetTextColor(item->hDC, kRowText);
  }
  DrawTextW(item->hDC, text, -1, &textRect, DT_WORDBREAK);
}

void PaintPanel(HWND hwnd) {
  PAINTSTRUCT paint;
  HDC hdc = BeginPaint(hwnd, &paint);
  const RECT panel = PanelRect();
  HPEN pen = CreatePen(PS_SOLID, 0, kPanel);
  HBRUSH brush = CreateSolidBrush(kPanel);
  HGDIOBJ oldPen = SelectObject(hdc, pen);
  HGDIOBJ oldBrush = SelectObject(hdc, brush);
  RoundRect(hdc, panel.left, panel.top, panel.right, panel.bottom, 10, 10);
  SelectObject(hdc, oldPen);
  SelectObject(hdc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
  SetTextColor(hdc, kPanelText);
  SetBkMode(hdc, TRANSPARENT);
  RECT text = panel;
  DrawTextW(hdc, L"Now Playing", -1, &text, DT_CENTER);
  EndPaint(hwnd, &paint);
}

COLORREF PixelOf(cairo_surface_t* shot, int x, int y) {
  const unsigned char* row =
      cairo_image_surface_get_data(shot) + y * cairo_image_surface_get_stride(shot);
  const auto argb = reinterpret_cast<const std::uint32_t*>(row)[x];
  return RGB(static_cast<BYTE>(argb >> 16), static_cast<BYTE>(argb >> 8), static_cast<BYTE>(argb));
}

// Counts the pixels of a rectangle that are not `background`.
int Ink(cairo_surface_t* shot, RECT r, COLORREF background) {
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      count += PixelOf(shot, x, y) != background ? 1 : 0;
    }
  }
  return count;
}

bool Check(bool ok, const char* what) {
  std::printf("%s: %s\n", ok ? "ok" : "WRONG", what);
  return ok;
}

// A copied frame needs no GL: a GL driver would add its own threads and memory.
bool GlDriverLoaded() {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    if (line.find("_dri.so") != std::string::npos || line.find("libGLX") != std::string::npos) {
      return true;
    }
  }
  return false;
}

int CheckScreenshot() {
  const std::string command =
      "xwd -root -display \"$DISPLAY\" | /usr/bin/convert xwd:- '" + screenshot + "'";
  if (std::system(command.c_str()) != 0) {
    return Check(false, "screenshot taken") ? 0 : 1;
  }
  cairo_surface_t* shot = cairo_image_surface_create_from_png(screenshot.c_str());
  if (cairo_surface_status(shot) != CAIRO_STATUS_SUCCESS) {
    return Check(false, "screenshot readable") ? 0 : 1;
  }
  const int lh = LineHeight();
  const int row = 2 * lh;
  const int w = GetSystemMetrics(SM_CXSCREEN);
  const RECT panel = PanelRect();
  bool ok = Check(cairo_image_surface_get_width(shot) == w, "the window fills the display");
  ok &= Check(PixelOf(shot, 20, lh + row / 2 + 4) == kPanel, "the selected row is highlighted");
  ok &= Check(PixelOf(shot, w - 20, lh + row + row / 2 + 4) == RGB(0, 0, 0),
              "an unselected row is black");
  for (int i = 0; i < 3; ++i) {
    const RECT text{8, lh + i * row + lh / 2, w / 2, lh + (i + 1) * row};
    const COLORREF background = i == 0 ? kPanel : RGB(0, 0, 0);
    ok &= Check(Ink(shot, text, background) > 40, "a row's text is drawn");
  }
  ok &= Check(PixelOf(shot, panel.left + 20, panel.bottom - 10) == kPanel, "the panel is filled");
  ok &= Check(PixelOf(shot, panel.left, panel.top) == RGB(0, 0, 0), "the panel's corner is round");
  const RECT caption{panel.left, panel.top, panel.right, panel.top + lh};
  ok &= Check(Ink(shot, caption, kPanel) > 40, "the panel's caption is drawn");
  ok &= Check(!GlDriverLoaded(), "no GL driver is loaded");
  cairo_surface_destroy(shot);
  return ok ? 0 : 1;
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 2 * LineHeight();
      return TRUE;
    case WM_DRAWITEM:
      DrawRow(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_PAINT:
      PaintPanel(hwnd);
      return 0;
    case WM_TIMER:
      KillTimer(hwnd, kShotTimer);
      result = CheckScreenshot();
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    return 2;
  }
  screenshot = argv[1];
  WNDCLASSW wc{};
  wc.lpfnWndProc = MainProc;
  wc.hbrBackground = CreateSolidBrush(RGB(0, 0, 0));
  wc.lpszClassName = L"XvfbWindow";
  RegisterClassW(&wc);
  const int w = GetSystemMetrics(SM_CXSCREEN);
  const int h = GetSystemMetrics(SM_CYSCREEN);
  HWND main = CreateWindowExW(0, L"XvfbWindow", L"tunedeck", 0, 0, 0, w, h, nullptr, nullptr,
                              nullptr, nullptr);
  HWND list =
      CreateWindowExW(0, L"SysListView32", nullptr, 0x50014C09, 0, LineHeight(), w,
                      8 * LineHeight(), main, reinterpret_cast<HMENU>(kListId), nullptr, nullptr);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = w;
  SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  for (int i = 0; i < 4; ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = i;
    item.pszText = const_cast<LPWSTR>(kRows[i]);
    SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  LVITEMW selected{};
  selected.state = LVIS_SELECTED;
  selected.stateMask = 0xF;
  SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));
  ShowWindow(main, SW_SHOW);
  UpdateWindow(main);
  // Long enough for the display to map the window and show the first frame.
  SetTimer(main, kShotTimer, 1500, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return result;
}

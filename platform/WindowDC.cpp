// Device contexts of windows: each draws on the screen image, clipped to what of its window the
// screen shows.
#include <algorithm>
#include <utility>

#include "platform/DeviceContext.h"
#include "platform/Paint.h"
#include "platform/Screen.h"
#include "platform/Window.h"

using namespace winsys;

namespace {

HDC ScreenContext(const Window* w, const CairoRegionPtr& clip) {
  const RECT r = ScreenRect(w);
  return CreateSurfaceDC(ScreenSurface(), POINT{r.left, r.top}, clip.get(), ScreenDrawn);
}

}  // namespace

HDC GetDC(HWND hwnd) {
  if (hwnd == nullptr) {
    return CreateSurfaceDC(ScreenSurface(), POINT{0, 0}, nullptr, ScreenDrawn);
  }
  if (!OwnedHere(hwnd)) {
    return nullptr;
  }
  const CairoRegionPtr clip = VisibleRegion(hwnd, true);
  ClipToClient(clip.get(), hwnd);
  return ScreenContext(hwnd, clip);
}

int ReleaseDC(HWND, HDC hdc) {
  DestroySurfaceDC(hdc);
  return 1;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
  if (paint == nullptr || !OwnedHere(hwnd)) {
    return nullptr;
  }
  Window* w = hwnd;
  *paint = PAINTSTRUCT{};
  const CairoRegionPtr update =
      w->update != nullptr ? std::move(w->update) : CairoRegionPtr(cairo_region_create());
  const bool erase = w->erasePending;
  w->erasePending = false;

  const RECT r = ScreenRect(w);
  const CairoRegionPtr clip = VisibleRegion(w, true);
  ClipToClient(clip.get(), w);
  cairo_region_translate(update.get(), r.left, r.top);
  cairo_region_intersect(clip.get(), update.get());
  if (!cairo_region_is_empty(clip.get())) {
    cairo_rectangle_int_t box;
    cairo_region_get_extents(clip.get(), &box);
    paint->rcPaint =
        RECT{box.x - r.left, box.y - r.top, box.x - r.left + box.width, box.y - r.top + box.height};
  }
  paint->hdc = ScreenContext(w, clip);
  if (erase) {
    paint->fErase = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0) == 0;
  }
  return paint->hdc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
  if (paint != nullptr) {
    DestroySurfaceDC(paint->hdc);
  }
  return TRUE;
}

namespace winsys {

HDC GetWholeWindowDC(HWND hwnd) {
  if (!OwnedHere(hwnd)) {
    return nullptr;
  }
  return ScreenContext(hwnd, VisibleRegion(hwnd, true));
}

LRESULT EraseWithClassBrush(HWND hwnd, HDC hdc) {
  HBRUSH brush = hwnd->windowClass->background;
  if (brush == nullptr) {
    return 0;
  }
  RECT client;
  GetClientRect(hwnd, &client);
  return FillRect(hdc, &client, brush) != 0 ? 1 : 0;
}

}  // namespace winsys

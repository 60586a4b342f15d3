// SetWindowRgn: the window keeps the region's shape; the handle is freed here.
#include "platform/DeviceContext.h"
#include "platform/MessageQueue.h"
#include "platform/Window.h"

using namespace winsys;

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
  const cairo_region_t* area = region != nullptr ? RegionArea(region) : nullptr;
  if (region != nullptr && area == nullptr) {
    return 0;
  }
  cairo_region_t* shape = area != nullptr ? cairo_region_copy(area) : nullptr;
  if (region != nullptr) {
    DeleteObject(region);
  }
  const LRESULT done = RunOnOwner(hwnd, [hwnd, shape, redraw]() -> LRESULT {
    Window* w = hwnd;
    cairo_region_t* before = redraw ? VisibleRegion(w, false) : nullptr;
    if (w->shape != nullptr) {
      cairo_region_destroy(w->shape);
    }
    w->shape = shape;
    if (before != nullptr) {
      cairo_region_t* after = VisibleRegion(w, false);
      cairo_region_union(before, after);
      cairo_region_destroy(after);
      ExposeArea(before);
      cairo_region_destroy(before);
    }
    return 1;
  });
  if (done == 0 && shape != nullptr) {
    cairo_region_destroy(shape);
  }
  return static_cast<int>(done);
}

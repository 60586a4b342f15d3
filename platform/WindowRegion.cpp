// SetWindowRgn: the window keeps the region's shape; the handle is freed here.
#include <utility>

#include "platform/DeviceContext.h"
#include "platform/MessageQueue.h"
#include "platform/Window.h"

using namespace winsys;

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw) {
  const cairo_region_t* area = region != nullptr ? RegionArea(region) : nullptr;
  if (region != nullptr && area == nullptr) {
    return 0;
  }
  // Freed here unless the window takes it.
  CairoRegionPtr shape(area != nullptr ? cairo_region_copy(area) : nullptr);
  if (region != nullptr) {
    DeleteObject(region);
  }
  const LRESULT done = RunOnOwner(hwnd, [hwnd, &shape, redraw]() -> LRESULT {
    Window* w = hwnd;
    const CairoRegionPtr before = redraw ? VisibleRegion(w, false) : nullptr;
    w->shape = std::move(shape);
    if (before != nullptr) {
      cairo_region_union(before.get(), VisibleRegion(w, false).get());
      ExposeArea(before.get());
    }
    return 1;
  });
  return static_cast<int>(done);
}

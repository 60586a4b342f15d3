// Update regions: InvalidateRect, ValidateRect, UpdateWindow, RedrawWindow and which window
// paints next.
#include "platform/Paint.h"

#include <algorithm>

#include "platform/MessageQueue.h"
#include "platform/Screen.h"
#include "platform/Window.h"

namespace winsys {
namespace {

bool NeedsPaint(const Window* w) {
  return w->update != nullptr && !cairo_region_is_empty(w->update.get()) && IsShown(w);
}

Window* FirstToPaint(Window* w) {
  if (NeedsPaint(w)) {
    return w;
  }
  for (Window* child : w->children) {
    if (Window* found = FirstToPaint(child)) {
      return found;
    }
  }
  return nullptr;
}

cairo_rectangle_int_t WholeWindow(const Window* w) {
  return {0, 0, std::max(0, int(w->rect.right - w->rect.left)),
          std::max(0, int(w->rect.bottom - w->rect.top))};
}

}  // namespace

Window* WindowToPaint() {
  std::vector<Window*> top;
  {
    MutexLock lock(windowLock);
    top = TopLevel();
  }
  const auto here = std::this_thread::get_id();
  for (Window* w : top) {
    if (w->owner->thread != here) {
      continue;
    }
    if (Window* found = FirstToPaint(w)) {
      return found;
    }
  }
  return nullptr;
}

}  // namespace winsys

using namespace winsys;

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  return static_cast<BOOL>(RunOnOwner(hwnd, [hwnd, rect, erase]() -> LRESULT {
    Window* w = hwnd;
    if (!IsShown(w)) {
      return TRUE;
    }
    cairo_rectangle_int_t area = WholeWindow(w);
    area.width -= w->nonClientRight;
    if (rect != nullptr) {
      const cairo_rectangle_int_t asked{rect->left, rect->top, rect->right - rect->left,
                                        rect->bottom - rect->top};
      if (asked.width <= 0 || asked.height <= 0) {
        return TRUE;
      }
      const CairoRegionPtr clipped(cairo_region_create_rectangle(&asked));
      cairo_region_intersect_rectangle(clipped.get(), &area);
      cairo_region_get_extents(clipped.get(), &area);
    }
    if (area.width <= 0 || area.height <= 0) {
      return TRUE;
    }
    if (w->update == nullptr) {
      w->update.reset(cairo_region_create());
    }
    cairo_region_union_rectangle(w->update.get(), &area);
    w->erasePending = w->erasePending || erase != FALSE;
    return TRUE;
  }));
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  return static_cast<BOOL>(RunOnOwner(hwnd, [hwnd, rect]() -> LRESULT {
    Window* w = hwnd;
    if (w->update == nullptr) {
      return TRUE;
    }
    if (rect == nullptr) {
      w->update.reset();
      w->erasePending = false;
    } else {
      const cairo_rectangle_int_t area{rect->left, rect->top, rect->right - rect->left,
                                       rect->bottom - rect->top};
      if (area.width > 0 && area.height > 0) {
        cairo_region_subtract_rectangle(w->update.get(), &area);
      }
    }
    return TRUE;
  }));
}

BOOL UpdateWindow(HWND hwnd) {
  return static_cast<BOOL>(RunOnOwner(hwnd, [hwnd]() -> LRESULT {
    if (NeedsPaint(hwnd)) {
      hwnd->procedure(hwnd, WM_PAINT, 0, 0);
    }
    return TRUE;
  }));
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags) {
  if (rect != nullptr || region != nullptr || (flags & RDW_UPDATENOW) == 0) {
    return FALSE;
  }
  const bool children = (flags & RDW_ALLCHILDREN) != 0;
  return static_cast<BOOL>(RunOnOwner(hwnd, [hwnd, children]() -> LRESULT {
    // One window at a time, as the loop would: a paint may hide, show or invalidate others.
    while (Window* next = children ? FirstToPaint(hwnd) : (NeedsPaint(hwnd) ? hwnd : nullptr)) {
      next->procedure(next, WM_PAINT, 0, 0);
      if (NeedsPaint(next)) {
        return FALSE;  // a window that does not validate would be painted forever
      }
    }
    return TRUE;
  }));
}

BOOL GdiFlush() {
  PresentScreen();
  return TRUE;
}

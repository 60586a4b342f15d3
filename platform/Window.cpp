#include "platform/Window.h"

#include <algorithm>

#include "platform/DisplayMetrics.h"
#include "platform/MessageQueue.h"

namespace winsys {
namespace {

// Every window ever made; destroyed ones stay (marked) so a stale handle never points to freed
// memory. Freed when the process ends.
struct WindowTable {
  std::vector<std::unique_ptr<Window>> all GUARDED_BY(windowLock);
  std::vector<Window*> topLevel GUARDED_BY(windowLock);
};

WindowTable& Table() {
  static WindowTable* table = new WindowTable;  // lives until the process ends
  return *table;
}

const std::vector<Window*>& SiblingsOf(const Window* w) {
  return w->parent != nullptr ? w->parent->children : Table().topLevel;
}

void SubtractShape(cairo_region_t* from, const Window* w) {
  cairo_region_subtract(from, ShapeOnScreen(w).get());
}

// Removes from `region` what the visible siblings above `w` cover.
void SubtractSiblingsAbove(cairo_region_t* region, const Window* w) {
  for (const Window* sibling : SiblingsOf(w)) {
    if (sibling == w) {
      break;
    }
    if (sibling->visible() && !sibling->dying) {
      SubtractShape(region, sibling);
    }
  }
}

bool ShapeContains(const Window* w, POINT p) {
  return cairo_region_contains_point(ShapeOnScreen(w).get(), p.x, p.y);
}

}  // namespace

Mutex windowLock;

Window* LiveLocked(HWND hwnd) {
  if (hwnd == nullptr) {
    return nullptr;
  }
  for (const auto& w : Table().all) {
    if (w.get() == hwnd) {
      return w->destroyed ? nullptr : w.get();
    }
  }
  return nullptr;
}

Window* Live(HWND hwnd) {
  MutexLock lock(windowLock);
  return LiveLocked(hwnd);
}

bool OwnedHere(HWND hwnd) {
  Window* w = Live(hwnd);
  return w != nullptr && w->owner->thread == std::this_thread::get_id();
}

std::vector<Window*>& TopLevel() {
  return Table().topLevel;
}

std::vector<Window*> AllWindows() {
  std::vector<Window*> live;
  for (const auto& w : Table().all) {
    if (!w->destroyed) {
      live.push_back(w.get());
    }
  }
  return live;
}

Window* AddWindow(std::unique_ptr<Window> window) {
  MutexLock lock(windowLock);
  Table().all.push_back(std::move(window));
  return Table().all.back().get();
}

bool IsShown(const Window* w) {
  for (; w != nullptr; w = w->parent) {
    if (!w->visible() || w->dying) {
      return false;
    }
  }
  return true;
}

RECT ScreenRect(const Window* w) {
  RECT r = w->rect;
  for (const Window* p = w->parent; p != nullptr; p = p->parent) {
    r.left += p->rect.left;
    r.right += p->rect.left;
    r.top += p->rect.top;
    r.bottom += p->rect.top;
  }
  return r;
}

CairoRegionPtr ShapeOnScreen(const Window* w) {
  const RECT r = ScreenRect(w);
  const cairo_rectangle_int_t box{r.left, r.top, std::max(0, int(r.right - r.left)),
                                  std::max(0, int(r.bottom - r.top))};
  CairoRegionPtr region(cairo_region_create_rectangle(&box));
  if (w->shape != nullptr) {
    CairoRegionPtr shape(cairo_region_copy(w->shape.get()));
    cairo_region_translate(shape.get(), r.left, r.top);
    cairo_region_intersect(region.get(), shape.get());
  }
  return region;
}

CairoRegionPtr VisibleRegion(const Window* w, bool withoutChildren) {
  if (!IsShown(w)) {
    return CairoRegionPtr(cairo_region_create());
  }
  const DisplayMetrics display = CurrentDisplay();
  const cairo_rectangle_int_t screen{0, 0, display.width, display.height};
  CairoRegionPtr region(cairo_region_create_rectangle(&screen));
  for (const Window* a = w; a != nullptr; a = a->parent) {
    cairo_region_intersect(region.get(), ShapeOnScreen(a).get());
    SubtractSiblingsAbove(region.get(), a);
  }
  if (withoutChildren) {
    for (const Window* child : w->children) {
      if (child->visible() && !child->dying) {
        SubtractShape(region.get(), child);
      }
    }
  }
  return region;
}

void ClipToClient(cairo_region_t* region, const Window* w) {
  const RECT r = ScreenRect(w);
  const cairo_rectangle_int_t client{r.left, r.top,
                                     std::max(0, int(r.right - r.left) - w->nonClientRight),
                                     std::max(0, int(r.bottom - r.top))};
  cairo_region_intersect_rectangle(region, &client);
}

Window* WindowAt(POINT p) {
  std::vector<Window*> candidates;
  {
    MutexLock lock(windowLock);
    candidates = Table().topLevel;
  }
  const auto here = std::this_thread::get_id();
  for (Window* top : candidates) {
    if (top->owner->thread != here || !IsShown(top) || !ShapeContains(top, p)) {
      continue;
    }
    Window* hit = top;
    for (bool deeper = true; deeper;) {
      deeper = false;
      for (Window* child : hit->children) {
        if (child->visible() && !child->dying && ShapeContains(child, p)) {
          hit = child;
          deeper = true;
          break;
        }
      }
    }
    return hit;
  }
  return nullptr;
}

void ExposeArea(const cairo_region_t* area) {
  std::vector<Window*> windows;
  {
    MutexLock lock(windowLock);
    windows = AllWindows();
  }
  const auto here = std::this_thread::get_id();
  for (Window* w : windows) {
    if (w->owner->thread != here || !IsShown(w)) {
      continue;
    }
    // The edge too: it paints with the rest.
    const CairoRegionPtr visible = VisibleRegion(w, true);
    cairo_region_intersect(visible.get(), area);
    if (!cairo_region_is_empty(visible.get())) {
      const RECT r = ScreenRect(w);
      cairo_region_translate(visible.get(), -r.left, -r.top);
      if (w->update == nullptr) {
        w->update.reset(cairo_region_create());
      }
      cairo_region_union(w->update.get(), visible.get());
      w->erasePending = true;
    }
  }
}

}  // namespace winsys

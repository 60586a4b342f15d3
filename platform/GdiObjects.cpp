// Pens, brushes, bitmaps and regions, and the table of live handles that keeps a stale or
// foreign handle from being used.
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <unordered_set>

#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "platform/Mutex.h"

namespace {

// Beyond this many pixels a bitmap is refused rather than allocated (256 MB).
constexpr long long kMaxBitmapPixels = 64LL * 1024 * 1024;

Mutex tableMutex;

// The handle table and the stock objects exist from their first use on, even when that comes
// from another file's static initialiser (the program reads the screen before main runs).
struct Table {
  std::unordered_set<const GdiObject*> liveObjects GUARDED_BY(tableMutex);
  std::unordered_set<const DeviceContext*> liveContexts GUARDED_BY(tableMutex);
  GdiBrush whiteBrush{false, RGB(255, 255, 255), true};
  GdiBrush blackBrush{false, RGB(0, 0, 0), true};
  GdiBrush nullBrush{true, 0, true};
  GdiPen blackPen{false, 1, RGB(0, 0, 0), true};
  GdiPen nullPen{true, 1, 0, true};
  GdiBitmap stockBitmap{nullptr, 1, 1, true};
  GdiObject* const stockObjects[5] = {&whiteBrush, &blackBrush, &nullBrush, &blackPen, &nullPen};
};

Table& GdiTable() {
  static Table* const theTable = new Table;  // lives until the process ends
  return *theTable;
}

bool IsStock(const GdiObject* object) {
  return object == &GdiTable().stockBitmap ||
         std::find(std::begin(GdiTable().stockObjects), std::end(GdiTable().stockObjects),
                   object) != std::end(GdiTable().stockObjects);
}

// Looks the pointer up before reading anything through it: a stale handle may point anywhere.
bool IsLiveLocked(const GdiObject* object) REQUIRES(tableMutex) {
  return object && (GdiTable().liveObjects.count(object) != 0 || IsStock(object));
}

// Takes one selection off `object`; frees it when that was the last and a delete is pending.
void ReleaseLocked(GdiObject* object) REQUIRES(tableMutex) {
  if (!object || object->stock) {
    return;
  }
  --object->selections;
  if (object->selections == 0 && object->deletePending) {
    GdiTable().liveObjects.erase(object);
    delete object;
  }
}

void HoldLocked(GdiObject* object) REQUIRES(tableMutex) {
  if (!object->stock) {
    ++object->selections;
  }
}

template <typename T>
T* SwapLocked(T*& slot, T* object) REQUIRES(tableMutex) {
  T* previous = slot;
  HoldLocked(object);
  slot = object;
  ReleaseLocked(previous);
  return previous;
}

HGDIOBJ SelectBitmapLocked(HDC hdc, GdiBitmap* bitmap) REQUIRES(tableMutex) {
  if (!hdc->memory) {
    return nullptr;
  }
  if (!bitmap->stock && bitmap->selectedInto && bitmap->selectedInto != hdc) {
    return nullptr;
  }
  if (hdc->bitmap && !hdc->bitmap->stock) {
    hdc->bitmap->selectedInto = nullptr;
  }
  if (!bitmap->stock) {
    bitmap->selectedInto = hdc;
  }
  hdc->surface.reset(bitmap->surface ? cairo_surface_reference(bitmap->surface.get()) : nullptr);
  return SwapLocked(hdc->bitmap, bitmap);
}

}  // namespace

namespace gdi {

void RegisterObject(GdiObject* object) {
  MutexLock lock(tableMutex);
  GdiTable().liveObjects.insert(object);
}

bool IsLiveObject(const GdiObject* object, GdiObject::Kind kind) {
  MutexLock lock(tableMutex);
  return IsLiveLocked(object) && object->kind == kind;
}

bool IsLiveContext(const DeviceContext* hdc) {
  MutexLock lock(tableMutex);
  return hdc && GdiTable().liveContexts.count(hdc) != 0;
}

bool BrushColor(HBRUSH brush, COLORREF* color) {
  MutexLock lock(tableMutex);
  if (!IsLiveLocked(brush) || brush->kind != GdiObject::Kind::Brush || brush->null) {
    return false;
  }
  *color = brush->color;
  return true;
}

HDC RegisterContext(DeviceContext* hdc) {
  MutexLock lock(tableMutex);
  hdc->pen = &GdiTable().blackPen;
  hdc->brush = &GdiTable().whiteBrush;
  if (hdc->memory) {
    hdc->bitmap = &GdiTable().stockBitmap;
  }
  GdiTable().liveContexts.insert(hdc);
  return hdc;
}

bool DestroyContext(HDC hdc, bool memory) {
  {
    MutexLock lock(tableMutex);
    if (!hdc || GdiTable().liveContexts.count(hdc) == 0 || hdc->memory != memory) {
      return false;
    }
    GdiTable().liveContexts.erase(hdc);
    if (hdc->bitmap && !hdc->bitmap->stock) {
      hdc->bitmap->selectedInto = nullptr;
    }
    ReleaseLocked(hdc->pen);
    ReleaseLocked(hdc->brush);
    ReleaseLocked(hdc->bitmap);
  }
  delete hdc;
  return true;
}

}  // namespace gdi

const cairo_region_t* RegionArea(HRGN region) {
  return gdi::IsLiveObject(region, GdiObject::Kind::Region) ? region->region.get() : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return gdi::Register(new GdiBrush(false, color & 0xFFFFFF));
}

HPEN CreatePen(int style, int width, COLORREF color) {
  return gdi::Register(new GdiPen(style == PS_NULL, std::max(width, 1), color & 0xFFFFFF));
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  if (width <= 0 || height <= 0) {
    return &GdiTable().stockBitmap;
  }
  if (static_cast<long long>(width) * height > kMaxBitmapPixels) {
    return nullptr;
  }
  CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
    return nullptr;
  }
  // Opaque black, so that blending it without per-pixel alpha weighs every pixel alike.
  const CairoPtr cr(cairo_create(surface.get()));
  cairo_set_source_rgb(cr.get(), 0, 0, 0);
  cairo_paint(cr.get());
  return gdi::Register(new GdiBitmap(std::move(surface), width, height));
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  const cairo_rectangle_int_t area{std::min(left, right), std::min(top, bottom),
                                   std::abs(right - left), std::abs(bottom - top)};
  CairoRegionPtr region(cairo_region_create_rectangle(&area));
  if (cairo_region_status(region.get()) != CAIRO_STATUS_SUCCESS) {
    return nullptr;
  }
  return gdi::Register(new GdiRegion(std::move(region)));
}

HGDIOBJ GetStockObject(int index) {
  Table& table = GdiTable();
  switch (index) {
    case WHITE_BRUSH:
      return &table.whiteBrush;
    case BLACK_BRUSH:
      return &table.blackBrush;
    case NULL_BRUSH:
      return &table.nullBrush;
    case BLACK_PEN:
      return &table.blackPen;
    case NULL_PEN:
      return &table.nullPen;
    default:
      return nullptr;
  }
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
  MutexLock lock(tableMutex);
  if (!hdc || GdiTable().liveContexts.count(hdc) == 0 || !IsLiveLocked(object) ||
      object->deletePending) {
    return nullptr;
  }
  switch (object->kind) {
    case GdiObject::Kind::Pen:
      return SwapLocked(hdc->pen, static_cast<GdiPen*>(object));
    case GdiObject::Kind::Brush:
      return SwapLocked(hdc->brush, static_cast<GdiBrush*>(object));
    case GdiObject::Kind::Bitmap:
      return SelectBitmapLocked(hdc, static_cast<GdiBitmap*>(object));
    case GdiObject::Kind::Region:
      return nullptr;
  }
  return nullptr;
}

BOOL DeleteObject(HGDIOBJ object) {
  MutexLock lock(tableMutex);
  if (!IsLiveLocked(object)) {
    return FALSE;
  }
  if (object->stock) {
    return TRUE;
  }
  if (object->selections > 0) {
    object->deletePending = true;
    return FALSE;
  }
  GdiTable().liveObjects.erase(object);
  delete object;
  return TRUE;
}

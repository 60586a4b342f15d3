// What the GDI object handles point to. Included through Gdi.h so that a pen, brush, bitmap or
// region handle converts to HGDIOBJ as it does on the original; only platform/ reads the fields.
#pragma once

#include <utility>

#include "platform/CairoPtr.h"
#include "platform/Win32Types.h"

struct GdiObject {
  enum class Kind { Brush, Pen, Bitmap, Region };

  explicit GdiObject(Kind k, bool isStock = false) : kind(k), stock(isStock) {}
  virtual ~GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  const Kind kind;
  const bool stock;
  // Guarded by the object table's lock (GdiObjects.cpp).
  int selections = 0;          // contexts holding it selected
  bool deletePending = false;  // DeleteObject came while it was selected
};

struct GdiBrush : GdiObject {
  GdiBrush(bool isNull, COLORREF c, bool isStock = false)
      : GdiObject(Kind::Brush, isStock), null(isNull), color(c) {}
  const bool null;
  const COLORREF color;
};

struct GdiPen : GdiObject {
  GdiPen(bool isNull, int w, COLORREF c, bool isStock = false)
      : GdiObject(Kind::Pen, isStock), null(isNull), width(w), color(c) {}
  const bool null;
  const int width;  // at least 1
  const COLORREF color;
};

struct GdiBitmap : GdiObject {
  // Null `s` only for the stock bitmap, which nothing is drawn on.
  GdiBitmap(CairoSurfacePtr s, int w, int h, bool isStock = false)
      : GdiObject(Kind::Bitmap, isStock), surface(std::move(s)), width(w), height(h) {}
  const CairoSurfacePtr surface;
  const int width;
  const int height;
  DeviceContext* selectedInto = nullptr;  // guarded by the object table's lock
};

struct GdiRegion : GdiObject {
  explicit GdiRegion(CairoRegionPtr r) : GdiObject(Kind::Region), region(std::move(r)) {}
  const CairoRegionPtr region;
};

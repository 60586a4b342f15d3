// The inside of device contexts and the handle table, shared by the Gdi*.cpp files and the image
// drawing. Not for code outside platform/.
#pragma once

#include <functional>

#include "platform/CairoPtr.h"
#include "platform/GdiObjects.h"
#include "platform/Win32Types.h"

struct DeviceContext {
  bool memory = false;      // from CreateCompatibleDC
  CairoSurfacePtr surface;  // a reference; the selected bitmap's for a memory DC
  POINT origin{0, 0};
  CairoRegionPtr clip;  // null = whole surface
  std::function<void()> onDrawn;

  GdiPen* pen = nullptr;
  GdiBrush* brush = nullptr;
  GdiBitmap* bitmap = nullptr;  // memory DCs only
  COLORREF textColor = 0;
  COLORREF backgroundColor = 0xFFFFFF;
  int backgroundMode = 2;  // OPAQUE
};

// The table of live handles: what the Win32 calls check a handle against before using it.
namespace gdi {

void RegisterObject(GdiObject* object);
template <typename T>
T* Register(T* object) {
  RegisterObject(object);
  return object;
}
bool IsLiveObject(const GdiObject* object, GdiObject::Kind kind);
bool IsLiveContext(const DeviceContext* hdc);
// The colour of a live brush, or false for a null brush or a handle that is not a live brush.
bool BrushColor(HBRUSH brush, COLORREF* color);

// Selects the default pen, brush and (memory DCs) bitmap into a new context and registers it.
HDC RegisterContext(DeviceContext* hdc);
// Deselects everything from a context (freeing objects whose delete was pending), unregisters
// and frees it. False when it is not a live context of the given kind (memory or surface).
bool DestroyContext(HDC hdc, bool memory);

// One drawing call on a context: a Cairo context on its surface with the logical origin and the
// clip applied. Invalid when the context is not live or has nothing to draw on. At the end the
// surface is flushed and the context's onDrawn runs.
class DrawingSession {
 public:
  explicit DrawingSession(HDC hdc);
  ~DrawingSession();
  DrawingSession(const DrawingSession&) = delete;
  DrawingSession& operator=(const DrawingSession&) = delete;

  explicit operator bool() const { return cr_ != nullptr; }
  cairo_t* cairo() const { return cr_.get(); }
  HDC context() const { return hdc_; }

 private:
  HDC hdc_;
  CairoPtr cr_;
};

// Sets a COLORREF as Cairo's source colour.
void SetSourceColor(cairo_t* cr, COLORREF color, double alpha = 1.0);

}  // namespace gdi

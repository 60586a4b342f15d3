// Window and memory device contexts, their attributes, and the Cairo set-up of each drawing call.
#include "platform/DeviceContext.h"

#include "platform/DisplayMetrics.h"
#include "platform/Gdi.h"
#include "platform/GdiInternal.h"

HDC CreateSurfaceDC(cairo_surface_t* surface, POINT origin, cairo_region_t* clip,
                    std::function<void()> onDrawn) {
  if (!surface) {
    return nullptr;
  }
  auto* hdc = new DeviceContext;
  hdc->surface.reset(cairo_surface_reference(surface));
  hdc->origin = origin;
  hdc->clip.reset(clip ? cairo_region_copy(clip) : nullptr);
  hdc->onDrawn = std::move(onDrawn);
  return gdi::RegisterContext(hdc);
}

void DestroySurfaceDC(HDC hdc) {
  gdi::DestroyContext(hdc, false);
}

HDC CreateCompatibleDC(HDC) {
  auto* hdc = new DeviceContext;
  hdc->memory = true;
  return gdi::RegisterContext(hdc);
}

BOOL DeleteDC(HDC hdc) {
  // Window contexts go back through the window system, never through DeleteDC.
  return gdi::DestroyContext(hdc, true) ? TRUE : FALSE;
}

namespace {

// Sets one of a live context's colours (only its RGB part); the colour it replaces.
COLORREF ReplaceColor(HDC hdc, COLORREF DeviceContext::*field, COLORREF color) {
  if (!gdi::IsLiveContext(hdc)) {
    return CLR_INVALID;
  }
  const COLORREF previous = hdc->*field;
  hdc->*field = color & 0xFFFFFF;
  return previous;
}

}  // namespace

COLORREF SetTextColor(HDC hdc, COLORREF color) {
  return ReplaceColor(hdc, &DeviceContext::textColor, color);
}

COLORREF GetTextColor(HDC hdc) {
  return gdi::IsLiveContext(hdc) ? hdc->textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
  return ReplaceColor(hdc, &DeviceContext::backgroundColor, color);
}

int SetBkMode(HDC hdc, int mode) {
  if (!gdi::IsLiveContext(hdc) || (mode != TRANSPARENT && mode != OPAQUE)) {
    return 0;
  }
  int previous = hdc->backgroundMode;
  hdc->backgroundMode = mode;
  return previous;
}

int GetDeviceCaps(HDC hdc, int index) {
  if (!gdi::IsLiveContext(hdc)) {
    return 0;
  }
  const DisplayMetrics display = CurrentDisplay();
  switch (index) {
    case HORZRES:
      return display.width;
    case VERTRES:
      return display.height;
    case BITSPIXEL:
      return 32;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return display.dpi;
    default:
      return 0;
  }
}

namespace gdi {

DrawingSession::DrawingSession(HDC hdc) : hdc_(hdc) {
  if (!IsLiveContext(hdc) || !hdc->surface) {
    return;
  }
  cr_.reset(cairo_create(hdc->surface.get()));
  if (hdc->clip) {
    const int count = cairo_region_num_rectangles(hdc->clip.get());
    for (int i = 0; i < count; ++i) {
      cairo_rectangle_int_t r;
      cairo_region_get_rectangle(hdc->clip.get(), i, &r);
      cairo_rectangle(cr_.get(), r.x, r.y, r.width, r.height);
    }
    cairo_clip(cr_.get());
  }
  cairo_translate(cr_.get(), hdc->origin.x, hdc->origin.y);
}

DrawingSession::~DrawingSession() {
  if (!cr_) {
    return;
  }
  cr_.reset();  // its drawing reaches the surface before the flush
  cairo_surface_flush(hdc_->surface.get());
  if (hdc_->onDrawn) {
    hdc_->onDrawn();
  }
}

void SetSourceColor(cairo_t* cr, COLORREF color, double alpha) {
  cairo_set_source_rgba(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                        GetBValue(color) / 255.0, alpha);
}

}  // namespace gdi

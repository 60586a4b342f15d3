// Drawing a decoded image stretched over a rectangle of a device context.
#include "platform/Image.h"

#include "platform/GdiInternal.h"
#include "platform/ImageDecoders.h"
#include "platform/Utf8.h"

bool DrawImageStretched(HDC hdc, LPCWSTR path, const RECT& destination) {
  const int width = destination.right - destination.left;
  const int height = destination.bottom - destination.top;
  if (!path || width <= 0 || height <= 0 || !gdi::IsLiveContext(hdc) || !hdc->surface) {
    return false;
  }
  const CairoSurfacePtr image = image::DecodeImageFile(WideToUtf8(path), width, height);
  if (!image) {
    return false;
  }
  gdi::DrawingSession session(hdc);
  if (session) {
    cairo_t* cr = session.cairo();
    cairo_rectangle(cr, destination.left, destination.top, width, height);
    cairo_clip(cr);
    cairo_translate(cr, destination.left, destination.top);
    cairo_scale(cr, static_cast<double>(width) / cairo_image_surface_get_width(image.get()),
                static_cast<double>(height) / cairo_image_surface_get_height(image.get()));
    cairo_set_source_surface(cr, image.get(), 0, 0);
    cairo_pattern_t* pattern = cairo_get_source(cr);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
    // Edge pixels repeat outwards, so the image's border does not fade into what is below.
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_paint(cr);
  }
  return static_cast<bool>(session);
}

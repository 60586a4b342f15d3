// Drawing a decoded image stretched over, or fitted into, a rectangle of a device context.
#include "platform/Image.h"

#include <algorithm>

#include "platform/GdiInternal.h"
#include "platform/ImageCache.h"
#include "platform/Utf8.h"

namespace {

// The file's image, decoded for drawing into `destination`, or null when nothing is to be drawn.
CairoSurfacePtr DecodeFor(HDC hdc, LPCWSTR path, const RECT& destination) {
  const int width = destination.right - destination.left;
  const int height = destination.bottom - destination.top;
  if (!path || width <= 0 || height <= 0 || !gdi::IsLiveContext(hdc) || !hdc->surface) {
    return nullptr;
  }
  return image::CachedImageFile(WideToUtf8(path), width, height);
}

// Paints `image` over `area` (x, y, width, height), clipped to it, smoothly scaled.
bool Paint(HDC hdc, cairo_surface_t* image, double x, double y, double width, double height) {
  gdi::DrawingSession session(hdc);
  if (session) {
    cairo_t* cr = session.cairo();
    cairo_rectangle(cr, x, y, width, height);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, width / cairo_image_surface_get_width(image),
                height / cairo_image_surface_get_height(image));
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_pattern_t* pattern = cairo_get_source(cr);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_GOOD);
    // Edge pixels repeat outwards, so the image's border does not fade into what is below.
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_paint(cr);
  }
  return static_cast<bool>(session);
}

}  // namespace

bool DrawImageStretched(HDC hdc, LPCWSTR path, const RECT& destination) {
  const CairoSurfacePtr image = DecodeFor(hdc, path, destination);
  return image && Paint(hdc, image.get(), destination.left, destination.top,
                        destination.right - destination.left, destination.bottom - destination.top);
}

bool DrawImageFitted(HDC hdc, LPCWSTR path, const RECT& destination) {
  const CairoSurfacePtr image = DecodeFor(hdc, path, destination);
  if (!image) {
    return false;
  }
  const double width = destination.right - destination.left;
  const double height = destination.bottom - destination.top;
  const double imageWidth = cairo_image_surface_get_width(image.get());
  const double imageHeight = cairo_image_surface_get_height(image.get());
  const double scale = std::min(width / imageWidth, height / imageHeight);
  const double fittedWidth = imageWidth * scale;
  const double fittedHeight = imageHeight * scale;
  return Paint(hdc, image.get(), destination.left + (width - fittedWidth) / 2,
               destination.top + (height - fittedHeight) / 2, fittedWidth, fittedHeight);
}

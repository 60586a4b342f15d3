// Blending one context's pixels over another's with a constant alpha.
#include "platform/Gdi.h"
#include "platform/GdiInternal.h"

namespace {

// The pixels of `area` (surface coordinates) of `surface` as a surface of their own, so that a
// context can blend from the very surface it draws on.
CairoSurfacePtr CopyArea(cairo_surface_t* surface, int x, int y, int width, int height) {
  CairoSurfacePtr copy(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  const CairoPtr cr(cairo_create(copy.get()));
  cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr.get(), surface, -x, -y);
  cairo_paint(cr.get());
  return copy;
}

}  // namespace

BOOL AlphaBlend(HDC destination, int xDest, int yDest, int widthDest, int heightDest, HDC source,
                int xSource, int ySource, int widthSource, int heightSource, BLENDFUNCTION blend) {
  if (blend.BlendOp != AC_SRC_OVER || widthDest <= 0 || heightDest <= 0 || widthSource <= 0 ||
      heightSource <= 0 || !gdi::IsLiveContext(source) || !source->surface) {
    return FALSE;
  }
  // The source rectangle must lie inside the source's surface.
  const int sx = source->origin.x + xSource;
  const int sy = source->origin.y + ySource;
  cairo_surface_t* sourceSurface = source->surface.get();
  if (sx < 0 || sy < 0 || sx + widthSource > cairo_image_surface_get_width(sourceSurface) ||
      sy + heightSource > cairo_image_surface_get_height(sourceSurface)) {
    return FALSE;
  }
  gdi::DrawingSession session(destination);
  if (!session) {
    return FALSE;
  }
  const CairoSurfacePtr pixels = sourceSurface == destination->surface.get()
                                     ? CopyArea(sourceSurface, sx, sy, widthSource, heightSource)
                                     : CairoSurfacePtr(cairo_surface_create_for_rectangle(
                                           sourceSurface, sx, sy, widthSource, heightSource));
  cairo_t* cr = session.cairo();
  cairo_rectangle(cr, xDest, yDest, widthDest, heightDest);
  cairo_clip(cr);
  cairo_translate(cr, xDest, yDest);
  const bool stretched = widthDest != widthSource || heightDest != heightSource;
  if (stretched) {
    cairo_scale(cr, static_cast<double>(widthDest) / widthSource,
                static_cast<double>(heightDest) / heightSource);
  }
  cairo_set_source_surface(cr, pixels.get(), 0, 0);
  cairo_pattern_t* pattern = cairo_get_source(cr);
  cairo_pattern_set_filter(pattern, stretched ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_paint_with_alpha(cr, blend.SourceConstantAlpha / 255.0);
  return TRUE;
}

// Filled rectangles and rounded rectangles.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "platform/Gdi.h"
#include "platform/GdiInternal.h"

namespace {

// A rectangle with elliptic corners of radii rx, ry, as a closed Cairo path.
void RoundedRectanglePath(cairo_t* cr, double x0, double y0, double x1, double y1, double rx,
                          double ry) {
  if (rx <= 0 || ry <= 0) {
    cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
    return;
  }
  constexpr double pi = std::numbers::pi;
  auto corner = [&](double cx, double cy, double from, double to) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, from, to);
    cairo_restore(cr);
  };
  cairo_new_sub_path(cr);
  corner(x1 - rx, y0 + ry, -pi / 2, 0);
  corner(x1 - rx, y1 - ry, 0, pi / 2);
  corner(x0 + rx, y1 - ry, pi / 2, pi);
  corner(x0 + rx, y0 + ry, pi, 3 * pi / 2);
  cairo_close_path(cr);
}

}  // namespace

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  COLORREF color;
  if (!rect || !gdi::BrushColor(brush, &color)) {
    return 0;
  }
  gdi::DrawingSession session(hdc);
  if (!session) {
    return 0;
  }
  if (rect->right > rect->left && rect->bottom > rect->top) {
    cairo_t* cr = session.cairo();
    cairo_rectangle(cr, rect->left, rect->top, static_cast<double>(rect->right) - rect->left,
                    static_cast<double>(rect->bottom) - rect->top);
    gdi::SetSourceColor(cr, color);
    cairo_fill(cr);
  }
  return 1;
}

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height) {
  gdi::DrawingSession session(hdc);
  if (!session) {
    return FALSE;
  }
  if (left > right) {
    std::swap(left, right);
  }
  if (top > bottom) {
    std::swap(top, bottom);
  }
  if (right - left < 1 || bottom - top < 1) {
    return TRUE;
  }
  // The outline runs through the centres of the outermost pixels, so a one-pixel pen covers
  // exactly the columns left .. right - 1 and the rows top .. bottom - 1.
  const double x0 = left + 0.5;
  const double y0 = top + 0.5;
  const double x1 = right - 0.5;
  const double y1 = bottom - 0.5;
  const double rx = std::min(std::abs(width) / 2.0, (x1 - x0) / 2);
  const double ry = std::min(std::abs(height) / 2.0, (y1 - y0) / 2);
  cairo_t* cr = session.cairo();
  RoundedRectanglePath(cr, x0, y0, x1, y1, rx, ry);
  const GdiBrush* brush = hdc->brush;
  const GdiPen* pen = hdc->pen;
  if (!brush->null) {
    gdi::SetSourceColor(cr, brush->color);
    cairo_fill_preserve(cr);
  }
  if (!pen->null) {
    gdi::SetSourceColor(cr, pen->color);
    cairo_set_line_width(cr, pen->width);
    cairo_stroke(cr);
  }
  return TRUE;
}

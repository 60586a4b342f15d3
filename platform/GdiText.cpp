// DrawTextW through Pango: every script shaped, missing glyphs taken from any installed font.
#include <fontconfig/fontconfig.h>
#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "platform/CairoPtr.h"
#include "platform/DisplayMetrics.h"
#include "platform/Gdi.h"
#include "platform/GdiInternal.h"
#include "platform/Mutex.h"
#include "platform/PangoPtr.h"
#include "platform/Utf8.h"

namespace {

// The one text face of the window system, in points, so that it keeps its size on the screen
// at any density: at 192 pixels per inch it is 24 pixels high, well inside a 40-pixel line.
constexpr const char* kDefaultFont = "Sans 9";

// Pango's font maps and contexts are not safe to share between threads, and drawing runs on the
// UI thread anyway: one context serves every thread, one thread at a time, under textMutex.
Mutex textMutex;

// A font map on the process's fontconfig set-up, initialised here on the calling thread: a font
// map left to itself initialises fontconfig on a thread of its own, synchronised in a way the
// thread sanitizer cannot see.
PangoFontMap* MakeFontMap() {
  FcInit();
  PangoFontMap* fontMap = pango_cairo_font_map_new();
  pango_fc_font_map_set_config(PANGO_FC_FONT_MAP(fontMap), FcConfigGetCurrent());
  return fontMap;
}

PangoContext* SharedPangoContext() REQUIRES(textMutex) {
  static PangoFontMap* fontMap = MakeFontMap();
  static PangoContextPtr context = [] {
    PangoContextPtr created(pango_font_map_create_context(fontMap));
    const CairoFontOptionsPtr options(cairo_font_options_create());
    cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(created.get(), options.get());
    const PangoFontDescriptionPtr font(pango_font_description_from_string(kDefaultFont));
    pango_context_set_font_description(created.get(), font.get());
    // Paragraphs run left to right whatever their script, so that a left-aligned name in Arabic
    // or Hebrew starts at the rectangle's left; each run is still shaped and ordered by its own
    // direction.
    pango_context_set_base_dir(created.get(), PANGO_DIRECTION_LTR);
    return created;
  }();
  return context.get();
}

std::string TextForLayout(LPCWSTR text, int count, UINT format) {
  const std::size_t length = count < 0 ? std::wcslen(text) : static_cast<std::size_t>(count);
  std::string utf8 = WideToUtf8({text, length});
  if (format & DT_SINGLELINE) {
    std::replace_if(
        utf8.begin(), utf8.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  }
  return utf8;
}

PangoLayoutPtr MakeLayout(cairo_t* cr, const std::string& text, const RECT& rect, UINT format)
    REQUIRES(textMutex) {
  PangoContext* context = SharedPangoContext();
  pango_cairo_context_set_resolution(context, CurrentDisplay().dpi);
  pango_cairo_update_context(cr, context);
  PangoLayoutPtr layout(pango_layout_new(context));
  pango_layout_set_auto_dir(layout.get(), FALSE);
  pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
  PangoAlignment alignment = PANGO_ALIGN_LEFT;
  if (format & DT_CENTER) {
    alignment = PANGO_ALIGN_CENTER;
  } else if (format & DT_RIGHT) {
    alignment = PANGO_ALIGN_RIGHT;
  }
  pango_layout_set_alignment(layout.get(), alignment);
  if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
    pango_layout_set_width(layout.get(), std::max<LONG>(rect.right - rect.left, 0) * PANGO_SCALE);
    pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD);
  }
  return layout;
}

// Where the layout's top-left corner goes so that it sits in `rect` as the format asks.
POINT LayoutPosition(PangoLayout* layout, const RECT& rect, UINT format) {
  int width, height;
  pango_layout_get_pixel_size(layout, &width, &height);
  POINT at{rect.left, rect.top};
  if (pango_layout_get_width(layout) < 0) {
    // Unwrapped lines are aligned among themselves; place the whole block in the rectangle.
    const LONG spare = rect.right - rect.left - width;
    if (format & DT_CENTER) {
      at.x += spare / 2;
    } else if (format & DT_RIGHT) {
      at.x += spare;
    }
  }
  if (format & DT_SINGLELINE) {
    const LONG spare = rect.bottom - rect.top - height;
    if (format & DT_VCENTER) {
      at.y += spare / 2;
    } else if (format & DT_BOTTOM) {
      at.y += spare;
    }
  }
  return at;
}

void FillLineBackgrounds(cairo_t* cr, PangoLayout* layout, POINT at, COLORREF color) {
  const PangoLayoutIterPtr iter(pango_layout_get_iter(layout));
  do {
    PangoRectangle line;
    pango_layout_iter_get_line_extents(iter.get(), nullptr, &line);
    pango_extents_to_pixels(&line, nullptr);
    cairo_rectangle(cr, at.x + line.x, at.y + line.y, line.width, line.height);
  } while (pango_layout_iter_next_line(iter.get()));
  gdi::SetSourceColor(cr, color);
  cairo_fill(cr);
}

}  // namespace

int DrawTextW(HDC hdc, LPCWSTR text, int count, RECT* rect, UINT format) {
  if (!text || !rect || count == 0 || !gdi::IsLiveContext(hdc)) {
    return 0;
  }
  const std::string utf8 = TextForLayout(text, count, format);
  if (format & DT_CALCRECT) {
    // Measuring needs no pixels: lay out on a scratch surface.
    const CairoSurfacePtr scratch(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1));
    const CairoPtr cr(cairo_create(scratch.get()));
    int width, height;
    {
      MutexLock lock(textMutex);
      PangoLayoutPtr layout = MakeLayout(cr.get(), utf8, *rect, format);
      pango_layout_get_pixel_size(layout.get(), &width, &height);
    }
    rect->right = rect->left + width;
    rect->bottom = rect->top + height;
    return height;
  }
  gdi::DrawingSession session(hdc);  // outlives the lock: its end presents what was drawn
  if (!session) {
    return 0;
  }
  cairo_t* cr = session.cairo();
  MutexLock lock(textMutex);
  PangoLayoutPtr layout = MakeLayout(cr, utf8, *rect, format);
  const POINT at = LayoutPosition(layout.get(), *rect, format);
  if (!(format & DT_NOCLIP)) {
    cairo_rectangle(cr, rect->left, rect->top, static_cast<double>(rect->right) - rect->left,
                    static_cast<double>(rect->bottom) - rect->top);
    cairo_clip(cr);
  }
  if (hdc->backgroundMode == OPAQUE) {
    FillLineBackgrounds(cr, layout.get(), at, hdc->backgroundColor);
  }
  gdi::SetSourceColor(cr, hdc->textColor);
  cairo_move_to(cr, at.x, at.y);
  pango_cairo_show_layout(cr, layout.get());
  int height;
  pango_layout_get_pixel_size(layout.get(), nullptr, &height);
  return static_cast<int>(at.y - rect->top) + height;
}

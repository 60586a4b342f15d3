// Owners of Cairo's objects: each releases its one reference when it goes. A handle given to
// another owner on purpose leaves its wrapper through release().
#pragma once

#include <cairo.h>

#include <memory>

struct CairoDestroy {
  void operator()(cairo_t* cr) const noexcept { cairo_destroy(cr); }
  void operator()(cairo_surface_t* surface) const noexcept { cairo_surface_destroy(surface); }
  void operator()(cairo_region_t* region) const noexcept { cairo_region_destroy(region); }
  void operator()(cairo_font_options_t* options) const noexcept {
    cairo_font_options_destroy(options);
  }
};

using CairoPtr = std::unique_ptr<cairo_t, CairoDestroy>;
using CairoSurfacePtr = std::unique_ptr<cairo_surface_t, CairoDestroy>;
using CairoRegionPtr = std::unique_ptr<cairo_region_t, CairoDestroy>;
using CairoFontOptionsPtr = std::unique_ptr<cairo_font_options_t, CairoDestroy>;

// Owners of Pango's objects: contexts and layouts are GLib objects, released by unreference.
#pragma once

#include <pango/pango.h>

#include <memory>

struct PangoRelease {
  void operator()(PangoContext* context) const noexcept { g_object_unref(context); }
  void operator()(PangoLayout* layout) const noexcept { g_object_unref(layout); }
  void operator()(PangoLayoutIter* iter) const noexcept { pango_layout_iter_free(iter); }
  void operator()(PangoFontDescription* font) const noexcept { pango_font_description_free(font); }
};

using PangoContextPtr = std::unique_ptr<PangoContext, PangoRelease>;
using PangoLayoutPtr = std::unique_ptr<PangoLayout, PangoRelease>;
using PangoLayoutIterPtr = std::unique_ptr<PangoLayoutIter, PangoRelease>;
using PangoFontDescriptionPtr = std::unique_ptr<PangoFontDescription, PangoRelease>;

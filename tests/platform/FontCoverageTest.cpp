// Station names come in every script: the fonts installed with the player draw each of these
// without the boxes that stand for a missing glyph.
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

namespace {

// The face the window system draws text with.
constexpr char kTextFont[] = "Sans 9";

int MissingGlyphs(const char* utf8) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(surface);
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string(kTextFont);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_text(layout, utf8, -1);
  const int missing = pango_layout_get_unknown_glyphs_count(layout);
  pango_font_description_free(font);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return missing;
}

TEST(FontCoverage, StationNamesInManyScriptsHaveEveryGlyph) {
  for (const char* name : {"Radio Zürich Café", "Радио Рекорд", "Ελληνικό Ραδιόφωνο", "東京ラジオ",
                           "中文电台", "한국 라디오", "רדיו תל אביב", "راديو", "วิทยุ"}) {
    EXPECT_EQ(MissingGlyphs(name), 0) << name;
  }
}

}  // namespace

// Surfaces and pixel reading for the drawing tests.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>

#include "platform/DeviceContext.h"

#include <algorithm>
#include <cstdint>

// An opaque black ARGB32 surface.
inline cairo_surface_t* BlackSurface(int width, int height) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  cairo_destroy(cr);
  return surface;
}

struct Pixel {
  int r, g, b, a;
};

inline Pixel PixelAt(cairo_surface_t* surface, int x, int y) {
  cairo_surface_flush(surface);
  const unsigned char* row =
      cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
  std::uint32_t v;
  __builtin_memcpy(&v, row + 4 * x, 4);
  return {static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
          static_cast<int>(v & 0xFF), static_cast<int>(v >> 24)};
}

inline bool operator==(const Pixel& a, const Pixel& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

#include <ostream>

inline void PrintTo(const Pixel& p, std::ostream* os) {
  *os << "rgba(" << p.r << ", " << p.g << ", " << p.b << ", " << p.a << ")";
}

constexpr Pixel kBlack{0, 0, 0, 255};

// The bounding box of every pixel of `surface` that is not opaque black; empty (right <= left)
// when there is none.
struct InkBox {
  int left, top, right, bottom;
  bool empty() const { return right <= left; }
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

inline InkBox FindInk(cairo_surface_t* surface) {
  InkBox box{1 << 30, 1 << 30, -1, -1};
  const int w = cairo_image_surface_get_width(surface);
  const int h = cairo_image_surface_get_height(surface);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (!(PixelAt(surface, x, y) == kBlack)) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
    }
  }
  if (box.right < 0) {
    return {0, 0, 0, 0};
  }
  return box;
}

// A test that draws through a DC onto a black surface of Width x Height.
template <int Width, int Height>
class SurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    surface_ = BlackSurface(Width, Height);
    hdc_ = CreateSurfaceDC(surface_, {0, 0}, nullptr);
  }
  void TearDown() override {
    DestroySurfaceDC(hdc_);
    cairo_surface_destroy(surface_);
  }
  Pixel At(int x, int y) { return PixelAt(surface_, x, y); }

  cairo_surface_t* surface_ = nullptr;
  HDC hdc_ = nullptr;
};

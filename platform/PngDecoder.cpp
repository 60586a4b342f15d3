// PNG through libpng's simplified interface, which reports every error as a result.
#include <png.h>

#include <cstring>

#include "platform/ImageDecoders.h"

namespace image {

namespace {

// libpng hands out straight alpha; Cairo wants it premultiplied.
void Premultiply(unsigned char* data, int width, int height, int stride) {
  for (int y = 0; y < height; ++y) {
    unsigned char* p = data + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = 0; x < width; ++x, p += 4) {
      const unsigned alpha = p[3];
      if (alpha != 255) {
        for (int c = 0; c < 3; ++c) {
          p[c] = static_cast<unsigned char>((p[c] * alpha + 127) / 255);
        }
      }
    }
  }
}

}  // namespace

CairoSurfacePtr DecodePng(std::string_view bytes) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
    return nullptr;
  }
  if (!AcceptableSize(png.width, png.height)) {
    png_image_free(&png);
    return nullptr;
  }
  // Blue, green, red, alpha in memory is Cairo's ARGB32 on a little-endian machine.
  png.format = PNG_FORMAT_BGRA;
  const int width = static_cast<int>(png.width);
  const int height = static_cast<int>(png.height);
  CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
    png_image_free(&png);
    return nullptr;
  }
  unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  if (!png_image_finish_read(&png, nullptr, data, stride, nullptr)) {
    png_image_free(&png);
    return nullptr;
  }
  Premultiply(data, width, height, stride);
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

}  // namespace image

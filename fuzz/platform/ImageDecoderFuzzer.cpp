// Image files from the network (covers) go through these decoders: any bytes must give an image
// of an acceptable size or nothing.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/ImageDecoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const CairoSurfacePtr surfaces[] = {image::DecodePng(bytes), image::DecodeJpeg(bytes, 50, 50)};
  for (const CairoSurfacePtr& surface : surfaces) {
    if (surface && !image::AcceptableSize(cairo_image_surface_get_width(surface.get()),
                                          cairo_image_surface_get_height(surface.get()))) {
      __builtin_trap();
    }
  }
  return 0;
}

// Image files from the network (covers, station logos) go through these decoders: any bytes must
// give an image of an acceptable size or nothing, at every size the program draws them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/ImageDecoders.h"

namespace {

// The strip's thumbnail, a row's logo square at 96 and 192 dpi, the now-playing view.
constexpr int kDrawnSizes[][2] = {{50, 52}, {32, 32}, {64, 64}, {480, 560}};

void CheckSize(const CairoSurfacePtr& surface) {
  if (surface && !image::AcceptableSize(cairo_image_surface_get_width(surface.get()),
                                        cairo_image_surface_get_height(surface.get()))) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckSize(image::DecodePng(bytes));
  for (const auto& drawn : kDrawnSizes) {
    CheckSize(image::DecodeJpeg(bytes, drawn[0], drawn[1]));
  }
  return 0;
}

// JPEG through libjpeg-turbo, scaled down in the decoder when it is drawn much smaller.
#include <csetjmp>
#include <cstdio>

// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

#include "platform/ImageDecoders.h"

namespace image {

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf escape;
  bool truncated;
};

[[noreturn]] void OnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void OnMessage(j_common_ptr info, int level) {
  // A file that ends early is decoded with grey filling the rest; count it as unreadable.
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
    reinterpret_cast<ErrorManager*>(info->err)->truncated = true;
  }
}

void Silent(j_common_ptr) {}

// A progressive file may hold any number of scans; real ones have a dozen.
constexpr int kMaxScans = 256;

void OnProgress(j_common_ptr common) {
  auto* info = reinterpret_cast<j_decompress_ptr>(common);
  if (info->input_scan_number > kMaxScans) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
  }
}

// The largest reduction 1/2, 1/4 or 1/8 that keeps the image at least as large as drawn.
unsigned int ScaleDenominator(unsigned int width, unsigned int height, int wantWidth,
                              int wantHeight) {
  unsigned int denominator = 1;
  while (denominator < 8) {
    const unsigned int next = denominator * 2;
    if ((width + next - 1) / next < static_cast<unsigned int>(wantWidth) ||
        (height + next - 1) / next < static_cast<unsigned int>(wantHeight)) {
      break;
    }
    denominator = next;
  }
  return denominator;
}

// Turns a row of CMYK pixels, as the decoder gives them, into opaque Cairo pixels in place.
// Files with an Adobe marker (nearly all CMYK files) store the inks inverted.
void CmykRowToBgra(unsigned char* row, unsigned int width, bool inverted) {
  for (unsigned int x = 0; x < width; ++x, row += 4) {
    unsigned int c = row[0], m = row[1], y = row[2], k = row[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    row[0] = static_cast<unsigned char>((y * k + 127) / 255);
    row[1] = static_cast<unsigned char>((m * k + 127) / 255);
    row[2] = static_cast<unsigned char>((c * k + 127) / 255);
    row[3] = 255;
  }
}

}  // namespace

CairoSurfacePtr DecodeJpeg(std::string_view bytes, int wantWidth, int wantHeight) {
  jpeg_decompress_struct info{};  // zeroed, so destroying it before it was created is harmless
  ErrorManager errors;
  jpeg_progress_mgr progress{};
  progress.progress_monitor = OnProgress;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnError;
  errors.base.emit_message = OnMessage;
  errors.base.output_message = Silent;
  errors.truncated = false;
  // Set between setjmp and a possible longjmp: volatile keeps its value across the jump, which
  // an owning wrapper would not, so it is released by hand there and wrapped at the end.
  cairo_surface_t* volatile surface = nullptr;
  if (setjmp(errors.escape)) {
    jpeg_destroy_decompress(&info);
    if (surface) {
      cairo_surface_destroy(surface);
    }
    return nullptr;
  }
  jpeg_create_decompress(&info);
  info.progress = &progress;
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (!AcceptableSize(info.image_width, info.image_height)) {
    jpeg_destroy_decompress(&info);
    return nullptr;
  }
  // Blue, green, red, 0xFF in memory is an opaque Cairo ARGB32 pixel on a little-endian machine;
  // CMYK, which the decoder cannot turn into that, is converted row by row below.
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  info.scale_num = 1;
  info.scale_denom = ScaleDenominator(info.image_width, info.image_height, wantWidth, wantHeight);
  jpeg_start_decompress(&info);
  surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(info.output_width),
                                       static_cast<int>(info.output_height));
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    std::longjmp(errors.escape, 1);
  }
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = data + static_cast<std::ptrdiff_t>(info.output_scanline) * stride;
    if (jpeg_read_scanlines(&info, &row, 1) == 1 && cmyk) {
      CmykRowToBgra(row, info.output_width, info.saw_Adobe_marker);
    }
  }
  if (errors.truncated) {
    std::longjmp(errors.escape, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  cairo_surface_mark_dirty(surface);
  return CairoSurfacePtr(surface);
}

}  // namespace image

// Decoding PNG and JPEG files into Cairo surfaces, for Image.cpp. Every limit that keeps a bad
// file from costing unbounded memory or time is here.
#pragma once

#include <string>
#include <string_view>

#include "platform/CairoPtr.h"

namespace image {

constexpr std::size_t kMaxFileBytes = 32 * 1024 * 1024;
constexpr int kMaxSide = 16384;
constexpr long long kMaxPixels = 32LL * 1024 * 1024;

// True when an image of this size may be decoded.
inline bool AcceptableSize(long long width, long long height) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
         width * height <= kMaxPixels;
}

// Each returns a new ARGB32 surface (premultiplied) or null when the bytes are not a complete,
// readable image of an acceptable size. `wantWidth` x `wantHeight` is the size it will be drawn
// at: a decoder may return a smaller image than the file's, never smaller than that.
CairoSurfacePtr DecodePng(std::string_view bytes);
CairoSurfacePtr DecodeJpeg(std::string_view bytes, int wantWidth, int wantHeight);

// Reads the file at `path` (UTF-8) and decodes it by its content, whatever its name says.
CairoSurfacePtr DecodeImageFile(const std::string& path, int wantWidth, int wantHeight);

}  // namespace image

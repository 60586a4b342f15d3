// Decoded images kept for the next paint: a list's rows and the now-playing view draw the same
// logos and cover again and again, and decoding a file each time costs far more than drawing it.
#pragma once

#include <cstddef>
#include <string>

#include "platform/CairoPtr.h"

namespace image {

// Decoded images are kept up to this many bytes of pixels, the least recently drawn dropped first.
constexpr std::size_t kCacheBytes = 2 * 1024 * 1024;

// The file's image, decoded for drawing at `wantWidth` x `wantHeight` (see DecodeImageFile), or
// null when it has none. Taken from the cache while the file is the one decoded then (same
// inode, size and modification time), so a file written anew is decoded anew. Any thread.
CairoSurfacePtr CachedImageFile(const std::string& path, int wantWidth, int wantHeight);

}  // namespace image

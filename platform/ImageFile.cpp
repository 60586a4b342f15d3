// Reading an image file, within a size limit, and choosing its decoder by its first bytes.
#include <cstdio>
#include <memory>

#include "platform/ImageDecoders.h"

namespace image {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// The whole file, or false when it cannot be read or is larger than kMaxFileBytes.
bool ReadWholeFile(const std::string& path, std::string* contents) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    return false;
  }
  contents->clear();
  char chunk[64 * 1024];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
    if (contents->size() + got > kMaxFileBytes) {
      return false;
    }
    contents->append(chunk, got);
  }
  return !std::ferror(file.get());
}

}  // namespace

CairoSurfacePtr DecodeImageFile(const std::string& path, int wantWidth, int wantHeight) {
  std::string bytes;
  if (!ReadWholeFile(path, &bytes)) {
    return nullptr;
  }
  const std::string_view view(bytes);
  if (view.starts_with("\x89PNG\r\n\x1a\n")) {
    return DecodePng(view);
  }
  if (view.starts_with("\xFF\xD8\xFF")) {
    return DecodeJpeg(view, wantWidth, wantHeight);
  }
  return nullptr;
}

}  // namespace image

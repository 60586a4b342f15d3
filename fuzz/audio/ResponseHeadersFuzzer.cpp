// The input is split into header lines at every '\n', as the connection hands them over.
#include "audio/ResponseHeaders.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  audio::ResponseHeaders headers;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end == std::string_view::npos ? text.size() : end + 1);
    text.remove_prefix(line.size());
    if (!headers.AddLine(line)) {
      break;
    }
  }
  std::string block = headers.Block();
  if (block.size() < 1 || block.back() != '\0' || headers.Metaint() > audio::kMaxMetaint) {
    std::abort();
  }
  (void)headers.StatusCode();
  (void)headers.Bitrate();
  (void)headers.IsIcy();
  return 0;
}

#include "playback/BufferProgress.h"

namespace {

constexpr std::uint64_t engineError = ~std::uint64_t{0};

}  // namespace

std::optional<int> BufferProgress(std::uint64_t buffered, std::uint64_t total) {
  if (buffered == engineError || total == engineError) {
    return std::nullopt;
  }
  if (total == 0) {
    return 0;
  }
  if (buffered >= total) {
    return 100;
  }
  // In 128 bits, buffered * 100 cannot overflow whatever the engine reports.
  return static_cast<int>(static_cast<unsigned __int128>(buffered) * 100 / total);
}

#include "playback/CoverSource.h"

#include <algorithm>

std::optional<http::Limits> LookupDeadline::LimitsWithin(const http::Limits& base) const {
  using std::chrono::milliseconds;
  const long left = static_cast<long>(
      std::chrono::duration_cast<milliseconds>(end_ - std::chrono::steady_clock::now()).count());
  if (left <= 0) {
    return std::nullopt;
  }
  http::Limits limits = base;
  limits.connectTimeoutMs = std::min(limits.connectTimeoutMs, left);
  limits.totalTimeoutMs = limits.totalTimeoutMs > 0 ? std::min(limits.totalTimeoutMs, left) : left;
  return limits;
}

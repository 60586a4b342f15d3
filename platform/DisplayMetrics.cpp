#include "platform/DisplayMetrics.h"

#include <mutex>

namespace {

std::mutex metricsMutex;
DisplayMetrics current{480, 640, 192};

}  // namespace

DisplayMetrics CurrentDisplay() {
  std::lock_guard lock(metricsMutex);
  return current;
}

void SetCurrentDisplay(const DisplayMetrics& metrics) {
  std::lock_guard lock(metricsMutex);
  if (metrics.width > 0) {
    current.width = metrics.width;
  }
  if (metrics.height > 0) {
    current.height = metrics.height;
  }
  if (metrics.dpi > 0) {
    current.dpi = metrics.dpi;
  }
}

#include "platform/DisplayMetrics.h"

#include "platform/Mutex.h"

namespace {

Mutex metricsMutex;
DisplayMetrics current GUARDED_BY(metricsMutex){480, 640, 192};

}  // namespace

DisplayMetrics CurrentDisplay() {
  MutexLock lock(metricsMutex);
  return current;
}

void SetCurrentDisplay(const DisplayMetrics& metrics) {
  MutexLock lock(metricsMutex);
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

#include "playback/RequestPacer.h"

#include <thread>

bool RequestPacer::WaitTurn(Clock::time_point deadline) {
  MutexLock lock(mutex_);
  if (used_) {
    const Clock::time_point next = last_ + interval_;
    if (next > deadline) {
      return false;
    }
    std::this_thread::sleep_until(next);
  }
  last_ = Clock::now();
  used_ = true;
  return true;
}

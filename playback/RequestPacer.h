// Keeps requests to one service at least an interval apart, across lookups, as a service that
// allows one request per second asks.
#pragma once

#include <chrono>

#include "platform/Mutex.h"

class RequestPacer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit RequestPacer(Clock::duration interval) : interval_(interval) {}

  // Waits until the interval since the last request has passed and counts the caller's request
  // as made now. Returns false at once, counting nothing, when that wait would end after
  // `deadline`. Any thread; callers wait in turn.
  bool WaitTurn(Clock::time_point deadline);

 private:
  const Clock::duration interval_;
  Mutex mutex_;
  Clock::time_point last_ GUARDED_BY(mutex_){};
  bool used_ GUARDED_BY(mutex_) = false;
};

#include "audio/LiveConnection.h"

#include <algorithm>

namespace audio {

LiveConnection::LiveConnection(OpenedSource& opened, const SourceOptions& options)
    : connection_(std::move(opened.connection)), options_(options) {
  addresses_.push_back(opened.url);
  addresses_.insert(addresses_.end(), opened.alternatives.begin(), opened.alternatives.end());
  options_.cancelled = &cancelled_;
}

void LiveConnection::Cancel() noexcept {
  {
    MutexLock hold(lock_);
    cancelled_ = true;
    connection_->Wake();
  }
  cancelWake_.NotifyAll();
}

bool LiveConnection::Reconnect(Backoff& backoff, OpenedSource& found) {
  for (;;) {
    std::optional<Backoff::Clock::duration> wait = backoff.NextWait(Backoff::Clock::now());
    if (!wait || !Wait(*wait)) {
      return false;
    }
    if (TryRound(found)) {
      MutexLock hold(lock_);
      connection_ = std::move(found.connection);
      return true;
    }
    if (addresses_.empty() || cancelled_) {
      return false;
    }
  }
}

bool LiveConnection::TryRound(OpenedSource& found) {
  for (auto address = addresses_.begin(); address != addresses_.end();) {
    found = OpenedSource{};
    Failure failure = OpenSource(*address, options_, found);
    if (failure == Failure::None) {
      // The next drop asks first where the stream was found this time.
      std::rotate(addresses_.begin(), address, address + 1);
      return true;
    }
    if (failure == Failure::Stopped) {
      return false;
    }
    // The station refuses us there or is gone from there: asking again cannot help.
    address = failure == Failure::Refused ? addresses_.erase(address) : address + 1;
  }
  return false;
}

bool LiveConnection::Wait(Backoff::Clock::duration time) {
  const auto until = Backoff::Clock::now() + time;
  MutexLock hold(lock_);
  while (!cancelled_ && cancelWake_.WaitUntil(lock_, until)) {
  }
  return !cancelled_;
}

}  // namespace audio

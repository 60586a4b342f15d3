#include "audio/LiveConnection.h"

#include <algorithm>
#include <utility>

namespace audio {

LiveConnection::LiveConnection(OpenedSource& opened, const SourceOptions& options, NetworkLink link)
    : connection_(std::move(opened.connection)), link_(link), options_(options) {
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

void LiveConnection::NetworkChanged(NetworkLink link) {
  {
    MutexLock hold(lock_);
    if (link == link_) {
      return;
    }
    linkCameUp_ = linkCameUp_ || link == NetworkLink::Up || link_ == NetworkLink::Down;
    link_ = link;
  }
  cancelWake_.NotifyAll();
}

bool LiveConnection::Reconnect(Backoff& backoff, OpenedSource& found) {
  for (;;) {
    std::optional<Backoff::Clock::duration> wait = backoff.NextWait(Backoff::Clock::now());
    if (!wait) {
      return false;
    }
    const WaitEnd end = Wait(*wait, backoff);
    if (end == WaitEnd::Cancelled) {
      return false;
    }
    if (end == WaitEnd::NetworkBack) {
      continue;  // the schedule starts again: the next wait is none
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

LiveConnection::WaitEnd LiveConnection::Wait(Backoff::Clock::duration time, Backoff& backoff) {
  const auto until = Backoff::Clock::now() + time;
  MutexLock hold(lock_);
  if (link_ == NetworkLink::Down) {
    return SitOutNoNetwork(backoff);
  }
  while (!cancelled_ && cancelWake_.WaitUntil(lock_, until)) {
    if (link_ == NetworkLink::Down) {
      return SitOutNoNetwork(backoff);
    }
    if (std::exchange(linkCameUp_, false)) {
      backoff.NetworkBack(Backoff::Clock::now(), Backoff::Clock::duration::zero());
      return WaitEnd::NetworkBack;
    }
  }
  return cancelled_ ? WaitEnd::Cancelled : WaitEnd::TimeUp;
}

LiveConnection::WaitEnd LiveConnection::SitOutNoNetwork(Backoff& backoff) {
  const auto since = Backoff::Clock::now();
  // No time-out: nothing wakes until the network or the stream changes.
  while (!cancelled_ && link_ == NetworkLink::Down) {
    cancelWake_.Wait(lock_);
  }
  if (cancelled_) {
    return WaitEnd::Cancelled;
  }
  linkCameUp_ = false;
  const auto now = Backoff::Clock::now();
  backoff.NetworkBack(now, now - since);
  return WaitEnd::NetworkBack;
}

}  // namespace audio

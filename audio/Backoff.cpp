#include "audio/Backoff.h"

#include <algorithm>
#include <array>

namespace audio {

namespace {

using std::chrono::seconds;

constexpr std::array<seconds, 7> kWaits = {seconds(0), seconds(1),  seconds(2), seconds(4),
                                           seconds(8), seconds(15), seconds(30)};

}  // namespace

void Backoff::Dropped(Clock::time_point connectedAt, Clock::time_point now) noexcept {
  if (!firstDrop_ || now - connectedAt >= kSteadyPlay) {
    firstDrop_ = now;
    step_ = 0;
    planned_ = Clock::duration::zero();
  }
}

std::optional<Backoff::Clock::duration> Backoff::NextWait(Clock::time_point now) noexcept {
  const Clock::time_point start = firstDrop_.value_or(now);
  const seconds wait = kWaits[std::min(step_, kWaits.size() - 1)];
  // The tries keep to the schedule's times, however long each took, but never go on past the
  // budget.
  if (planned_ + wait > budget_ || now - start > budget_) {
    return std::nullopt;
  }
  planned_ += wait;
  ++step_;
  return wait;
}

void Backoff::NetworkBack(Clock::time_point now, Clock::duration without) noexcept {
  if (firstDrop_) {
    *firstDrop_ += without;
    planned_ = now - *firstDrop_;
  }
  step_ = 0;
}

}  // namespace audio

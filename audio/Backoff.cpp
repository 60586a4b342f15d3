#include "audio/Backoff.h"

#include <algorithm>
#include <array>

namespace audio {

namespace {

// In units of the schedule.
constexpr std::array<int, 7> kWaits = {0, 1, 2, 4, 8, 15, 30};

}  // namespace

void Backoff::Dropped(Clock::time_point connectedAt, Clock::time_point now) noexcept {
  if (!firstDrop_ || now - connectedAt >= kSteadyPlayUnits * unit_) {
    firstDrop_ = now;
    step_ = 0;
    planned_ = Clock::duration::zero();
  }
}

std::optional<Backoff::Clock::duration> Backoff::NextWait(Clock::time_point now) noexcept {
  const Clock::time_point start = firstDrop_.value_or(now);
  const Clock::duration wait = kWaits[std::min(step_, kWaits.size() - 1)] * unit_;
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

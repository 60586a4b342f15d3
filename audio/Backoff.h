// When to try again after a live stream has dropped: at once, then after 1, 2, 4, 8, 15 and
// then every 30 seconds, until the tries have gone on for the budget. A connection that played
// for 30 seconds before it dropped starts the schedule anew, and so does a network that comes
// back. Every time of the schedule is counted in a unit, a second unless the engine is told
// otherwise. One thread owns it.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>

namespace audio {

class Backoff {
 public:
  using Clock = std::chrono::steady_clock;

  explicit Backoff(std::chrono::milliseconds budget,
                   std::chrono::milliseconds unit = kDefaultUnit) noexcept
      : budget_(budget), unit_(unit) {}

  // The connection made at `connectedAt` dropped at `now`.
  void Dropped(Clock::time_point connectedAt, Clock::time_point now) noexcept;
  // The wait before the next try, after a drop or a failed try at `now`; nullopt once the
  // schedule would put that try past the budget, or the budget has passed.
  std::optional<Clock::duration> NextWait(Clock::time_point now) noexcept;
  // A network came back at `now` after there was none for `without`: that time does not count
  // against the budget, and the schedule starts again with a try at once.
  void NetworkBack(Clock::time_point now, Clock::duration without) noexcept;

  static constexpr std::chrono::milliseconds kDefaultUnit{1000};

 private:
  // Playing this many units shows the station is back for good.
  static constexpr int kSteadyPlayUnits = 30;

  std::chrono::milliseconds budget_;
  std::chrono::milliseconds unit_;
  std::optional<Clock::time_point> firstDrop_;  // of the drops since the schedule began
  std::size_t step_ = 0;
  Clock::duration planned_{};  // when the last try was due, after the first drop
};

}  // namespace audio

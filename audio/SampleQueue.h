// Decoded stereo samples at the output's rate on their way to the output, and how far the
// output has got in them. The decode thread fills it in large steps; the output takes a period
// at a time and, before it starts and after running dry, waits until it is nearly full.
#pragma once

#include "audio/Ring.h"
#include "platform/Mutex.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace audio {

// Where the output is, as of the period it took last.
struct PlayPosition {
  std::uint64_t framesPlayed = 0;
  // That period: its first frame, and when it began to be heard.
  std::uint64_t periodFirstFrame = 0;
  std::chrono::steady_clock::time_point periodStart;
  bool stalled = false;  // the queue ran dry before decoding ended
  bool drained = false;  // decoding ended and every sample went to the output
};

class SampleQueue {
 public:
  struct Period {
    std::size_t frames;  // given to the output
    PlayPosition position;
  };

  explicit SampleQueue(std::size_t capacity);  // in samples

  // Decode thread: blocks for room; returns at once once stopped.
  void Push(const std::vector<std::int16_t>& samples) EXCLUDES(lock_);
  void EndDecoding() EXCLUDES(lock_);

  // Output thread: mixes up to `frames` stereo frames into `mix`, a period that begins to be
  // heard at `now`; nothing when the stream does not play or waits to fill again.
  std::optional<Period> Render(std::int32_t* mix, std::size_t frames,
                               std::chrono::steady_clock::time_point now) EXCLUDES(lock_);

  void Play() EXCLUDES(lock_);
  void Stop() EXCLUDES(lock_);

 private:
  // Whether the output, having just taken a period of `frames`, wakes the decoder: only once less
  // than two such periods are left, so the decoder refills in as few steps as the queue allows
  // and still has a whole period's time for it. The room left then is more than the decoder ever
  // waits for (a quarter of a queue of several periods), so it cannot miss that wake-up.
  bool RefillDue(std::size_t frames) const REQUIRES(lock_) { return samples_.Size() < frames * 2; }

  Mutex lock_;
  Condition roomMade_;  // decode thread
  Ring<std::int16_t> samples_ GUARDED_BY(lock_);
  PlayPosition position_ GUARDED_BY(lock_);
  bool waitingToFill_ GUARDED_BY(lock_) = true;
  bool decodeEnded_ GUARDED_BY(lock_) = false;
  bool playing_ GUARDED_BY(lock_) = false;
  bool stopped_ GUARDED_BY(lock_) = false;
  std::vector<std::int16_t> scratch_;  // output thread only
};

}  // namespace audio

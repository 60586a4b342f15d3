// Which segment of a live or finished HLS media playlist to fetch next, and when to load the
// playlist again: a live list starts three target durations back from its newest segment,
// every segment is fetched once and in order, and a list is reloaded one target duration after
// it last brought something new (half of one when it did not). One thread owns it.
#pragma once

#include "audio/HlsPlaylist.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>

namespace audio {

class HlsSchedule {
 public:
  using Clock = std::chrono::steady_clock;

  // `first` was loaded at `loadedAt`.
  HlsSchedule(const MediaPlaylist& first, Clock::time_point loadedAt);

  // The next segment to fetch; none until a reload brings more. A segment after a gap in the
  // sequence (segments gone before we fetched them, or the list started over) is marked as a
  // discontinuity.
  std::optional<HlsSegment> Next();
  // A segment that could not be fetched is skipped: decoding starts afresh after it.
  void Skipped() noexcept { gap_ = true; }
  // The playlist loaded again; its load began at `loadStarted`.
  void Reloaded(const MediaPlaylist& list, Clock::time_point loadStarted);

  Clock::time_point ReloadAt() const noexcept { return reloadAt_; }
  // The list has ended and every segment has been handed out.
  bool Finished() const noexcept { return ended_ && queue_.empty(); }

 private:
  // Queues `list`'s segments from three target durations before its end.
  void StartNearLiveEdge(const MediaPlaylist& list, bool afterGap);
  void Queue(const HlsSegment& segment, bool afterGap);

  std::deque<HlsSegment> queue_;
  std::uint64_t nextSequence_ = 0;  // of the first segment not yet queued
  bool gap_ = false;                // the segment before the next one was skipped
  bool ended_ = false;
  Clock::duration target_;
  Clock::time_point reloadAt_;
};

}  // namespace audio

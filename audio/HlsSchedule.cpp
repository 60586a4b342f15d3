#include "audio/HlsSchedule.h"

namespace audio {

namespace {

constexpr double kLiveStartTargets = 3;

}  // namespace

HlsSchedule::HlsSchedule(const MediaPlaylist& first, Clock::time_point loadedAt)
    : ended_(first.ended),
      target_(std::chrono::duration_cast<Clock::duration>(
          std::chrono::duration<double>(first.targetSeconds))),
      reloadAt_(loadedAt + target_) {
  if (first.ended) {
    for (const HlsSegment& segment : first.segments) {
      Queue(segment, false);
    }
  } else {
    StartNearLiveEdge(first, false);
  }
}

void HlsSchedule::StartNearLiveEdge(const MediaPlaylist& list, bool afterGap) {
  std::size_t start = list.segments.size();
  double seconds = 0;
  while (start > 0 && seconds < kLiveStartTargets * list.targetSeconds) {
    --start;
    seconds += list.segments[start].seconds;
  }
  for (std::size_t i = start; i < list.segments.size(); ++i) {
    Queue(list.segments[i], afterGap && i == start);
  }
}

void HlsSchedule::Queue(const HlsSegment& segment, bool afterGap) {
  queue_.push_back(segment);
  queue_.back().discontinuity = segment.discontinuity || afterGap;
  nextSequence_ = segment.sequence + 1;
}

std::optional<HlsSegment> HlsSchedule::Next() {
  if (queue_.empty()) {
    return std::nullopt;
  }
  HlsSegment segment = std::move(queue_.front());
  queue_.pop_front();
  segment.discontinuity = segment.discontinuity || gap_;
  gap_ = false;
  return segment;
}

void HlsSchedule::Reloaded(const MediaPlaylist& list, Clock::time_point loadStarted) {
  ended_ = list.ended;
  bool changed = false;
  if (!list.segments.empty() && list.segments.back().sequence + 1 < nextSequence_) {
    // The list started over with lower numbers: join it afresh.
    StartNearLiveEdge(list, true);
    changed = true;
  } else {
    for (const HlsSegment& segment : list.segments) {
      if (segment.sequence < nextSequence_) {
        continue;
      }
      Queue(segment, segment.sequence > nextSequence_);  // past it: segments went by unheard
      changed = true;
    }
  }
  reloadAt_ = loadStarted + (changed ? target_ : target_ / 2);
}

}  // namespace audio

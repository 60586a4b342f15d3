#include "audio/SampleQueue.h"

#include <algorithm>

namespace audio {

SampleQueue::SampleQueue(std::size_t capacity) : samples_(capacity) {}

void SampleQueue::Push(const std::vector<std::int16_t>& samples) {
  MutexLock hold(lock_);
  std::size_t done = 0;
  while (done < samples.size()) {
    // Refill in larger steps than the output takes, to wake up less often.
    const std::size_t wanted = std::min(samples.size() - done, samples_.Capacity() / 4);
    while (!stopped_ && samples_.Space() < wanted) {
      roomMade_.Wait(lock_);
    }
    if (stopped_) {
      return;
    }
    done += samples_.Write(samples.data() + done, samples.size() - done);
  }
}

void SampleQueue::EndDecoding() {
  MutexLock hold(lock_);
  decodeEnded_ = true;
}

std::optional<SampleQueue::Period> SampleQueue::Render(std::int32_t* mix, std::size_t frames,
                                                       std::chrono::steady_clock::time_point now) {
  Period period{};
  bool refill = false;
  {
    MutexLock hold(lock_);
    if (!playing_ || stopped_) {
      return std::nullopt;
    }
    if (waitingToFill_) {
      // Before the first period and after running dry, wait for a nearly full queue so
      // playback does not stutter. (The decoder refills in quarters of the queue, so "full"
      // might never come exactly.)
      if (samples_.Space() >= samples_.Capacity() / 4 && !decodeEnded_) {
        return std::nullopt;
      }
      waitingToFill_ = false;
      position_.stalled = false;
    }
    position_.periodFirstFrame = position_.framesPlayed;
    position_.periodStart = now;
    scratch_.resize(frames * 2);
    const std::size_t got = samples_.Read(scratch_.data(), frames * 2);
    for (std::size_t i = 0; i < got; ++i) {
      mix[i] += scratch_[i];
    }
    position_.framesPlayed += got / 2;
    if (got < frames * 2 && !decodeEnded_) {
      position_.stalled = true;
      waitingToFill_ = true;
    }
    refill = RefillDue(frames);
    period = {got / 2, position_};
    period.position.drained = decodeEnded_ && samples_.Size() == 0;
  }
  if (refill) {
    roomMade_.NotifyOne();
  }
  return period;
}

void SampleQueue::Play() {
  MutexLock hold(lock_);
  playing_ = !stopped_;
}

void SampleQueue::Stop() {
  {
    MutexLock hold(lock_);
    stopped_ = true;
    playing_ = false;
  }
  roomMade_.NotifyAll();
}

}  // namespace audio

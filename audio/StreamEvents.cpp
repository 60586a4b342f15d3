// The event thread: makes metadata and Ogg comments current when their audio is played, calls
// the syncs for them and for stalls of the output, and ends the stream once everything
// downloaded has been played.
#include "audio/Stream.h"

#include <algorithm>

namespace audio {

using Clock = std::chrono::steady_clock;

Clock::time_point Stream::HeardAt(std::uint64_t frame) const {
  if (frame <= periodFirstFrame_) {
    return periodStart_;
  }
  const auto micros = (frame - periodFirstFrame_) * 1000000 /
                      static_cast<std::uint64_t>(std::max(settings_.outputRate, 1L));
  return periodStart_ + std::chrono::microseconds(micros);
}

bool Stream::EventRendered() const {
  return playing_ && !timeline_.empty() && timeline_.front().frame <= framesPlayed_;
}

bool Stream::EventDue(Clock::time_point now) const {
  return EventRendered() && HeardAt(timeline_.front().frame) <= now;
}

bool Stream::StallDue() const {
  return playing_ && !ended_ && stalled_ != stallAnnounced_;
}

bool Stream::EndReached() const {
  return playing_ && !ended_ && decodeEnded_ && downloadEnded_ && samples_.Size() == 0;
}

bool Stream::EndDue(Clock::time_point now) const {
  return EndReached() && !EventRendered() && HeardAt(framesPlayed_) <= now;
}

Clock::time_point Stream::NextHeard() const {
  if (EventRendered()) {
    return HeardAt(timeline_.front().frame);
  }
  return EndReached() ? HeardAt(framesPlayed_) : Clock::time_point::max();
}

void Stream::EventThread() {
  std::unique_lock<std::mutex> hold(lock_);
  for (;;) {
    // Nothing rendered yet: wait until something is, then wait for the time it is heard.
    if (const Clock::time_point heard = NextHeard(); heard == Clock::time_point::max()) {
      eventReady_.wait(hold, [this] {
        return stopping_ || StallDue() || NextHeard() != Clock::time_point::max();
      });
    } else {
      eventReady_.wait_until(hold, heard, [this] {
        const Clock::time_point now = Clock::now();
        return stopping_ || StallDue() || EventDue(now) || EndDue(now);
      });
    }
    if (stopping_) {
      return;
    }
    if (StallDue()) {
      stallAnnounced_ = stalled_;
      FireSyncs(hold, BASS_SYNC_STALL, stallAnnounced_ ? 0 : 1);
    }
    while (EventDue(Clock::now()) && !stopping_) {
      Event e = std::move(timeline_.front());
      timeline_.pop_front();
      const int k = static_cast<int>(e.kind);
      const DWORD type = e.kind == EventKind::Meta ? BASS_SYNC_META : BASS_SYNC_OGG_CHANGE;
      bool sameText =
          e.kind == EventKind::Meta && current_[k].serial != 0 && current_[k].text == e.text;
      bool announce = e.serial != announced_[k] && !sameText;
      current_[k] = std::move(e);
      if (announce) {
        FireSyncs(hold, type);
      }
    }
    if (EndDue(Clock::now())) {
      ended_ = true;
      FireSyncs(hold, BASS_SYNC_END);
      if (stopping_) {
        return;
      }
      if ((settings_.flags & BASS_STREAM_AUTOFREE) != 0 && settings_.onAutoFree) {
        hold.unlock();
        settings_.onAutoFree(settings_.handle);
      }
      return;
    }
  }
}

void Stream::FireSyncs(std::unique_lock<std::mutex>& hold, DWORD type, DWORD data) {
  std::vector<Sync> matching;
  for (const Sync& s : syncs_) {
    if (s.type == type) {
      matching.push_back(s);
    }
  }
  for (const Sync& s : matching) {
    CallOut(hold, [&] { s.proc(s.handle, settings_.handle, data, s.user); });
  }
}

}  // namespace audio

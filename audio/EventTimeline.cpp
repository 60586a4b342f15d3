#include "audio/EventTimeline.h"

#include <algorithm>

namespace audio {

void EventTimeline::AddSync(const Sync& sync) {
  MutexLock hold(lock_);
  syncs_.push_back(sync);
}

void EventTimeline::Add(std::vector<Event> events) {
  bool wake = false;
  {
    MutexLock hold(lock_);
    for (Event& e : events) {
      timeline_.push_back(std::move(e));
    }
    wake = EventRendered();
  }
  if (wake) {
    changed_.NotifyOne();
  }
}

void EventTimeline::Rendered(const PlayPosition& position) {
  bool wake = false;
  {
    MutexLock hold(lock_);
    position_ = position;
    wake = SomethingToDo();
  }
  if (wake) {
    changed_.NotifyOne();
  }
}

void EventTimeline::ConnectionLost() {
  bool wake = false;
  {
    MutexLock hold(lock_);
    if (position_.stalled && stallAnnounced_) {
      // Silent already (the server had stopped sending): told again, now that the connection
      // is gone.
      stallAnnounced_ = false;
      wake = true;
    }
  }
  if (wake) {
    changed_.NotifyOne();
  }
}

void EventTimeline::DownloadEnded() {
  {
    MutexLock hold(lock_);
    downloadEnded_ = true;
  }
  changed_.NotifyOne();
}

void EventTimeline::Play() {
  {
    MutexLock hold(lock_);
    playing_ = !stopped_;
  }
  changed_.NotifyOne();
}

void EventTimeline::Stop() {
  {
    MutexLock hold(lock_);
    stopped_ = true;
    playing_ = false;
  }
  changed_.NotifyAll();
}

EventTimeline::Clock::time_point EventTimeline::HeardAt(std::uint64_t frame) const {
  if (frame <= position_.periodFirstFrame) {
    return position_.periodStart;
  }
  const auto micros = (frame - position_.periodFirstFrame) * 1000000 /
                      static_cast<std::uint64_t>(outputRate_.load());
  return position_.periodStart + std::chrono::microseconds(micros);
}

bool EventTimeline::EventRendered() const {
  return playing_ && !timeline_.empty() && timeline_.front().frame <= position_.framesPlayed;
}

bool EventTimeline::EventDue(Clock::time_point now) const {
  return EventRendered() && HeardAt(timeline_.front().frame) <= now;
}

bool EventTimeline::StallDue() const {
  return playing_ && !ended_ && position_.stalled != stallAnnounced_;
}

bool EventTimeline::EndReached() const {
  return playing_ && !ended_ && downloadEnded_ && position_.drained;
}

bool EventTimeline::EndDue(Clock::time_point now) const {
  return EndReached() && !EventRendered() && HeardAt(position_.framesPlayed) <= now;
}

bool EventTimeline::SomethingToDo() const {
  return EventRendered() || EndReached() || StallDue();
}

EventTimeline::Clock::time_point EventTimeline::NextHeard() const {
  if (EventRendered()) {
    return HeardAt(timeline_.front().frame);
  }
  return EndReached() ? HeardAt(position_.framesPlayed) : Clock::time_point::max();
}

EventTimeline::Due EventTimeline::Matching(DWORD type, DWORD data) const {
  Due due{type, data, {}};
  for (const Sync& s : syncs_) {
    if (s.type == type) {
      due.syncs.push_back(s);
    }
  }
  return due;
}

std::optional<EventTimeline::Due> EventTimeline::TakeDueLocked(Clock::time_point now) {
  if (stopped_ || ended_) {
    return std::nullopt;
  }
  if (StallDue()) {
    stallAnnounced_ = position_.stalled;
    return Matching(BASS_SYNC_STALL, stallAnnounced_ ? 0 : 1);
  }
  while (EventDue(now)) {
    Event e = std::move(timeline_.front());
    timeline_.pop_front();
    const int k = static_cast<int>(e.kind);
    const bool sameText =
        e.kind == Kind::Meta && current_[k].serial != 0 && current_[k].text == e.text;
    const bool announce = e.serial != announced_[k] && !sameText;
    current_[k] = std::move(e);
    if (announce) {
      return Matching(k == static_cast<int>(Kind::Meta) ? BASS_SYNC_META : BASS_SYNC_OGG_CHANGE);
    }
  }
  if (EndDue(now)) {
    ended_ = true;
    return Matching(BASS_SYNC_END);
  }
  return std::nullopt;
}

std::optional<EventTimeline::Due> EventTimeline::TakeDue(Clock::time_point now) {
  MutexLock hold(lock_);
  return TakeDueLocked(now);
}

std::optional<EventTimeline::Due> EventTimeline::WaitForDue() {
  MutexLock hold(lock_);
  while (!stopped_ && !ended_) {
    if (std::optional<Due> due = TakeDueLocked(Clock::now())) {
      return due;
    }
    // Nothing rendered yet: wait until something is, then wait for the time it is heard.
    if (const Clock::time_point heard = NextHeard(); heard == Clock::time_point::max()) {
      changed_.Wait(lock_);
    } else {
      changed_.WaitUntil(lock_, heard);
    }
  }
  return std::nullopt;
}

const char* EventTimeline::Keep(Kind kind, const std::string& text, std::uint64_t serial) {
  const int k = static_cast<int>(kind);
  if (kept_[k] == nullptr || text != kept_[k]) {
    kept_[k] = tagTexts_.Keep(text);
  }
  announced_[k] = serial;
  return kept_[k];
}

const char* EventTimeline::CurrentOrNext(Kind kind) {
  MutexLock hold(lock_);
  const int k = static_cast<int>(kind);
  if (current_[k].serial != 0) {
    return Keep(kind, current_[k].text, current_[k].serial);
  }
  auto next = std::find_if(timeline_.begin(), timeline_.end(),
                           [kind](const Event& e) { return e.kind == kind; });
  return next != timeline_.end() ? Keep(kind, next->text, next->serial) : nullptr;
}

const char* EventTimeline::Announce(Kind kind, const std::string& text, std::uint64_t serial) {
  MutexLock hold(lock_);
  return Keep(kind, text, serial);
}

}  // namespace audio

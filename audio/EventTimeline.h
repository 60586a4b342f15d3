// What a stream has to tell the program, at the time its audio is heard: metadata and Ogg
// comments that become current at a frame, stalls of the output, and the end. The decode thread
// adds events, the output reports where it has got to, and the event thread waits for what is
// due next and calls the syncs for it. It also hands out the tag texts.
#pragma once

#include "audio/AudioLibrary.h"
#include "audio/SampleQueue.h"
#include "audio/TagStore.h"
#include "platform/Mutex.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace audio {

class EventTimeline {
 public:
  using Clock = std::chrono::steady_clock;
  enum class Kind { Meta, OggChange };
  struct Event {  // due when this many frames have been played
    std::uint64_t frame;
    Kind kind;
    std::string text;
    std::uint64_t serial;
  };
  struct Sync {
    HSYNC handle;
    DWORD type;
    SYNCPROC* proc;
    void* user;
  };
  struct Due {  // syncs to call, of `type`, with `data`
    DWORD type;
    DWORD data;
    std::vector<Sync> syncs;
  };

  explicit EventTimeline(long outputRate) : outputRate_(std::max(outputRate, 1L)) {}
  // Decode thread, before the first samples: the rate they come out at.
  void SetRate(long rate) { outputRate_ = std::max(rate, 1L); }

  void AddSync(const Sync& sync) EXCLUDES(lock_);
  void Add(std::vector<Event> events) EXCLUDES(lock_);          // decode thread, in frame order
  void Rendered(const PlayPosition& position) EXCLUDES(lock_);  // output thread
  // Download thread: the connection is gone. A stall the program was told of while the server
  // had stopped sending is told again.
  void ConnectionLost() EXCLUDES(lock_);
  void DownloadEnded() EXCLUDES(lock_);
  void Play() EXCLUDES(lock_);
  void Stop() EXCLUDES(lock_);

  // What there is to tell at `now`, taken: in order, a stall or its end, the events whose audio
  // is heard by then (one whose text the program already has passes silently), the end.
  // Nothing when nothing is due, once stopped, and after the end.
  std::optional<Due> TakeDue(Clock::time_point now) EXCLUDES(lock_);
  // Event thread: waits for the next thing TakeDue would tell and takes it. Nothing once
  // stopped, and nothing more after the end.
  std::optional<Due> WaitForDue() EXCLUDES(lock_);

  // The text of the current event of that kind, else of the first one still to come; null when
  // there is none. The program is not called for that event when it comes.
  const char* CurrentOrNext(Kind kind) EXCLUDES(lock_);
  // As CurrentOrNext, for a text that has not yet reached the timeline.
  const char* Announce(Kind kind, const std::string& text, std::uint64_t serial) EXCLUDES(lock_);

 private:
  std::optional<Due> TakeDueLocked(Clock::time_point now) REQUIRES(lock_);
  // An event or the end is due when its frame is heard: the output takes a whole period at a
  // time, and frame F of the period that began with frame P at time T is heard at
  // T + (F - P) / rate, so the period's length does not delay or advance it.
  Clock::time_point HeardAt(std::uint64_t frame) const REQUIRES(lock_);
  bool EventRendered() const REQUIRES(lock_);  // the next event's frame went to the output
  bool EventDue(Clock::time_point now) const REQUIRES(lock_);
  bool EndReached() const REQUIRES(lock_);  // everything downloaded went to the output
  bool EndDue(Clock::time_point now) const REQUIRES(lock_);
  bool StallDue() const REQUIRES(lock_);  // the program has not been told of a stall or its end
  bool SomethingToDo() const REQUIRES(lock_);  // worth waking the event thread for
  // When the next rendered event or the end will be heard; max() when neither waits.
  Clock::time_point NextHeard() const REQUIRES(lock_);
  Due Matching(DWORD type, DWORD data = 0) const REQUIRES(lock_);
  const char* Keep(Kind kind, const std::string& text, std::uint64_t serial) REQUIRES(lock_);

  std::atomic<long> outputRate_;
  Mutex lock_;
  Condition changed_;  // event thread
  std::deque<Event> timeline_ GUARDED_BY(lock_);
  PlayPosition position_ GUARDED_BY(lock_);
  bool playing_ GUARDED_BY(lock_) = false;
  bool stopped_ GUARDED_BY(lock_) = false;
  bool downloadEnded_ GUARDED_BY(lock_) = false;
  bool ended_ GUARDED_BY(lock_) = false;
  bool stallAnnounced_ GUARDED_BY(lock_) = false;  // what the stall syncs last said
  std::vector<Sync> syncs_ GUARDED_BY(lock_);
  // By Kind. Serial 0: none yet.
  Event current_[2] GUARDED_BY(lock_) = {};
  std::uint64_t announced_[2] GUARDED_BY(lock_) = {};  // serial of the text last handed out
  const char* kept_[2] GUARDED_BY(lock_) = {};         // the text last handed out
  TagStore tagTexts_ GUARDED_BY(lock_);
};

}  // namespace audio

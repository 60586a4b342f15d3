// What the cover lookups of this run remember: the covers found for each track (or that there
// is none), the sources that asked to be left alone and until when, and a refused key. Only the
// cover worker uses it, one lookup at a time; the lock keeps the test API's reset safe.
#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <string>

#include "platform/Mutex.h"

enum class CoverSourceId { TrackInfo, Itunes, MusicBrainz };
inline constexpr int kCoverSourceCount = static_cast<int>(CoverSourceId::MusicBrainz) + 1;

class CoverMemory {
 public:
  using Clock = std::chrono::steady_clock;
  // How long a source that answered "too many" is left alone.
  static constexpr std::chrono::minutes kPause{10};
  // Covers kept for repeated tracks: at most this many, and this many bytes in all.
  static constexpr std::size_t kMaxCovers = 32;
  static constexpr std::size_t kMaxCoverBytes = std::size_t{16} << 20;

  // The cover bytes found for this artist and title in this run; an empty text when every
  // source was asked and none had one; nothing when the track was never settled.
  std::optional<std::string> Cover(const std::string& artist, const std::string& title);
  // Remembers the outcome for the track (empty bytes: no cover anywhere); the oldest go first.
  void Remember(const std::string& artist, const std::string& title, std::string cover);

  bool Paused(CoverSourceId source);
  void Pause(CoverSourceId source);

  bool KeyRefused();
  void RefuseKey();

  // Forgets everything. Test API: each test starts a fresh run.
  void Clear();

 private:
  struct Entry {
    std::string artist;  // UTF-8
    std::string title;
    std::string cover;
  };

  Mutex mutex_;
  std::deque<Entry> covers_ GUARDED_BY(mutex_);
  std::size_t coverBytes_ GUARDED_BY(mutex_) = 0;
  Clock::time_point pausedUntil_[kCoverSourceCount] GUARDED_BY(mutex_) = {};
  bool keyRefused_ GUARDED_BY(mutex_) = false;
};

extern CoverMemory coverMemory;

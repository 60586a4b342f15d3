#include "playback/CoverMemory.h"

#include <algorithm>

CoverMemory coverMemory;

std::optional<std::string> CoverMemory::Cover(const std::string& artist, const std::string& title) {
  MutexLock lock(mutex_);
  for (const Entry& entry : covers_) {
    if (entry.artist == artist && entry.title == title) {
      return entry.cover;
    }
  }
  return std::nullopt;
}

void CoverMemory::Remember(const std::string& artist, const std::string& title, std::string cover) {
  if (cover.size() > kMaxCoverBytes) {
    return;
  }
  MutexLock lock(mutex_);
  // A track is kept once: its older outcome makes way.
  const auto same = std::find_if(covers_.begin(), covers_.end(), [&](const Entry& entry) {
    return entry.artist == artist && entry.title == title;
  });
  if (same != covers_.end()) {
    coverBytes_ -= same->cover.size();
    covers_.erase(same);
  }
  while (!covers_.empty() &&
         (covers_.size() >= kMaxCovers || coverBytes_ + cover.size() > kMaxCoverBytes)) {
    coverBytes_ -= covers_.front().cover.size();
    covers_.pop_front();
  }
  coverBytes_ += cover.size();
  covers_.push_back({artist, title, std::move(cover)});
}

bool CoverMemory::Paused(CoverSourceId source) {
  MutexLock lock(mutex_);
  return Clock::now() < pausedUntil_[static_cast<int>(source)];
}

void CoverMemory::Pause(CoverSourceId source) {
  MutexLock lock(mutex_);
  pausedUntil_[static_cast<int>(source)] = Clock::now() + kPause;
}

bool CoverMemory::KeyRefused() {
  MutexLock lock(mutex_);
  return keyRefused_;
}

void CoverMemory::RefuseKey() {
  MutexLock lock(mutex_);
  keyRefused_ = true;
}

void CoverMemory::Clear() {
  MutexLock lock(mutex_);
  covers_.clear();
  coverBytes_ = 0;
  for (Clock::time_point& until : pausedUntil_) {
    until = {};
  }
  keyRefused_ = false;
}

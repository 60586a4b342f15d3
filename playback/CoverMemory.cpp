#include "playback/CoverMemory.h"

CoverMemory coverMemory;

std::optional<std::string> CoverMemory::Cover(const std::wstring& artist,
                                              const std::wstring& title) {
  std::lock_guard lock(mutex_);
  for (const Entry& entry : covers_) {
    if (entry.artist == artist && entry.title == title) {
      return entry.cover;
    }
  }
  return std::nullopt;
}

void CoverMemory::Remember(const std::wstring& artist, const std::wstring& title,
                           std::string cover) {
  if (cover.size() > kMaxCoverBytes) {
    return;
  }
  std::lock_guard lock(mutex_);
  std::erase_if(covers_, [&](const Entry& entry) {
    if (entry.artist != artist || entry.title != title) {
      return false;
    }
    coverBytes_ -= entry.cover.size();
    return true;
  });
  while (!covers_.empty() &&
         (covers_.size() >= kMaxCovers || coverBytes_ + cover.size() > kMaxCoverBytes)) {
    coverBytes_ -= covers_.front().cover.size();
    covers_.pop_front();
  }
  coverBytes_ += cover.size();
  covers_.push_back({artist, title, std::move(cover)});
}

bool CoverMemory::Paused(CoverSourceId source) {
  std::lock_guard lock(mutex_);
  return Clock::now() < pausedUntil_[static_cast<int>(source)];
}

void CoverMemory::Pause(CoverSourceId source) {
  std::lock_guard lock(mutex_);
  pausedUntil_[static_cast<int>(source)] = Clock::now() + kPause;
}

bool CoverMemory::KeyRefused() {
  std::lock_guard lock(mutex_);
  return keyRefused_;
}

void CoverMemory::RefuseKey() {
  std::lock_guard lock(mutex_);
  keyRefused_ = true;
}

void CoverMemory::Clear() {
  std::lock_guard lock(mutex_);
  covers_.clear();
  coverBytes_ = 0;
  for (Clock::time_point& until : pausedUntil_) {
    until = {};
  }
  keyRefused_ = false;
}

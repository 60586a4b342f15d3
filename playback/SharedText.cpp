#include "playback/SharedText.h"

void SharedText::Set(std::wstring_view text) {
  std::wstring copy(text.substr(0, kMaxTextCharacters));
  MutexLock lock(mutex_);
  text_.swap(copy);
}

std::wstring SharedText::Get() const {
  MutexLock lock(mutex_);
  return text_;
}

namespace {

std::wstring Cut(std::wstring_view text) {
  return std::wstring(text.substr(0, kMaxTextCharacters));
}

}  // namespace

void SharedTrack::Set(std::wstring_view artist, std::wstring_view title) {
  TrackTexts texts{Cut(artist), Cut(title)};
  MutexLock lock(mutex_);
  texts_.artistText.swap(texts.artistText);
  texts_.titleText.swap(texts.titleText);
}

void SharedTrack::SetArtist(std::wstring_view artist) {
  std::wstring text = Cut(artist);
  MutexLock lock(mutex_);
  texts_.artistText.swap(text);
}

TrackTexts SharedTrack::Get() const {
  MutexLock lock(mutex_);
  return texts_;
}

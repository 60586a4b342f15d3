// Texts shared between threads, read and written only as a whole, so that a reader never sees
// half of what another thread is writing.
#pragma once

#include <string>
#include <string_view>

#include "platform/Mutex.h"
#include "shell/TextBuffer.h"

class SharedText {
 public:
  // Replaces the text; anything beyond kMaxTextCharacters is cut. Any thread.
  void Set(std::wstring_view text);
  // A copy of the whole text as it stands. Any thread.
  std::wstring Get() const;

 private:
  mutable Mutex mutex_;
  std::wstring text_ GUARDED_BY(mutex_);
};

// The track now playing.
struct TrackTexts {
  std::wstring artistText;
  std::wstring titleText;
};

// Artist and title kept as one snapshot: a reader never pairs a new artist with the old title.
class SharedTrack {
 public:
  // Replaces both; each is cut to kMaxTextCharacters. Any thread.
  void Set(std::wstring_view artist, std::wstring_view title);
  // Replaces the artist only; the title keeps its value. Any thread.
  void SetArtist(std::wstring_view artist);
  // A copy of both as they stand. Any thread.
  TrackTexts Get() const;

 private:
  mutable Mutex mutex_;
  TrackTexts texts_ GUARDED_BY(mutex_);
};

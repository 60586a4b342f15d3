#include "playback/SharedText.h"

void SharedText::Set(std::wstring_view text) {
  std::wstring copy(text.substr(0, capacity - 1));
  std::lock_guard lock(mutex_);
  text_.swap(copy);
}

std::wstring SharedText::Get() const {
  std::lock_guard lock(mutex_);
  return text_;
}

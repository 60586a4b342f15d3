// A text shared between threads, read and written only as a whole, so that a reader never sees
// half of a text that another thread is writing.
#pragma once

#include <mutex>
#include <string>
#include <string_view>

class SharedText {
 public:
  // Room of the program's text buffers: 259 characters and a terminator.
  static constexpr std::size_t capacity = 260;

  // Replaces the text; anything beyond 259 characters is cut. Any thread.
  void Set(std::wstring_view text);
  // A copy of the whole text as it stands. Any thread.
  std::wstring Get() const;

 private:
  mutable std::mutex mutex_;
  std::wstring text_;
};

// Small ASCII text helpers for protocol text (headers, playlists, comments).
#pragma once

#include <string_view>

namespace audio {

inline char LowerAscii(char c) noexcept {
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

inline bool EqualsNoCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) {
      return false;
    }
  }
  return true;
}

inline bool StartsWithNoCase(std::string_view s, std::string_view prefix) noexcept {
  return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

inline std::string_view Trim(std::string_view s) noexcept {
  std::size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string_view::npos) {
    return {};
  }
  std::size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

}  // namespace audio

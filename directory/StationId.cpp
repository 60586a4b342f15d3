#include "directory/StationId.h"

#include <algorithm>
#include <cstddef>

namespace {

template <typename Char>
bool IsDecimalDigit(Char c) {
  return c >= '0' && c <= '9';
}

template <typename Char>
bool IsHexDigit(Char c) {
  return IsDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

template <typename Char>
bool HasUuidForm(std::basic_string_view<Char> id) {
  constexpr std::size_t kLength = 36;
  if (id.size() != kLength) {
    return false;
  }
  for (std::size_t i = 0; i < kLength; ++i) {
    const bool hyphenPlace = i == 8 || i == 13 || i == 18 || i == 23;
    if (hyphenPlace ? id[i] != '-' : !IsHexDigit(id[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool IsDirectoryStationId(std::wstring_view id) {
  return !id.empty() && std::all_of(id.begin(), id.end(), IsDecimalDigit<wchar_t>);
}

bool IsStationUuid(std::wstring_view id) {
  return HasUuidForm(id);
}

bool IsStationUuid(std::string_view id) {
  return HasUuidForm(id);
}

#pragma once

#include <string>

namespace enginetest {

inline std::wstring Wide(const std::string& ascii) {
  return std::wstring(ascii.begin(), ascii.end());
}

// The flags the program passes: wide address, headers to the callback, blocks, auto-free.
constexpr unsigned kProgramFlags = 0x80940000;

}  // namespace enginetest

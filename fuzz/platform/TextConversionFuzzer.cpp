// Stream metadata and response headers arrive as arbitrary bytes: converting them, and
// formatting the result, must stay inside the buffers and agree between sizing and converting.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 4096) {
    return 0;
  }
  const auto* bytes = reinterpret_cast<const char*>(data);
  for (UINT codePage : {CP_ACP, CP_UTF8}) {
    const int needed = MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), nullptr, 0);
    if (needed <= 0 || needed > static_cast<int>(size)) {
      __builtin_trap();
    }
    std::vector<wchar_t> wide(needed + 1, L'\0');
    if (MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), wide.data(), needed) !=
        needed) {
      __builtin_trap();
    }
    // Too small by one: fails without touching the last slot.
    wide[needed - 1] = L'#';
    if (needed > 1 && (MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), wide.data(),
                                           needed - 1) != 0 ||
                       wide[needed - 1] != L'#')) {
      __builtin_trap();
    }
    MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(size), wide.data(), needed);
    wchar_t line[260];
    wnsprintfW(line, 260, L"%s - %s", wide.data(), wide.data());
    const int back =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), needed, nullptr, 0, nullptr, nullptr);
    std::string utf8(back, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), needed, utf8.data(), back, nullptr, nullptr);
  }
  // The bytes as a format string: whatever it asks for, the arguments given are enough.
  std::wstring format(bytes, bytes + size);
  if (std::count(format.begin(), format.end(), L'%') > 32) {
    return 0;
  }
  format.push_back(L'\0');
  for (wchar_t& c : format) {
    if (c == L's' || c == L'S' || c == L'c' || c == L'C') {
      c = L'd';  // only integers are passed below
    }
  }
  wchar_t out[64];
  wnsprintfW(out, 64, format.c_str(), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18,
             19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32);
  return 0;
}

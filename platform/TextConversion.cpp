// MultiByteToWideChar and WideCharToMultiByte.
#include <climits>
#include <cstring>
#include <cwchar>
#include <string_view>

#include "platform/Text.h"
#include "platform/Utf8.h"

namespace {

// Windows-1252 bytes 0x80..0x9F; the five the code page leaves undefined map to the C1 control
// of the same value, as the original does.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

wchar_t FromWindows1252(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) {
    return static_cast<wchar_t>(kWindows1252High[byte - 0x80]);
  }
  return static_cast<wchar_t>(byte);
}

// Collects output characters, writing only those that fit and counting all of them.
template <typename Char>
class BoundedOutput {
 public:
  BoundedOutput(Char* buffer, int capacity) : buffer_(buffer), capacity_(capacity) {}
  void Put(Char c) {
    if (count_ < capacity_) {
      buffer_[count_] = c;
    }
    ++count_;
  }
  // The result of the call: the count for a sizing call, 0 when the buffer was too small.
  int Result() const {
    if (count_ > INT_MAX || (capacity_ != 0 && count_ > capacity_)) {
      return 0;
    }
    return static_cast<int>(count_);
  }

 private:
  Char* buffer_;
  long long capacity_;
  long long count_ = 0;
};

bool ValidCounts(const void* input, int inputCount, const void* output, int outputCount) {
  return input && inputCount != 0 && inputCount >= -1 && outputCount >= 0 &&
         (output || outputCount == 0);
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR bytes, int byteCount, LPWSTR wide,
                        int wideCount) {
  if (!ValidCounts(bytes, byteCount, wide, wideCount)) {
    return 0;
  }
  const std::string_view input(
      bytes, byteCount == -1 ? std::strlen(bytes) + 1 : static_cast<std::size_t>(byteCount));
  bool asUtf8;
  if (codePage == CP_UTF8) {
    asUtf8 = true;
  } else if (codePage == CP_ACP) {
    asUtf8 = IsValidUtf8(input);
  } else if (codePage == CP_WINDOWS_1252) {
    asUtf8 = false;
  } else {
    return 0;
  }
  BoundedOutput<wchar_t> out(wide, wideCount);
  if (!asUtf8) {
    for (char byte : input) {
      out.Put(FromWindows1252(static_cast<unsigned char>(byte)));
    }
    return out.Result();
  }
  std::string_view rest = input;
  while (!rest.empty()) {
    char32_t c;
    bool valid;
    rest.remove_prefix(utf8::DecodeOne(rest, &c, &valid));
    if (!valid && (flags & MB_ERR_INVALID_CHARS)) {
      return 0;
    }
    out.Put(static_cast<wchar_t>(c));
  }
  return out.Result();
}

int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR wide, int wideCount, LPSTR bytes,
                        int byteCount, LPCSTR defaultChar, BOOL* usedDefaultChar) {
  if (!ValidCounts(wide, wideCount, bytes, byteCount) ||
      (codePage != CP_UTF8 && codePage != CP_ACP) || defaultChar || usedDefaultChar) {
    return 0;
  }
  const std::wstring_view input(
      wide, wideCount == -1 ? std::wcslen(wide) + 1 : static_cast<std::size_t>(wideCount));
  BoundedOutput<char> out(bytes, byteCount);
  std::string encoded;
  for (wchar_t c : input) {
    encoded.clear();
    utf8::Append(encoded, static_cast<char32_t>(c));
    for (char byte : encoded) {
      out.Put(byte);
    }
  }
  return out.Result();
}

// Pattern and subject from one input: the bytes before the first NUL are the pattern, the rest
// the subject. Compiles, searches, then compiles and searches again with the roles swapped in
// the same record, and stops on any match that does not agree with its subject.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "regex/Regex.h"

namespace {

void Check(bool condition) {
  if (!condition) {
    __builtin_trap();
  }
}

void SearchAndCheck(Regex& re, const std::string& subject) {
  const char* start = subject.c_str();
  const std::size_t length = std::strlen(start);
  const int result = re.Execute(start);
  if (result < 0) {
    Check(re.MatchText() == nullptr);
    return;
  }
  Check(static_cast<std::size_t>(result) <= length);
  Check(re.groupStart[0] == start + result);
  const char* text = re.MatchText();
  Check(text != nullptr);
  Check(std::strlen(text) == static_cast<std::size_t>(re.MatchLength()));
  Check(std::memcmp(text, start + result, re.MatchLength()) == 0);
  for (int slot = 1; slot < kGroupSlots; ++slot) {
    const char* groupStart = re.groupStart[slot];
    const char* groupEnd = re.groupEnd[slot];
    Check((groupStart == nullptr) == (groupEnd == nullptr));
    if (groupStart) {
      Check(start <= groupStart && groupStart <= groupEnd && groupEnd <= start + length);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  const std::string pattern = input.substr(0, split);
  const std::string subject = split == std::string::npos ? std::string() : input.substr(split + 1);

  Regex re;
  re.Compile(pattern.c_str());
  SearchAndCheck(re, subject);
  re.Compile(subject.c_str());
  SearchAndCheck(re, pattern);
  return 0;
}

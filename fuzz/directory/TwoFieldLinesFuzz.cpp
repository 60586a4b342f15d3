// The genre and favourites line reader over any bytes: every row it gives keeps the format.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "directory/TwoFieldLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const TwoFields& row : ReadTwoFieldText(bytes)) {
    const bool wellFormed = !row.first.empty() && !row.second.empty() &&
                            row.first.find(L'|') == std::wstring::npos &&
                            row.first.find(L'\n') == std::wstring::npos &&
                            row.second.find(L'\n') == std::wstring::npos &&
                            row.first.size() + row.second.size() < kLineReadCharacters;
    if (!wellFormed) {
      std::abort();
    }
  }
  return 0;
}

#include "directory/StationName.h"

#include <algorithm>

#include "directory/WideText.h"

std::wstring StationNameShown(std::string_view utf8Name) {
  std::wstring name = WideFromUtf8(utf8Name);
  name.resize(std::min(name.size(), kMaxTextCharacters));
  const size_t hyphen = name.find(L'-');
  if (hyphen != std::wstring::npos) {
    name.resize(hyphen);
  }
  return name;
}

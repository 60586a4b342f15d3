#include "directory/StationName.h"

#include <algorithm>

#include "platform/Utf8.h"
#include "shell/TextBuffer.h"

std::wstring StationNameShown(std::string_view utf8Name) {
  std::wstring name = Utf8ToWide(utf8Name);
  name.resize(std::min(name.size(), kMaxTextCharacters));
  const size_t hyphen = name.find(L'-');
  if (hyphen != std::wstring::npos) {
    name.resize(hyphen);
  }
  return name;
}

#include "playback/TextAfterTag.h"

#include <cwchar>

void TextAfterTag(const WCHAR* source, WCHAR* destination) {
  const WCHAR* tagEnd = std::wcschr(source, L'>');
  if (tagEnd == nullptr) {
    destination[0] = L'\0';
    return;
  }
  const WCHAR* content = tagEnd + 1;
  std::wmemmove(destination, content, std::wcslen(content) + 1);
}

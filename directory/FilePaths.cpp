#include "directory/FilePaths.h"

#include <cstdio>

#include "directory/TextBuffer.h"
#include "platform/Utf8.h"

bool IsPlainFileName(std::wstring_view name) {
  if (name.empty() || name == L"." || name == L"..") {
    return false;
  }
  for (wchar_t c : name) {
    if (c == L'/' || c == L'\\' || c < 0x20 || c == 0x7F) {
      return false;
    }
  }
  return true;
}

std::optional<std::string> PathInFolder(std::wstring_view folder, std::wstring_view name) {
  if (!IsPlainFileName(name) || folder.size() + name.size() > kMaxTextCharacters) {
    return std::nullopt;
  }
  return WideToUtf8(folder) + WideToUtf8(name);
}

bool FileExists(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) {
    return false;
  }
  std::fclose(file);
  return true;
}

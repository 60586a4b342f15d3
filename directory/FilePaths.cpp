#include "directory/FilePaths.h"

#include "shell/TextBuffer.h"

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

std::optional<std::wstring> FileInFolder(std::wstring_view folder, std::wstring_view name) {
  if (!IsPlainFileName(name) || folder.size() + name.size() > kMaxTextCharacters) {
    return std::nullopt;
  }
  return std::wstring(folder) + std::wstring(name);
}

#include "directory/FavouriteEntry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/Utf8.h"
#include "shell/TextBuffer.h"

namespace {

std::wstring OneLine(std::wstring_view text) {
  std::wstring line(text.substr(0, kMaxTextCharacters));
  std::replace_if(
      line.begin(), line.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }, L' ');
  return line;
}

}  // namespace

std::optional<std::string> FavouriteEntry(std::wstring_view id, std::wstring_view name) {
  const std::wstring idLine = OneLine(id);
  const std::wstring nameLine = OneLine(name);
  if (idLine.empty() || nameLine.empty() || idLine.find(L'|') != std::wstring::npos) {
    return std::nullopt;
  }
  return "\r\n" + WideToUtf8(idLine) + "|" + WideToUtf8(nameLine);
}

bool AppendWhole(const std::string& path, std::string_view bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    return false;
  }
  struct stat before {};
  const bool sized = fstat(fd, &before) == 0;
  const ssize_t written = write(fd, bytes.data(), bytes.size());
  const bool whole = written == static_cast<ssize_t>(bytes.size());
  if (!whole && written > 0 && sized) {
    [[maybe_unused]] const bool takenBack = ftruncate(fd, before.st_size) == 0;
  }
  return (close(fd) == 0) && whole;
}

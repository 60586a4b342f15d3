#include "playback/FolderFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "directory/FilePaths.h"
#include "platform/Utf8.h"

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

}  // namespace

bool ReplaceFolderFile(std::wstring_view folder, std::wstring_view name, std::string_view bytes) {
  const std::optional<std::wstring> destination = FileInFolder(folder, name);
  if (!destination) {
    return false;
  }
  std::string temporary = WideToUtf8(folder) + ".write-XXXXXX";
  const int fd = mkstemp(temporary.data());
  if (fd < 0) {
    return false;
  }
  fchmod(fd, 0644);
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) {
    close(fd);
    unlink(temporary.c_str());
    return false;
  }
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = std::fclose(file) == 0 && written;
  if (written && std::rename(temporary.c_str(), WideToUtf8(*destination).c_str()) == 0) {
    return true;
  }
  unlink(temporary.c_str());
  return false;
}

std::optional<std::string> ReadFolderFile(std::wstring_view folder, std::wstring_view name,
                                          std::size_t maxBytes) {
  const std::optional<std::wstring> path = FileInFolder(folder, name);
  if (!path) {
    return std::nullopt;
  }
  const File file(std::fopen(WideToUtf8(*path).c_str(), "rb"), &std::fclose);
  if (!file) {
    return std::nullopt;
  }
  std::string bytes;
  char chunk[16384];
  std::size_t count = 0;
  while ((count = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
    if (bytes.size() + count > maxBytes) {
      return std::nullopt;
    }
    bytes.append(chunk, count);
  }
  return std::ferror(file.get()) ? std::nullopt : std::optional<std::string>(std::move(bytes));
}

#include "playback/FolderFile.h"

#include <cstdio>
#include <memory>

#include "directory/FilePaths.h"
#include "platform/TemporaryFile.h"
#include "platform/Utf8.h"

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

}  // namespace

bool ReplaceFolderFile(std::wstring_view folder, std::wstring_view name, std::string_view bytes) {
  const std::optional<std::wstring> destination = FileInFolder(folder, name);
  if (!destination) {
    return false;
  }
  TemporaryFile written(WideToUtf8(folder) + ".write-");
  return written.file() != nullptr &&
         std::fwrite(bytes.data(), 1, bytes.size(), written.file()) == bytes.size() &&
         written.PutInPlace(WideToUtf8(*destination));
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

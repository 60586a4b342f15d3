#include "directory/LogoFetch.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>

#include "directory/Download.h"
#include "directory/FilePaths.h"
#include "directory/LogoRules.h"
#include "platform/Utf8.h"

namespace {

// True when the file starts as a PNG or a JPEG does, the two formats the program draws.
bool IsDrawableImage(const std::string& path) {
  char head[8] = {};
  std::ifstream file(path, std::ios::binary);
  file.read(head, sizeof head);
  const std::string_view start(head, static_cast<std::size_t>(file.gcount()));
  return start.starts_with("\x89PNG\r\n\x1a\n") || start.starts_with("\xFF\xD8\xFF");
}

void MarkFailure(std::wstring_view folder, std::wstring_view uuid) {
  std::ofstream(WideToUtf8(LogoFailureMark(folder, uuid)), std::ios::trunc);
}

}  // namespace

bool FetchLogo(std::wstring_view folder, std::wstring_view uuid, const std::string& address,
               const http::Limits& limits) {
  std::error_code error;
  std::filesystem::create_directories(WideToUtf8(LogoFolder(folder)), error);
  // The uuid came from the network: it must name a plain file of the logo folder.
  const std::optional<std::wstring> arrivedPath =
      FileInFolder(LogoFolder(folder), std::wstring(uuid) + L".new");
  if (!arrivedPath) {
    return false;
  }
  const std::string arrived = WideToUtf8(*arrivedPath);
  const bool whole = http::FetchToFile(address, arrived, kAgentName, limits);
  if (!whole || !IsDrawableImage(arrived) ||
      std::rename(arrived.c_str(), WideToUtf8(LogoFile(folder, uuid)).c_str()) != 0) {
    std::filesystem::remove(arrived, error);
    MarkFailure(folder, uuid);
    return false;
  }
  std::filesystem::remove(WideToUtf8(LogoFailureMark(folder, uuid)), error);
  return true;
}

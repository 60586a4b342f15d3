#include "directory/Download.h"

#include <optional>
#include <string>

#include "directory/FilePaths.h"
#include "directory/WebClient.h"
#include "platform/Utf8.h"
#include "shell/TextBuffer.h"

http::Limits DownloadLimits() {
  http::Limits limits;
  limits.maxBodyBytes = kMaxDownloadBytes;
  limits.acceptCompressed = true;  // station lists are large and plain text
  return limits;
}

int DownloadToFile(WebClient& client, LPCWSTR name, const std::string& address,
                   const http::Limits& limits, bool* answered) {
  const std::optional<std::wstring> destination = FileInFolder(client.folder, name);
  // Counted in characters, as the program's address buffers hold them.
  if (!destination || address.empty() || CodePointCount(address) > kMaxTextCharacters) {
    return 1;
  }
  return http::FetchToFile(address, WideToUtf8(*destination), kAgentName, limits, answered) ? 0 : 1;
}

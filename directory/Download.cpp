#include "directory/Download.h"

#include <cstdio>
#include <optional>
#include <string>

#include "directory/FilePaths.h"
#include "directory/TemporaryFile.h"
#include "platform/Utf8.h"
#include "shell/TextBuffer.h"

namespace {

struct BodySink {
  std::FILE* file;
  curl_off_t written = 0;
  curl_off_t cap;
  bool failed = false;
};

size_t WriteBody(char* data, size_t size, size_t count, void* target) {
  BodySink& sink = *static_cast<BodySink*>(target);
  const size_t bytes = size * count;
  if (sink.written + static_cast<curl_off_t>(bytes) > sink.cap ||
      std::fwrite(data, 1, bytes, sink.file) != bytes) {
    sink.failed = true;
    return 0;  // ends the transfer
  }
  sink.written += static_cast<curl_off_t>(bytes);
  return bytes;
}

// Runs the transfer into `file`; true when the whole body arrived with a 2xx status.
bool FetchWhole(const std::string& address, std::FILE* file, const http::Limits& limits) {
  http::EasyHandle handle(address, kAgentName, limits);
  if (handle.get() == nullptr) {
    return false;
  }
  BodySink sink{file, 0, limits.maxBodyBytes > 0 ? limits.maxBodyBytes : kMaxDownloadBytes};
  handle.Set(CURLOPT_WRITEFUNCTION, WriteBody);
  handle.Set(CURLOPT_WRITEDATA, &sink);
  const CURLcode result = handle.Perform();
  long status = 0;
  curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &status);
  return result == CURLE_OK && !sink.failed && status >= 200 && status <= 299;
}

}  // namespace

http::Limits DownloadLimits() {
  http::Limits limits;
  limits.maxBodyBytes = kMaxDownloadBytes;
  return limits;
}

int DownloadIntoFolder(std::wstring_view folder, std::wstring_view name, std::wstring_view address,
                       const http::Limits& limits) {
  const std::optional<std::wstring> destination = FileInFolder(folder, name);
  if (!destination || address.empty() || address.size() > kMaxTextCharacters) {
    return 1;
  }
  TemporaryFile body(WideToUtf8(folder) + ".download-");
  const bool whole = body.file() != nullptr && FetchWhole(WideToUtf8(address), body.file(), limits);
  return whole && body.PutInPlace(WideToUtf8(*destination)) ? 0 : 1;
}

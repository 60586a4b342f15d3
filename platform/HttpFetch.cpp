#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>

#include "platform/HttpClient.h"
#include "platform/TemporaryFile.h"

namespace http {
namespace {

// Where a body goes: memory or a file, never past its cap.
struct BodySink {
  std::string* memory = nullptr;
  std::FILE* file = nullptr;
  std::int64_t cap = kMaxFetchBytes;
  std::int64_t written = 0;
  bool failed = false;
};

size_t WriteBody(char* data, size_t size, size_t count, void* target) {
  BodySink& sink = *static_cast<BodySink*>(target);
  const size_t bytes = size * count;
  if (sink.written + static_cast<std::int64_t>(bytes) > sink.cap ||
      (sink.file != nullptr && std::fwrite(data, 1, bytes, sink.file) != bytes)) {
    sink.failed = true;
    return 0;  // ends the transfer
  }
  if (sink.memory != nullptr) {
    sink.memory->append(data, bytes);
  }
  sink.written += static_cast<std::int64_t>(bytes);
  return bytes;
}

// Runs the transfer into `sink`. The status of the last response, 0 without one; `whole` tells
// whether the body arrived whole within its cap.
long Transfer(const std::string& url, std::string_view agent, const Limits& limits, BodySink& sink,
              bool& whole) {
  whole = false;
  EasyHandle handle(url, agent, limits);
  if (handle.get() == nullptr) {
    return 0;
  }
  sink.cap = limits.maxBodyBytes > 0 ? limits.maxBodyBytes : kMaxFetchBytes;
  handle.Set(CURLOPT_WRITEFUNCTION, WriteBody);
  handle.Set(CURLOPT_WRITEDATA, &sink);
  const CURLcode result = handle.Perform();
  long status = 0;
  curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &status);
  whole = result == CURLE_OK && !sink.failed;
  return status;
}

long ToLong(std::chrono::milliseconds duration) {
  return static_cast<long>(std::clamp<std::chrono::milliseconds::rep>(
      duration.count(), 0, std::numeric_limits<long>::max()));
}

}  // namespace

std::optional<Limits> Within(Limits limits, Clock::time_point deadline,
                             std::chrono::milliseconds patience) {
  const long left =
      ToLong(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()));
  if (left <= 0) {
    return std::nullopt;
  }
  const long wait = ToLong(patience);
  limits.connectTimeoutMs = std::min({limits.connectTimeoutMs, wait, left});
  limits.stallTimeoutMs = std::min(limits.stallTimeoutMs, wait);
  limits.totalTimeoutMs = limits.totalTimeoutMs > 0 ? std::min(limits.totalTimeoutMs, left) : left;
  return limits;
}

Reply Fetch(const std::string& url, std::string_view agent, const Limits& limits) {
  Reply reply;
  BodySink sink{.memory = &reply.body};
  reply.status = Transfer(url, agent, limits, sink, reply.arrived);
  return reply;
}

bool FetchToFile(const std::string& url, const std::string& path, std::string_view agent,
                 const Limits& limits, bool* answered) {
  TemporaryFile body(path.substr(0, path.rfind('/') + 1) + ".download-");
  if (body.file() == nullptr) {
    return false;
  }
  BodySink sink{.file = body.file()};
  bool whole = false;
  const long status = Transfer(url, agent, limits, sink, whole);
  if (answered != nullptr) {
    *answered = status != 0;
  }
  return whole && status >= 200 && status <= 299 && body.PutInPlace(path);
}

}  // namespace http

#include "platform/HttpClient.h"

#include <mutex>
#include <string>
#include <utility>

#include "platform/HttpTestSettings.h"

namespace http {
namespace {

constexpr long kMaxRedirects = 8;

// Built once, never freed: every handle of the process may point at them until exit.
struct SharedLists {
  // Exactly this line counts as 200. A bare "ICY" alias would match by prefix and turn
  // "ICY 401" into success.
  curl_slist* statusAliases = nullptr;
  curl_slist* noCacheHeaders = nullptr;
};

const SharedLists& Shared() {
  static const SharedLists lists = [] {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    SharedLists built;
    built.statusAliases = curl_slist_append(nullptr, "ICY 200 OK");
    built.noCacheHeaders = curl_slist_append(nullptr, "Cache-Control: no-cache");
    built.noCacheHeaders = curl_slist_append(built.noCacheHeaders, "Pragma: no-cache");
    return built;
  }();
  return lists;
}

curl_slist* CopyList(const curl_slist* list) {
  curl_slist* copy = nullptr;
  for (; list != nullptr; list = list->next) {
    copy = curl_slist_append(copy, list->data);
  }
  return copy;
}

long WholeSecondsAtLeastOne(long ms) {
  const long seconds = (ms + 999) / 1000;
  return seconds < 1 ? 1 : seconds;
}

}  // namespace

TestSettings& Settings() {
  static TestSettings settings;
  return settings;
}

EasyHandle::EasyHandle(const std::string& url, std::string_view agent, const Limits& limits) {
  const SharedLists& shared = Shared();
  handle_ = curl_easy_init();
  if (handle_ == nullptr) {
    return;
  }
  curl_easy_setopt(handle_, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle_, CURLOPT_USERAGENT, std::string(agent).c_str());
  curl_easy_setopt(handle_, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle_, CURLOPT_PROXY, "");  // direct connections only
  curl_easy_setopt(handle_, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle_, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(handle_, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(handle_, CURLOPT_HTTP200ALIASES, shared.statusAliases);
  curl_easy_setopt(handle_, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
  // A stall is judged on the arriving bytes (the wait for the response headers included); the
  // total time only bounds a download that asks for it, never a live stream.
  curl_easy_setopt(handle_, CURLOPT_LOW_SPEED_LIMIT, limits.stallBytesPerSecond);
  curl_easy_setopt(handle_, CURLOPT_LOW_SPEED_TIME, WholeSecondsAtLeastOne(limits.stallTimeoutMs));
  if (limits.totalTimeoutMs > 0) {
    curl_easy_setopt(handle_, CURLOPT_TIMEOUT_MS, limits.totalTimeoutMs);
  }
  if (limits.maxBodyBytes > 0) {
    curl_easy_setopt(handle_, CURLOPT_MAXFILESIZE_LARGE, limits.maxBodyBytes);
  }
  headers_ = CopyList(shared.noCacheHeaders);
  curl_easy_setopt(handle_, CURLOPT_HTTPHEADER, headers_);

  TestSettings& settings = Settings();
  std::lock_guard<std::mutex> hold(settings.lock);
  for (const auto& [from, to] : settings.hostMap) {
    connectTo_ = curl_slist_append(connectTo_, (from + ":" + to).c_str());
  }
  if (connectTo_ != nullptr) {
    curl_easy_setopt(handle_, CURLOPT_CONNECT_TO, connectTo_);
  }
  if (!settings.certificateFile.empty()) {
    curl_easy_setopt(handle_, CURLOPT_CAINFO, settings.certificateFile.c_str());
  }
}

EasyHandle::~EasyHandle() {
  if (handle_ != nullptr) {
    curl_easy_cleanup(handle_);
  }
  curl_slist_free_all(headers_);
  curl_slist_free_all(connectTo_);
}

EasyHandle::EasyHandle(EasyHandle&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      connectTo_(std::exchange(other.connectTo_, nullptr)),
      headers_(std::exchange(other.headers_, nullptr)) {}

EasyHandle& EasyHandle::operator=(EasyHandle&& other) noexcept {
  std::swap(handle_, other.handle_);
  std::swap(connectTo_, other.connectTo_);
  std::swap(headers_, other.headers_);
  return *this;
}

void EasyHandle::AddRequestHeader(std::string_view line) {
  if (handle_ == nullptr) {
    return;
  }
  headers_ = curl_slist_append(headers_, std::string(line).c_str());
  curl_easy_setopt(handle_, CURLOPT_HTTPHEADER, headers_);
}

}  // namespace http

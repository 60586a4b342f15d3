#include "platform/HttpClient.h"

#include <openssl/crypto.h>

#include <string>

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

// A transfer may still run on a detached thread (a stalled logo) when the process exits: the TLS
// library must not tear down its locks under it. Set before anything can start that library.
[[maybe_unused]] const bool tlsKeptUntilExit =
    OPENSSL_init_crypto(OPENSSL_INIT_NO_ATEXIT, nullptr) == 1;

long WholeSecondsAtLeastOne(long ms) {
  const long seconds = (ms + 999) / 1000;
  return seconds < 1 ? 1 : seconds;
}

}  // namespace

TestSettings& Settings() {
  static TestSettings settings;
  return settings;
}

EasyHandle::EasyHandle(const std::string& url, std::string_view agent, const Limits& limits)
    : handle_(curl_easy_init()) {
  const SharedLists& shared = Shared();
  if (handle_ == nullptr) {
    return;
  }
  Set(CURLOPT_URL, url.c_str());
  Set(CURLOPT_USERAGENT, std::string(agent).c_str());
  Set(CURLOPT_NOSIGNAL, 1L);
  Set(CURLOPT_PROXY, "");  // direct connections only
  Set(CURLOPT_PROTOCOLS_STR, "http,https");
  Set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  Set(CURLOPT_FOLLOWLOCATION, 1L);
  Set(CURLOPT_MAXREDIRS, kMaxRedirects);
  Set(CURLOPT_HTTP200ALIASES, shared.statusAliases);
  Set(CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs);
  // A stall is judged on the arriving bytes (the wait for the response headers included); the
  // total time only bounds a download that asks for it, never a live stream.
  Set(CURLOPT_LOW_SPEED_LIMIT, limits.stallBytesPerSecond);
  Set(CURLOPT_LOW_SPEED_TIME, WholeSecondsAtLeastOne(limits.stallTimeoutMs));
  if (limits.totalTimeoutMs > 0) {
    Set(CURLOPT_TIMEOUT_MS, limits.totalTimeoutMs);
  }
  if (limits.maxBodyBytes > 0) {
    Set(CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBodyBytes));
  }
  if (limits.acceptCompressed) {
    Set(CURLOPT_ACCEPT_ENCODING, "");  // "": every encoding this libcurl was built to decode
  }
  for (const curl_slist* line = shared.noCacheHeaders; line != nullptr; line = line->next) {
    Append(headers_, line->data);
  }
  Set(CURLOPT_HTTPHEADER, headers_.get());

  TestSettings& settings = Settings();
  MutexLock hold(settings.lock);
  for (const auto& [from, to] : settings.hostMap) {
    Append(connectTo_, from + ":" + to);
  }
  if (connectTo_ != nullptr) {
    Set(CURLOPT_CONNECT_TO, connectTo_.get());
  }
  if (!settings.certificateFile.empty()) {
    Set(CURLOPT_CAINFO, settings.certificateFile.c_str());
  }
  if (refused_ != CURLE_OK) {
    // Nobody has seen the handle yet: without every common option it is no handle at all.
    handle_.reset();
  }
}

bool EasyHandle::AddRequestHeader(std::string_view line) {
  if (handle_ == nullptr) {
    return false;
  }
  Append(headers_, std::string(line));
  return Set(CURLOPT_HTTPHEADER, headers_.get());
}

void EasyHandle::Append(CurlListPtr& list, const std::string& line) {
  if (!AppendLine(list, line.c_str()) && refused_ == CURLE_OK) {
    refused_ = CURLE_OUT_OF_MEMORY;
  }
}

CURLcode EasyHandle::Perform() {
  if (handle_ == nullptr) {
    return CURLE_FAILED_INIT;
  }
  return refused_ != CURLE_OK ? refused_ : curl_easy_perform(handle_.get());
}

}  // namespace http

#include "tests/support/Fetch.h"

#include "platform/CurlPtr.h"

namespace fixture {
namespace {

std::size_t Append(char* data, std::size_t size, std::size_t count, void* target) {
  static_cast<std::string*>(target)->append(data, size * count);
  return size * count;
}

}  // namespace

Fetched Fetch(const FetchRequest& request) {
  [[maybe_unused]] static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
  Fetched fetched;
  const CurlEasyPtr curl(curl_easy_init());
  if (curl == nullptr) {
    fetched.result = CURLE_FAILED_INIT;
    return fetched;
  }
  // The first option refused is the request's result.
  const auto set = [&](CURLoption option, auto value) {
    if (fetched.result == CURLE_OK) {
      fetched.result = curl_easy_setopt(curl.get(), option, value);
    }
  };
  set(CURLOPT_URL, request.url.c_str());
  set(CURLOPT_PROXY, "");
  set(CURLOPT_NOSIGNAL, 1L);
  set(CURLOPT_TIMEOUT_MS, request.timeoutMs);
  set(CURLOPT_WRITEFUNCTION, Append);
  set(CURLOPT_WRITEDATA, &fetched.body);
  if (!request.trustedCertificate.empty()) {
    set(CURLOPT_CAINFO, request.trustedCertificate.c_str());
  }
  if (!request.user.empty()) {
    set(CURLOPT_USERNAME, request.user.c_str());
    set(CURLOPT_PASSWORD, request.password.c_str());
  }
  if (request.postBody != nullptr) {
    set(CURLOPT_POSTFIELDS, request.postBody->c_str());
    set(CURLOPT_POSTFIELDSIZE, static_cast<long>(request.postBody->size()));
  }
  if (fetched.result == CURLE_OK) {
    fetched.result = curl_easy_perform(curl.get());
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &fetched.status);
  }
  return fetched;
}

}  // namespace fixture

#include <curl/curl.h>
#include <strings.h>

#include <memory>
#include <string>

#include "platform/HttpClient.h"

namespace http {
namespace {

struct UrlDeleter {
  void operator()(CURLU* url) const noexcept { curl_url_cleanup(url); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         strncasecmp(text.data(), prefix.data(), prefix.size()) == 0;
}

}  // namespace

bool IsHttpAddress(std::string_view address) {
  return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://");
}

std::string ResolveUrl(const std::string& base, const std::string& reference) {
  UrlHandle url(curl_url());
  if (!url || reference.find('\0') != std::string::npos) {
    return {};
  }
  if (curl_url_set(url.get(), CURLUPART_URL, base.c_str(), 0) != CURLUE_OK ||
      curl_url_set(url.get(), CURLUPART_URL, reference.c_str(), CURLU_URLENCODE) != CURLUE_OK) {
    return {};
  }
  char* text = nullptr;
  if (curl_url_get(url.get(), CURLUPART_URL, &text, 0) != CURLUE_OK) {
    return {};
  }
  std::string result(text);
  curl_free(text);
  return IsHttpAddress(result) ? result : std::string();
}

}  // namespace http

// Owners of libcurl's easy and multi handles and string lists.
#pragma once

#include <curl/curl.h>

#include <memory>

struct CurlRelease {
  void operator()(CURL* handle) const noexcept { curl_easy_cleanup(handle); }
  void operator()(curl_slist* list) const noexcept { curl_slist_free_all(list); }
};

// CURLM is the same type as CURL to the compiler: a deleter of its own.
struct CurlMultiRelease {
  void operator()(CURLM* handle) const noexcept { curl_multi_cleanup(handle); }
};

using CurlEasyPtr = std::unique_ptr<CURL, CurlRelease>;
using CurlListPtr = std::unique_ptr<curl_slist, CurlRelease>;
using CurlMultiPtr = std::unique_ptr<CURLM, CurlMultiRelease>;

// Appends a copy of `line` to `list`. False when there is no memory; the list is as it was.
inline bool AppendLine(CurlListPtr& list, const char* line) {
  curl_slist* longer = curl_slist_append(list.get(), line);
  if (longer == nullptr) {
    return false;
  }
  list.release();  // the same list, one line longer
  list.reset(longer);
  return true;
}

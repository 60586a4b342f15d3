// Owners of libcurl's easy handles and string lists.
#pragma once

#include <curl/curl.h>

#include <memory>

struct CurlRelease {
  void operator()(CURL* handle) const noexcept { curl_easy_cleanup(handle); }
  void operator()(curl_slist* list) const noexcept { curl_slist_free_all(list); }
};

using CurlEasyPtr = std::unique_ptr<CURL, CurlRelease>;
using CurlListPtr = std::unique_ptr<curl_slist, CurlRelease>;

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

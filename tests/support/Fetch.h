// One HTTP request of a test straight to a loopback server (no proxy, none of the program's
// settings): the fixture server's control paths, Icecast's status and admin pages.
#pragma once

#include <curl/curl.h>

#include <string>

namespace fixture {

struct FetchRequest {
  std::string url{};
  const std::string* postBody = nullptr;  // a POST of these bytes when set
  std::string trustedCertificate{};       // PEM file trusted for HTTPS, when set
  std::string user{};                     // basic authentication, when set
  std::string password{};
  long timeoutMs = 15000;  // for the whole request
};

struct Fetched {
  CURLcode result = CURLE_OK;  // an option libcurl refused, or the transfer's result
  long status = 0;
  std::string body;

  bool Ok() const { return result == CURLE_OK && status == 200; }
};

// Blocks until the reply is in or the time-out passes. Any thread.
Fetched Fetch(const FetchRequest& request);

}  // namespace fixture

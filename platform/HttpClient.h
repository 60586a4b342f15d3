// The one place that configures libcurl for the whole program: downloads and audio streams.
// Implementation: platform/HttpClient.cpp. Nothing outside platform/ sets the options set here;
// callers add only their own callbacks (through Set) and request headers.
#pragma once

#include <curl/curl.h>

#include <string>
#include <string_view>

#include "platform/CurlPtr.h"

namespace http {

struct Limits {
  long connectTimeoutMs = 10000;  // connect and TLS; the wait for the response headers is a stall
  // Fails when fewer than stallBytesPerSecond arrive for this long. libcurl averages the speed
  // over the last few seconds, so a stall after a burst of data is noticed up to about five
  // seconds later than that.
  long stallTimeoutMs = 15000;
  long stallBytesPerSecond = 1;
  // A reply that announces a longer body fails before any of it arrives (0: no cap, as for a
  // stream). A body without a length is the caller's to count.
  curl_off_t maxBodyBytes = 0;
  // The whole transfer ends after this long (0: never, as a live stream needs). For requests
  // that must end within a deadline of their caller.
  long totalTimeoutMs = 0;
};

// A move-only owner of one configured easy handle.
class EasyHandle {
 public:
  // A handle for `url` with every common option applied: the agent name, redirects followed,
  // HTTP and HTTPS only, no cache, the time-outs in `limits` (a total time-out only when asked:
  // a live stream has no end), the "ICY 200 OK" status-line alias, and the host map. Callable on
  // any thread. get() is null when libcurl could not make a handle or refused one of these.
  EasyHandle(const std::string& url, std::string_view agent, const Limits& limits = {});

  CURL* get() const noexcept { return handle_.get(); }

  // Sets one option of the caller's own (a callback, its data). False when libcurl refuses it
  // or refused an earlier one: the request has failed then, and Perform reports that failure
  // rather than running a request without the option. Call before the transfer starts.
  template <typename Value>
  bool Set(CURLoption option, Value value) {
    if (handle_ != nullptr && refused_ == CURLE_OK) {
      refused_ = curl_easy_setopt(handle_.get(), option, value);
    }
    return handle_ != nullptr && refused_ == CURLE_OK;
  }

  // Sends one more request header ("Name: value") besides the no-cache ones. Use this rather
  // than CURLOPT_HTTPHEADER, which would replace them. Call before the transfer starts. False as
  // Set is.
  bool AddRequestHeader(std::string_view line);

  // Runs the whole transfer on the calling thread. CURLE_FAILED_INIT without a handle, and the
  // refusal when an option was refused; otherwise curl_easy_perform's result.
  CURLcode Perform();

 private:
  // Appends to one of the handle's lists; a line that does not fit fails the request.
  void Append(CurlListPtr& list, const std::string& line);

  CurlEasyPtr handle_;
  CurlListPtr connectTo_;
  CurlListPtr headers_;          // must outlive the transfer
  CURLcode refused_ = CURLE_OK;  // the first option or list line that could not be set
};

// The test interface (the target platform_test_interface, which only tests, benchmarks and the
// demo link; the program has no definition of these). Every later connection to host:port goes
// to toHost:toPort instead (the request keeps its Host header and address).
void MapHost(std::string_view host, int port, std::string_view toHost, int toPort);
void ClearHostMap();
// Test and demo API: later handles trust the certificates in this PEM file instead of the
// system's (a self-signed loopback server). An empty name restores the system's.
void TrustCertificateFile(std::string_view pemFile);

}  // namespace http

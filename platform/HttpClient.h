// The one place that configures libcurl for the whole program: downloads and audio streams.
// Implementation: platform/HttpClient.cpp (the handle) and platform/HttpFetch.cpp (fetches into
// memory and into files, which every download of the program uses). Nothing outside platform/
// sets the options set here; the audio engine's stream connection adds only its own callbacks
// (through Set) and request headers.
#pragma once

#include <curl/curl.h>

#include <chrono>
#include <cstdint>
#include <optional>
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
  std::int64_t maxBodyBytes = 0;
  // The whole transfer ends after this long (0: never, as a live stream needs). For requests
  // that must end within a deadline of their caller.
  long totalTimeoutMs = 0;
  // Asks for a compressed reply in every encoding libcurl decodes; the body is handed on
  // decoded, so the cap counts decoded bytes. Off for streams, whose audio does not compress.
  bool acceptCompressed = false;
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

using Clock = std::chrono::steady_clock;

// `limits` cut so that a transfer ends by `deadline` and waits at most `patience` to connect or
// between bytes. Nothing once the deadline has passed.
std::optional<Limits> Within(Limits limits, Clock::time_point deadline,
                             std::chrono::milliseconds patience = std::chrono::milliseconds::max());

// A reply read into memory.
struct Reply {
  bool arrived = false;  // the whole body came within its cap, whatever the status
  long status = 0;       // the status of the last response (after redirects); 0 without one
  std::string body;

  bool Ok() const { return arrived && status >= 200 && status <= 299; }
};

// The cap of a body fetched into memory or into a file when the limits set none.
inline constexpr std::int64_t kMaxFetchBytes = std::int64_t{8} << 20;

// Fetches `url` into memory with every common option and `limits`; a body longer than
// limits.maxBodyBytes (kMaxFetchBytes when 0) has not arrived. Blocks until the transfer ends;
// any thread.
Reply Fetch(const std::string& url, std::string_view agent, const Limits& limits);

// Fetches `url` into the file `path`. The body goes to a temporary file beside it, which takes
// its place only when the whole body arrived within its cap with a 2xx status; otherwise `path`
// is as it was and no other file is left. True then. `answered`, when given, tells whether a
// response came back at all, whatever its status and body (false: no connection, no response
// within the limits). Blocks until the transfer ends; any thread.
bool FetchToFile(const std::string& url, const std::string& path, std::string_view agent,
                 const Limits& limits, bool* answered = nullptr);

// True when `address` starts with http:// or https:// (any case).
bool IsHttpAddress(std::string_view address);

// `reference` resolved against `base` (RFC 3986); empty when the result is not an http or https
// address. Implementation: platform/HttpAddress.cpp.
std::string ResolveUrl(const std::string& base, const std::string& reference);

// The test interface (the target platform_test_interface, which only tests, benchmarks and the
// demo link; the program has no definition of these). Every later connection to host:port goes
// to toHost:toPort instead (the request keeps its Host header and address).
void MapHost(std::string_view host, int port, std::string_view toHost, int toPort);
void ClearHostMap();
// Test and demo API: later handles trust the certificates in this PEM file instead of the
// system's (a self-signed loopback server). An empty name restores the system's.
void TrustCertificateFile(std::string_view pemFile);

}  // namespace http
